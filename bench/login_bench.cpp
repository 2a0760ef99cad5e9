// Hardening benchmarks over loopback against the network thread and the real
// protocol session:
// - password guesses per panel second that 1 and 64 connections reach, with
//   the damping and without (the panel before it), and the days a sweep of
//   the million six-digit passwords would take at that rate;
// - GetStatus round trip of a logged-in client while 64 connections guess;
// - user.cfg writes per second while one client floods SetWaterSetpoint,
//   gathered and written one by one.
// Panel time runs faster than real time where the damping's minute-long
// waits would make a run too long; rates are given in panel time.
#include <benchmark/benchmark.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "bench/loopback.h"
#include "core/controller_state.h"
#include "net/login_guard.h"
#include "net/message.h"
#include "net/network.h"
#include "net/protocol_session.h"
#include "platform/network_adapter.h"
#include "platform/real_clock.h"
#include "platform/real_timer_service.h"
#include "settings/coalesced_saves.h"
#include "settings/param_table.h"
#include "settings/schedule.h"
#include "settings/settings_file.h"

namespace vesk {
namespace {

using Steady = std::chrono::steady_clock;
constexpr uint32_t kSerial = 777;
constexpr uint32_t kPassword = 123456;

struct Options {
    bool damped = true;
    bool coalesced = true;
    double timeScale = 1;
};

struct Panel {
    explicit Panel(Options o) : clock(o.timeScale, nullptr) {
        char tmpl[] = "/tmp/vesk-login-bench-XXXXXX";
        dir = std::string(::mkdtemp(tmpl)) + "/";
        serviceDefaults(s.settings, Variant::Orvena, true);
        userDefaults(s.settings, Variant::Orvena, false, 1);
        s.svc.SERIAL = kSerial;
        s.usr.LAN_PWD = kPassword;
        s.usr.LAN_EN_LOC = 1;
        saves = std::make_unique<CoalescedSaves>(
            clock, timers,
            [this] {
                return saveUserSettingsSnapshot(dir + "user.cfg", s.settings, s.variant, s.stateLock,
                                                s.settingsFileLock);
            },
            [this] { return saveSchedule(dir + "tmstat.cfg", schedule); });
        DispatcherServices d{s, schedule, clock, dir};
        d.commandBurner = [](int) { return 1; };
        if (o.damped) d.loginGuard = &guard;
        if (o.coalesced) d.saves = saves.get();
        session = std::make_unique<ProtocolSession>(d);
        Socket probe = openTcpListener(0);
        NetworkConfig c;
        c.portLocal = c.portDiscovery = port = boundPort(probe);
        probe.close();
        c.remoteHost = "127.0.0.1";
        net = std::make_unique<Network>(s, *session, adapter, clock, timers, c);
        net->start();
    }
    ~Panel() {
        net->stop();
        saves.reset();
        std::string cmd = "rm -rf " + dir;
        [[maybe_unused]] int r = std::system(cmd.c_str());
    }

