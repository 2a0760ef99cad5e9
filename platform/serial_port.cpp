// Serial line over termios: raw 8N1 without flow control, reads that wait in
// panel time so that scaled and manual clocks both apply.
#include "platform/serial_port.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "platform/clock.h"

namespace vesk {

namespace {

speed_t speedFor(int baud) {
    switch (baud) {
    case 1200: return B1200;
    case 2400: return B2400;
    case 4800: return B4800;
    case 9600: return B9600;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    case 115200: return B115200;
    default: return B0;
    }
}

// Longest real wait between looks at the clock (a cancel ends a wait at once).
constexpr int kMaxSliceMs = 1000;
// A line that takes no byte for this long is broken: nothing here uses flow
// control, so only a peer that stopped reading a pseudo-terminal stalls.
constexpr int kWriteStallMs = 2000;

}  // namespace

TermiosSerialPort::TermiosSerialPort(const Clock& clock)
    : clock_(clock), wake_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

TermiosSerialPort::~TermiosSerialPort() {
    close();
    if (wake_ >= 0) ::close(wake_);
}

void TermiosSerialPort::cancel() {
    cancelled_ = true;
    const uint64_t one = 1;
    if (wake_ >= 0) (void)!::write(wake_, &one, sizeof one);
}

bool TermiosSerialPort::open(const std::string& path, int baud) {
    close();
    cancelled_ = false;
    uint64_t drained;
    if (wake_ >= 0) (void)!::read(wake_, &drained, sizeof drained);
    const speed_t speed = speedFor(baud);
    if (speed == B0) return false;
    // Non-blocking so that neither open nor a stalled write can hang on the line.
    int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return false;
    termios t{};
    if (!isatty(fd) || ioctl(fd, TIOCEXCL) != 0 || tcgetattr(fd, &t) != 0) {
        ::close(fd);
        return false;
    }
    cfmakeraw(&t);
    t.c_cflag &= ~(CSIZE | CSTOPB | PARENB | CRTSCTS);
    t.c_cflag |= CS8 | CLOCAL | CREAD;
    t.c_iflag &= ~(INPCK | IXON | IXOFF | IXANY);
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
    if (cfsetispeed(&t, speed) != 0 || cfsetospeed(&t, speed) != 0 || tcsetattr(fd, TCSANOW, &t) != 0) {
        ::close(fd);
        return false;
    }
    tcflush(fd, TCIOFLUSH);
    fd_ = fd;
    return true;
}

void TermiosSerialPort::close() {
    if (fd_ < 0) return;
    // Exclusivity lasts only while this port holds the line, even when
    // another holder keeps the device itself open.
    ioctl(fd_, TIOCNXCL);
    ::close(fd_);
    fd_ = -1;
}

int TermiosSerialPort::read(uint8_t* buf, size_t n, int64_t timeoutMs) {
    if (fd_ < 0 || n == 0) return -1;
    const int64_t deadline = clock_.nowMs() + std::max<int64_t>(0, timeoutMs);
    bool hungUp = false;
    for (;;) {
        if (cancelled_) return -1;
        // With VMIN and VTIME 0 an empty line reads 0 bytes; a pty whose
        // master is gone fails with EIO.
        ssize_t r = ::read(fd_, buf, n);
        if (r > 0) return static_cast<int>(r);
        if (r < 0 && errno == EINTR) continue;
        if (r < 0 && errno != EAGAIN && errno != EWOULDBLOCK) return -1;
        // A hang-up with nothing to read is an error; the caller decides how
        // long to wait before it reads again.
        if (hungUp) return -1;

        const int64_t left = deadline - clock_.nowMs();
        if (left <= 0) return 0;
        const int slice = static_cast<int>(std::clamp<int64_t>(clock_.realMsFor(left), 1, kMaxSliceMs));
        pollfd waits[2] = {{fd_, POLLIN, 0}, {wake_, POLLIN, 0}};
        int pr = ::poll(waits, wake_ >= 0 ? 2 : 1, slice);
        const pollfd& p = waits[0];
        if (pr < 0) {
            if (errno == EINTR) continue;
            return -1;
        }
        if (pr > 0 && (p.revents & POLLNVAL)) return -1;
        hungUp = pr > 0 && (p.revents & (POLLHUP | POLLERR));
    }
}

bool TermiosSerialPort::write(const uint8_t* buf, size_t n) {
    if (fd_ < 0) return false;
    size_t done = 0;
    while (done < n) {
        ssize_t w = ::write(fd_, buf + done, n - done);
        if (w > 0) {
            done += static_cast<size_t>(w);
            continue;
        }
        if (w < 0 && errno == EINTR) continue;
        if (w < 0 && errno != EAGAIN && errno != EWOULDBLOCK) return false;
        pollfd p{fd_, POLLOUT, 0};
        int pr = ::poll(&p, 1, kWriteStallMs);
        if (pr < 0 && errno == EINTR) continue;
        if (pr <= 0 || !(p.revents & POLLOUT)) return false;
    }
    return true;
}

}  // namespace vesk
