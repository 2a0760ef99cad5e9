// Pseudo-terminal or tty for the simulated power board.
#include "serial_end.h"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace vesk {

namespace {

bool makeRaw(int fd) {
    termios t{};
    if (tcgetattr(fd, &t) != 0) return false;
    cfmakeraw(&t);
    cfsetispeed(&t, B57600);
    cfsetospeed(&t, B57600);
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
    return tcsetattr(fd, TCSANOW, &t) == 0;
}

}  // namespace

SerialEnd::~SerialEnd() {
    if (fd_ >= 0) ::close(fd_);
    if (slave_ >= 0) ::close(slave_);
}

bool SerialEnd::openPty(std::string& error) {
    fd_ = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd_ < 0 || grantpt(fd_) != 0 || unlockpt(fd_) != 0) {
        error = std::string("cannot make a pseudo-terminal: ") + std::strerror(errno);
        return false;
    }
    const char* name = ptsname(fd_);
    if (!name) {
        error = "no name for the pseudo-terminal";
        return false;
    }
    path_ = name;
    // Holding the slave open keeps the master free of hang-ups whenever the
    // panel closes and reopens the line; raw mode stops echoes of commands.
    slave_ = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (slave_ < 0 || !makeRaw(slave_) || !makeRaw(fd_)) {
        error = std::string("cannot set up ") + name + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

bool SerialEnd::openDevice(const std::string& path, std::string& error) {
    fd_ = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd_ < 0 || !makeRaw(fd_)) {
        error = "cannot open " + path + ": " + std::strerror(errno);
        return false;
    }
    path_ = path;
    return true;
}

void SerialEnd::dropStale(size_t keepBytes) {
    if (slave_ < 0) return;
    int queued = 0;
    if (ioctl(slave_, TIOCINQ, &queued) == 0 && static_cast<size_t>(queued) > keepBytes)
        tcflush(slave_, TCIFLUSH);
}

void SerialEnd::releaseExclusive() {
    if (slave_ >= 0) ioctl(slave_, TIOCNXCL);
}

}  // namespace vesk
