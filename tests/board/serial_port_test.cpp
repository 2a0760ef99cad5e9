#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <future>
#include <numeric>

#include "board_peer.h"
#include "platform/manual_clock.h"
#include "platform/real_clock.h"
#include "platform/serial_port.h"
#include "support/test_support.h"

namespace vesk {
namespace {

using test::kPatienceMs;

// Reads on another thread, so that a wrong wait fails instead of hanging.
std::future<int> readAsync(SerialPort& port, uint8_t* buf, size_t n, int64_t timeoutMs) {
    return std::async(std::launch::async, [&port, buf, n, timeoutMs] { return port.read(buf, n, timeoutMs); });
}
bool finished(std::future<int>& f, int ms = kPatienceMs) {
    return f.wait_for(std::chrono::milliseconds(ms)) == std::future_status::ready;
}

struct SerialPortTest : ::testing::Test {
    test::Pty pty;
    ManualClock clock;
    TermiosSerialPort port{clock};
};

TEST_F(SerialPortTest, OpensRaw8N1WithoutFlowControlExclusively) {
    for (int baud : {9600, 57600}) {
        ASSERT_TRUE(port.open(pty.slavePath, baud));
        termios t{};
        ASSERT_EQ(tcgetattr(port.fd(), &t), 0);
        EXPECT_EQ(cfgetospeed(&t), baud == 57600 ? B57600 : B9600);
        EXPECT_EQ(cfgetispeed(&t), cfgetospeed(&t));
        EXPECT_EQ(t.c_cflag & (CSIZE | PARENB | CSTOPB | CRTSCTS), static_cast<tcflag_t>(CS8));
        EXPECT_EQ(t.c_iflag & (INPCK | IXON | IXOFF | ICRNL | ISTRIP), 0u);
        EXPECT_EQ(t.c_lflag & (ICANON | ECHO | ISIG), 0u);
        EXPECT_EQ(t.c_oflag & OPOST, 0u);
        int exclusive = 0;
        ASSERT_EQ(ioctl(port.fd(), TIOCGEXCL, &exclusive), 0);
        EXPECT_EQ(exclusive, 1);
        EXPECT_NE(fcntl(port.fd(), F_GETFD) & FD_CLOEXEC, 0);
        if (geteuid() != 0) {  // the superuser passes exclusivity
            TermiosSerialPort second(clock);
            EXPECT_FALSE(second.open(pty.slavePath, baud));
        }
    }
    test::TempDir dir;
    test::writeText(dir.file("plain"), "x");
    EXPECT_FALSE(port.open("/nonexistent/ttyS0", 57600));
    EXPECT_FALSE(port.open(dir.file("plain"), 57600));
    EXPECT_FALSE(port.open(pty.slavePath, 12345));
    uint8_t b = 0;
    EXPECT_EQ(port.read(&b, 1, 0), -1);
    EXPECT_FALSE(port.write(&b, 1));
}

TEST_F(SerialPortTest, ReadReturnsWhatHasArrivedUpToTheAskedCount) {
    ASSERT_TRUE(port.open(pty.slavePath, 57600));
    const std::vector<uint8_t> sent{0xC0, 0x11, 0x00, 0xDB, 0x7F};
    test::BoardPeer(pty.master).sendRaw(sent);
    std::vector<uint8_t> got;
    while (got.size() < sent.size()) {
        uint8_t buf[3];
        auto f = readAsync(port, buf, sizeof buf, 1000);
        ASSERT_TRUE(finished(f));
        const int r = f.get();
        ASSERT_GE(r, 1);
        ASSERT_LE(r, 3);
        got.insert(got.end(), buf, buf + r);
    }
    EXPECT_EQ(got, sent);
}

TEST_F(SerialPortTest, ReadTimesOutInPanelTime) {
    ASSERT_TRUE(port.open(pty.slavePath, 57600));
    uint8_t b;
    auto f = readAsync(port, &b, 1, 1000);
    int64_t advanced = 0;
    while (!finished(f, 20) && advanced < 10000) {
        clock.advance(100);
        advanced += 100;
    }
    ASSERT_TRUE(finished(f));
    EXPECT_EQ(f.get(), 0);
    EXPECT_GE(advanced, 1000);

    // A scaled real clock: a panel second is 10 real milliseconds.
    RealClock fast(100.0, nullptr);
    TermiosSerialPort scaled(fast);
    test::Pty other;
    ASSERT_TRUE(scaled.open(other.slavePath, 57600));
    auto g = readAsync(scaled, &b, 1, 1000);
    ASSERT_TRUE(finished(g));
    EXPECT_EQ(g.get(), 0);
}

TEST_F(SerialPortTest, CancelAndHangUpEndAWaitingRead) {
    ASSERT_TRUE(port.open(pty.slavePath, 57600));
    uint8_t b;
    auto f = readAsync(port, &b, 1, 15000);
    port.cancel();
    ASSERT_TRUE(finished(f));
    EXPECT_EQ(f.get(), -1);

    ASSERT_TRUE(port.open(pty.slavePath, 57600));
    ::close(pty.master);
    pty.master = -1;
    auto g = readAsync(port, &b, 1, 15000);  // panel time stands still
    if (!finished(g)) port.cancel();
    EXPECT_EQ(g.get(), -1);
    EXPECT_FALSE(port.write(&b, 1));
}

TEST_F(SerialPortTest, WriteSendsEverythingInOneCall) {
    ASSERT_TRUE(port.open(pty.slavePath, 57600));
    // More than a pseudo-terminal buffers: the write has to wait for room.
    std::vector<uint8_t> data(40000);
    std::iota(data.begin(), data.end(), 0);
    std::vector<uint8_t> got;
    std::thread reader([&] {
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(kPatienceMs);
        while (got.size() < data.size() && std::chrono::steady_clock::now() < until) {
            pollfd p{pty.master, POLLIN, 0};
            if (::poll(&p, 1, 50) <= 0) continue;
            uint8_t buf[4096];
            const ssize_t r = ::read(pty.master, buf, sizeof buf);
            if (r > 0) got.insert(got.end(), buf, buf + r);
        }
    });
    EXPECT_TRUE(port.write(data.data(), data.size()));
    reader.join();
    EXPECT_EQ(got, data);
}

}  // namespace
}  // namespace vesk
