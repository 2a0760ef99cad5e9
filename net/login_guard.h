// Damping of password guessing. Discovery hands out the serial number, so
// the six-digit network password is all that stands between a peer and the
// boiler's controls. Every login attempt, from any connection or source,
// passes this guard before its password is compared:
// - per source (a peer address, the remote server, the module) the first
//   few failures are free, then each further one holds that source's next
//   attempt back by a doubling delay (1 s, 2 s, ... up to kMaxSourceDelayMs);
// - across all sources failed attempts draw on one bucket of kBurst tokens
//   that refills one token every kRefillMs; with the bucket empty every
//   attempt waits for the next token.
// An attempt is compared only once it is let through, and its answer goes
// out then, accepted or refused alike: answering right guesses at once
// would tell a waiting guess from a wrong one by the time alone.
//
// Best rate: at most kBurst + T / kRefillMs wrong guesses in any T, however
// many connections and addresses an attacker uses; the 10^6 passwords take
// (10^6 - 10) x 40 s = 4.0e7 s, 463 days, for a full sweep.
//
// Time is panel time, passed in; the guard is shared by the network thread
// and the expansion link thread.
#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <string>

namespace vesk {

// Who makes an attempt: a local peer's IPv4 address, or one of the fixed
// sources above the address range.
using LoginSource = uint64_t;
constexpr LoginSource kLoginSourceRemote = 1ull << 32;
constexpr LoginSource kLoginSourceModule = 2ull << 32;

class LoginGuard {
public:
    static constexpr int kFreePerSource = 3;
    static constexpr int64_t kFirstSourceDelayMs = 1000;
    static constexpr int64_t kMaxSourceDelayMs = 40000;
    static constexpr int kBurst = 10;
    static constexpr int64_t kRefillMs = 40000;
    // A source forgets one failure per this long without a new one.
    static constexpr int64_t kForgetMs = 40000;
    // Sources remembered at most (the least failed one makes room).
    static constexpr size_t kMaxSources = 256;
    // A waiting attempt not asked about again for this long is dropped
    // (its connection went away).
    static constexpr int64_t kWaiterStaleMs = 5000;
    // At most one log line per this long.
    static constexpr int64_t kLogEveryMs = 60000;

    using Log = std::function<void(const std::string&)>;
    explicit LoginGuard(Log log = {}) : log_(std::move(log)) {}

    // Attempt `ticket` from `source` asks to be compared now. 0: go ahead
    // (then report the outcome with `record`); otherwise the panel ms after
    // which to ask again. A waiting attempt keeps its place while it asks.
    int64_t admit(uint64_t ticket, LoginSource source, int64_t now);
    // For callers that cannot wait (the module's line): true when an
    // attempt may be compared now; nothing is queued.
    bool admitWithoutWaiting(LoginSource source, int64_t now);
    void record(LoginSource source, bool accepted, int64_t now);
    // A waiting attempt whose connection went away.
    void forget(uint64_t ticket);

    // A ticket for a new attempt.
    uint64_t newTicket();
    // For tests and the benchmark.
    int tokens(int64_t now);
    size_t waiting() const;

private:
    struct Source {
        int failures = 0;
        int64_t lastChangeMs = 0;
        int64_t nextAllowedMs = 0;
    };
    struct Waiter {
        LoginSource source;
        int64_t sinceMs;
        int64_t askedMs;
    };

    void refill(int64_t now);
    void forgetOld(Source& s, int64_t now);
    Source* find(LoginSource source, int64_t now);
    Source& entry(LoginSource source, int64_t now);
    int failuresOf(LoginSource source, int64_t now);
    // Panel ms until `source` may try, counting the bucket (0 = now).
    int64_t waitFor(LoginSource source, int64_t now);
    // True when another waiter that could go now comes first.
    bool overtaken(uint64_t ticket, const Waiter& w, int64_t now);
    void logRefusal(LoginSource source, int64_t now);

    mutable std::mutex m_;
    std::map<LoginSource, Source> sources_;
    std::map<uint64_t, Waiter> waiters_;
    int tokens_ = kBurst;
    int64_t refillFromMs_ = 0;
    uint64_t nextTicket_ = 1;

    Log log_;
    bool logged_ = false;
    int64_t lastLogMs_ = 0;
    uint64_t refusedSinceLog_ = 0;
    LoginSource lastRefused_ = 0;
};

// "a.b.c.d", "remote server" or "expansion module".
std::string loginSourceName(LoginSource s);

}  // namespace vesk
