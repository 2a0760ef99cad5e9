// The control thread's messages to systemd, received on a notification
// socket of the test's own that plays systemd's part.
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "core/control_thread.h"
#include "core/controller_state.h"
#include "platform/manual_clock.h"
#include "platform/service_notifier.h"
#include "platform/timer_service.h"
#include "support/test_support.h"

namespace vesk {
namespace {

class NoTimers : public TimerService {
public:
    int startPeriodic(int64_t, Callback) override { return 1; }
    int startOneShot(int64_t, Callback) override { return 0; }
    void cancel(int) override {}
};

// A datagram socket at NOTIFY_SOCKET, as systemd has for a Type=notify unit.
class FakeSystemd {
public:
    FakeSystemd() {
        fd_ = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        sockaddr_un a{};
        a.sun_family = AF_UNIX;
        std::snprintf(a.sun_path, sizeof a.sun_path, "%s", dir_.file("notify").c_str());
        bound_ = ::bind(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
        ::setenv("NOTIFY_SOCKET", a.sun_path, 1);
    }
    ~FakeSystemd() {
        ::unsetenv("NOTIFY_SOCKET");
        ::close(fd_);
    }
    bool bound() const { return bound_; }
    // Every message that arrives within `ms` of quiet.
    std::vector<std::string> drain(int ms) {
        std::vector<std::string> out;
        pollfd p{fd_, POLLIN, 0};
        while (::poll(&p, 1, ms) == 1) {
            char buf[256];
            const ssize_t n = ::recv(fd_, buf, sizeof buf, 0);
            if (n > 0) out.emplace_back(buf, static_cast<size_t>(n));
        }
        return out;
    }

private:
    test::TempDir dir_;
    int fd_ = -1;
    bool bound_ = false;
};

TEST(ServiceNotify, ReadyThenOnePingPerRoundAndNoneWhileARoundHangs) {
    FakeSystemd systemd;
    ASSERT_TRUE(systemd.bound());
    ControllerState s(Variant::Orvena);
    s.linkOk = 1;
    ManualClock clock;
    NoTimers timers;
    std::atomic<int> cycles{0};
    ControlThread thread(s, clock, timers, nullptr, [&] { ++cycles; });
    auto notifier = makeSystemdNotifier();
    thread.setNotifier(notifier.get());
    ASSERT_TRUE(thread.start());

    // Panel time only moves when the test moves it; a round is one second.
    auto runRounds = [&](int n) {
        const int until = cycles + n;
        for (int i = 0; i < 20000 && cycles < until; ++i) {
            clock.advance(100);
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
    };
    runRounds(3);
    std::vector<std::string> got = systemd.drain(300);
    ASSERT_FALSE(got.empty());
    EXPECT_EQ(got.front(), "READY=1") << "ready once the control loop runs";
    got.erase(got.begin());
    EXPECT_EQ(static_cast<int>(got.size()), cycles.load()) << "one ping per completed round";
    for (const std::string& m : got) EXPECT_EQ(m, "WATCHDOG=1");

    // Another thread keeps stateLock: the round cannot finish, and systemd
    // hears nothing however much time passes.
    {
        std::unique_lock<std::recursive_mutex> hold(s.stateLock);
        for (int i = 0; i < 100; ++i) {
            clock.advance(100);
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        EXPECT_TRUE(systemd.drain(300).empty());
    }
    runRounds(2);
    got = systemd.drain(300);
    EXPECT_FALSE(got.empty()) << "pings again once the round ends";
    for (const std::string& m : got) EXPECT_EQ(m, "WATCHDOG=1");

    std::atomic<bool> stopped{false};
    std::thread stopper([&] {
        thread.stop();
        stopped = true;
    });
    while (!stopped) {
        clock.advance(100);
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    stopper.join();
}

TEST(ServiceNotify, WithoutNotifySocketNothingHappens) {
    ::unsetenv("NOTIFY_SOCKET");
    auto n = makeSystemdNotifier();
    n->ready();
    n->alive();
    SUCCEED();
}

}  // namespace
}  // namespace vesk