    ControllerState s{Variant::Orvena};
    ScheduleStore schedule;
    std::string dir;
    RealClock clock;
    RealTimerService timers{clock};
    LoginGuard guard;
    std::unique_ptr<CoalescedSaves> saves;
    std::unique_ptr<ProtocolSession> session;
    SystemNetworkAdapter adapter{"lo"};
    std::unique_ptr<Network> net;
    uint16_t port = 0;
};

int connectTo(uint16_t port) { return bench::connectLoopback(port); }

// Reads n bytes; false on close, error or when `stop` is raised.
bool readAll(int fd, uint8_t* buf, size_t n, const std::atomic<bool>& stop) {
    for (size_t got = 0; got < n;) {
        pollfd p{fd, POLLIN, 0};
        if (stop) return false;
        if (::poll(&p, 1, 100) == 0) continue;
        ssize_t r = ::recv(fd, buf + got, n - got, 0);
        if (r <= 0) return false;
        got += static_cast<size_t>(r);
    }
    return true;
}

std::vector<uint8_t> loginMessage(uint32_t password) {
    std::vector<uint8_t> body;
    appendU16(body, 0);
    appendU16(body, 6);
    appendU32(body, kSerial);
    appendU32(body, password);
    return makeMessage(kGroupLogin, kKindRequest, body);
}

// A connection that logs in, or -1.
int loggedIn(uint16_t port) {
    const auto deadline = Steady::now() + std::chrono::seconds(10);
    std::atomic<bool> never{false};
    while (Steady::now() < deadline) {
        int fd = connectTo(port);
        if (fd < 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            continue;
        }
        const auto m = loginMessage(kPassword);
        uint8_t reply[10];
        if (::send(fd, m.data(), m.size(), MSG_NOSIGNAL) == ssize_t(m.size()) && readAll(fd, reply, 10, never) &&
            reply[8] == 0)
            return fd;
        ::close(fd);
    }
    return -1;
}

// `n` connections guessing wrong passwords as fast as answers come,
// reconnecting when dropped; counts the answers.
class Attack {
public:
    Attack(uint16_t port, int n) {
        for (int i = 0; i < n; ++i) threads_.emplace_back([this, port, i] { guess(port, i); });
    }
    ~Attack() { stop(); }
    void stop() {
        stop_ = true;
        for (auto& t : threads_)
            if (t.joinable()) t.join();
    }
    uint64_t answers() const { return answers_; }

private:
    void guess(uint16_t port, int who) {
        uint32_t guess = 100003u * static_cast<uint32_t>(who);
        while (!stop_) {
            int fd = connectTo(port);
            if (fd < 0) {
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
                continue;
            }
            while (!stop_) {
                uint32_t password = guess++ % 1000000;
                if (password == kPassword) password = (password + 1) % 1000000;
                const auto m = loginMessage(password);
                uint8_t reply[10];
                if (::send(fd, m.data(), m.size(), MSG_NOSIGNAL) != ssize_t(m.size()) ||
                    !readAll(fd, reply, sizeof reply, stop_))
                    break;
                ++answers_;
            }
            ::close(fd);
        }
    }
    std::atomic<bool> stop_{false};
    std::atomic<uint64_t> answers_{0};
    std::vector<std::thread> threads_;
};

void BM_PasswordGuesses(benchmark::State& state) {
    const int connections = static_cast<int>(state.range(0));
    Options o;
    o.damped = state.range(1) != 0;
    // Damped, a refill of the shared bucket takes 40 panel seconds: run
    // panel time 200 times faster so a few real seconds see many.
    o.timeScale = o.damped ? 200 : 1;
    Panel panel(o);
    // Long enough, damped, for the steady rate to outweigh the first quick ten.
    const double realSeconds = o.damped ? 20 : 5;
    for (auto _ : state) {
        Attack attack(panel.port, connections);
        std::this_thread::sleep_for(std::chrono::duration<double>(realSeconds));
        attack.stop();
        const double perPanelSecond = static_cast<double>(attack.answers()) / (realSeconds * o.timeScale);
        state.counters["guesses_per_panel_s"] = perPanelSecond;
        state.counters["sweep_days"] = perPanelSecond > 0 ? 1e6 / perPanelSecond / 86400 : 0;
    }
}
BENCHMARK(BM_PasswordGuesses)
    ->ArgsProduct({{1, 64}, {0, 1}})
    ->ArgNames({"connections", "damped"})
    ->Iterations(1)
    ->Unit(benchmark::kSecond);

void BM_GetStatusDuringAttack(benchmark::State& state) {
    Options o;
    o.timeScale = 200;
    Panel panel(o);
    const int owner = loggedIn(panel.port);
    if (owner < 0) {
        state.SkipWithError("login failed");
        return;
    }
    Attack attack(panel.port, static_cast<int>(state.range(0)));
    std::vector<uint8_t> request;
    appendU16(request, 1);
    request = makeMessage(kGroupCommand, kKindRequest, request);
    std::vector<uint8_t> reply(kHeaderSize + 4 + kStatusRecordSizeOrvena);
    std::atomic<bool> never{false};
    for (auto _ : state) {
        if (::send(owner, request.data(), request.size(), MSG_NOSIGNAL) != ssize_t(request.size()) ||
            !readAll(owner, reply.data(), reply.size(), never)) {
            state.SkipWithError("GetStatus failed");
            break;
        }
    }
    attack.stop();
    state.counters["guesses_answered"] = static_cast<double>(attack.answers());
    ::close(owner);
}
BENCHMARK(BM_GetStatusDuringAttack)->Arg(0)->Arg(64)->ArgName("guessers")->Unit(benchmark::kMicrosecond)->MinTime(3);

void BM_UserFileWritesUnderSetpointFlood(benchmark::State& state) {
    Options o;
    o.coalesced = state.range(0) != 0;
    Panel panel(o);
    const int fd = loggedIn(panel.port);
    if (fd < 0) {
        state.SkipWithError("login failed");
        return;
    }
    std::atomic<bool> never{false};
    const double realSeconds = 3;
    for (auto _ : state) {
        uint64_t sent = 0;
        const auto end = Steady::now() + std::chrono::duration<double>(realSeconds);
        while (Steady::now() < end) {
            std::vector<uint8_t> body;
            appendU16(body, 3);  // SetWaterSetpoint
            appendU16(body, static_cast<uint16_t>(70 + sent % 2));
            const auto m = makeMessage(kGroupCommand, kKindRequest, body);
            uint8_t reply[10];
            if (::send(fd, m.data(), m.size(), MSG_NOSIGNAL) != ssize_t(m.size()) || !readAll(fd, reply, 10, never))
                break;
            ++sent;
        }
        // Without the saver every accepted command is a write of its own.
        const double writes = o.coalesced ? static_cast<double>(panel.saves->writes(SavedFile::User)) : sent;
        state.counters["commands_per_s"] = sent / realSeconds;
        state.counters["writes_per_s"] = writes / realSeconds;
    }
    ::close(fd);
}
BENCHMARK(BM_UserFileWritesUnderSetpointFlood)->Arg(0)->Arg(1)->ArgName("coalesced")->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
}  // namespace vesk

BENCHMARK_MAIN();
