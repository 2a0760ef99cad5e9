#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "serial/framing.h"
#include "support/test_support.h"

namespace vesk {
namespace {

using Clock = std::chrono::steady_clock;
// Generous: the machine may be busy with other builds.
constexpr auto kPatience = std::chrono::seconds(30);

int msLeft(Clock::time_point deadline) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

// Reads one line from `fd`, keeping what follows in `pending`.
std::optional<std::string> readLine(int fd, std::string& pending, Clock::time_point deadline) {
    for (;;) {
        size_t nl = pending.find('\n');
        if (nl != std::string::npos) {
            std::string line = pending.substr(0, nl);
            pending.erase(0, nl + 1);
            return line;
        }
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, msLeft(deadline)) <= 0) return std::nullopt;
        char buf[512];
        ssize_t n = ::read(fd, buf, sizeof buf);
        if (n <= 0) return std::nullopt;
        pending.append(buf, static_cast<size_t>(n));
    }
}

std::optional<std::vector<uint8_t>> readFrame(int fd, FrameDecoder& d, Clock::time_point deadline) {
    for (;;) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, msLeft(deadline)) <= 0) return std::nullopt;
        uint8_t b;
        if (::read(fd, &b, 1) != 1) return std::nullopt;
        if (auto f = d.feed(b)) return f;
    }
}

struct SimProcess {
    pid_t pid = -1;
    int out = -1;

    ~SimProcess() {
        if (pid > 0) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, nullptr, 0);
        }
        if (out >= 0) ::close(out);
    }

    void start(const std::vector<std::string>& args) {
        ASSERT_EQ(::access((test::binDir() + "boiler-sim").c_str(), X_OK), 0) << "no boiler-sim in " << test::binDir();
        int fds[2];
        ASSERT_EQ(::pipe(fds), 0);
        pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            ::dup2(fds[1], STDOUT_FILENO);
            int devnull = ::open("/dev/null", O_RDONLY);
            ::dup2(devnull, STDIN_FILENO);  // stdin ends at once: must not stop the simulator
            ::close(fds[0]);
            ::setenv("VESK_TIME_SCALE", "10", 1);
            std::string prog = test::binDir() + "boiler-sim";
            std::vector<char*> argv{prog.data()};
            std::vector<std::string> copy = args;
            for (auto& a : copy) argv.push_back(a.data());
            argv.push_back(nullptr);
            ::execv(prog.c_str(), argv.data());
            ::_exit(127);
        }
        ::close(fds[1]);
        out = fds[0];
    }

    // Exit status after SIGTERM, or -1 when it does not end in time.
    int terminate() {
        ::kill(pid, SIGTERM);
        auto deadline = Clock::now() + kPatience;
        int status = 0;
        while (Clock::now() < deadline) {
            pid_t r = ::waitpid(pid, &status, WNOHANG);
            if (r == pid) {
                pid = -1;
                return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            }
            pollfd none{-1, 0, 0};
            ::poll(&none, 0, 10);
        }
        return -1;
    }
};

int connectUnix(const std::string& path) {
    int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::strncpy(addr.sun_path, path.c_str(), sizeof addr.sun_path - 1);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

std::vector<uint8_t> fanCommand(uint8_t fan) {
    std::vector<uint8_t> p(22, 0);
    p[0] = 10;     // auger run
    p[13] = 0x01;  // heating pump
    p[15] = fan;
    p[16] = 100;
    return p;
}

TEST(BoilerSimProgram, SpeaksTheBoardProtocolOnItsPtyAndTakesControlCommands) {
    test::TempDir dir;
    std::string sock = dir.file("control.sock");
    SimProcess sim;
    sim.start({"--firmware", "0x2214", "--control", sock, "--print-every", "0"});
    auto deadline = Clock::now() + kPatience;

    std::string pending;
    auto first = readLine(sim.out, pending, deadline);
    ASSERT_TRUE(first);
    ASSERT_EQ(first->rfind("VESK_COM1=", 0), 0u) << *first;
    std::string ptyPath = first->substr(10);

    int tty = ::open(ptyPath.c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(tty, 0) << ptyPath;
    termios t{};
    ::tcgetattr(tty, &t);
    ::cfmakeraw(&t);
    ::tcsetattr(tty, TCSANOW, &t);

    auto wire = encodeFrame(fanCommand(40));
    ASSERT_EQ(::write(tty, wire.data(), wire.size()), static_cast<ssize_t>(wire.size()));
    FrameDecoder decoder;
    auto frame = readFrame(tty, decoder, deadline);
    ASSERT_TRUE(frame);
    ASSERT_EQ(frame->size(), 65u);
    EXPECT_EQ((*frame)[0], 0x14);
    EXPECT_EQ((*frame)[1], 0x22);

    int ctl = connectUnix(sock);
    ASSERT_GE(ctl, 0);
    std::string ctlPending;
    auto ask = [&](const std::string& cmd) {
        std::string line = cmd + "\n";
        EXPECT_EQ(::write(ctl, line.data(), line.size()), static_cast<ssize_t>(line.size()));
        return readLine(ctl, ctlPending, deadline).value_or("(no reply)");
    };
    // The command is read asynchronously: ask until the plant shows it,
    // repeating it as a panel would.
    std::string state;
    do {
        ASSERT_EQ(::write(tty, wire.data(), wire.size()), static_cast<ssize_t>(wire.size()));
        state = ask("state");
        ASSERT_EQ(state.rfind("ok ", 0), 0u) << state;
    } while (state.find("fan=40") == std::string::npos && msLeft(deadline) > 0);
    EXPECT_NE(state.find("fan=40"), std::string::npos) << state;
    EXPECT_NE(state.find("pumps=ch"), std::string::npos) << state;
    EXPECT_NE(ask("cmd").find("hex=0a 00"), std::string::npos);
    EXPECT_EQ(ask("firmware"), "ok 0x2214 2.2.1.4 orvena");

    EXPECT_EQ(ask("sensor water open"), "ok water open");
    bool sawOpen = false;
    while (!sawOpen) {
        auto f = readFrame(tty, decoder, deadline);
        ASSERT_TRUE(f) << "no frame with the water sensor open";
        sawOpen = f->size() == 65 && (*f)[18] == 0x01 && (*f)[19] == 0x40;
    }
    EXPECT_EQ(ask("nonsense").rfind("error", 0), 0u);

    ::close(ctl);
    ::close(tty);
    EXPECT_EQ(sim.terminate(), 0);
    EXPECT_NE(::access(sock.c_str(), F_OK), 0) << "control socket left behind";
}

TEST(BoilerSimProgram, RejectsAnUnknownFirmware) {
    SimProcess sim;
    sim.start({"--firmware", "0x2300"});
    int status = 0;
    ASSERT_EQ(::waitpid(sim.pid, &status, 0), sim.pid);
    sim.pid = -1;
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 2);
}

}  // namespace
}  // namespace vesk
