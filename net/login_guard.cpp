// Per-source delays, the shared token bucket and the waiting line of
// login attempts.
#include "net/login_guard.h"

#include <algorithm>
#include <cstdio>

namespace vesk {

namespace {
// A waiter overtaken by a better placed one asks again this soon.
constexpr int64_t kOvertakenRetryMs = 50;
constexpr int kMaxFailures = 1000;
}  // namespace

std::string loginSourceName(LoginSource s) {
    if (s == kLoginSourceRemote) return "remote server";
    if (s == kLoginSourceModule) return "expansion module";
    char text[16];
    std::snprintf(text, sizeof text, "%u.%u.%u.%u", unsigned(s >> 24 & 0xFF), unsigned(s >> 16 & 0xFF),
                  unsigned(s >> 8 & 0xFF), unsigned(s & 0xFF));
    return text;
}

uint64_t LoginGuard::newTicket() {
    std::lock_guard<std::mutex> g(m_);
    return nextTicket_++;
}

void LoginGuard::refill(int64_t now) {
    if (tokens_ >= kBurst) {
        refillFromMs_ = now;
        return;
    }
    const int64_t steps = (now - refillFromMs_) / kRefillMs;
    if (steps <= 0) return;
    tokens_ = static_cast<int>(std::min<int64_t>(kBurst, tokens_ + steps));
    refillFromMs_ = tokens_ >= kBurst ? now : refillFromMs_ + steps * kRefillMs;
}

void LoginGuard::forgetOld(Source& s, int64_t now) {
    if (s.failures == 0) return;
    const int64_t steps = std::min<int64_t>((now - s.lastChangeMs) / kForgetMs, s.failures);
    s.failures -= static_cast<int>(steps);
    s.lastChangeMs += steps * kForgetMs;
}

LoginGuard::Source* LoginGuard::find(LoginSource source, int64_t now) {
    auto it = sources_.find(source);
    if (it == sources_.end()) return nullptr;
    forgetOld(it->second, now);
    return &it->second;
}

LoginGuard::Source& LoginGuard::entry(LoginSource source, int64_t now) {
    if (Source* s = find(source, now)) return *s;
    if (sources_.size() >= kMaxSources) {
        // Forgetting the least failed source costs an attacker the most.
        auto least = sources_.begin();
        for (auto it = sources_.begin(); it != sources_.end(); ++it) {
            forgetOld(it->second, now);
            if (it->second.failures < least->second.failures) least = it;
        }
        sources_.erase(least);
    }
    Source& s = sources_[source];
    s.lastChangeMs = now;
    return s;
}

int LoginGuard::failuresOf(LoginSource source, int64_t now) {
    const Source* s = find(source, now);
    return s ? s->failures : 0;
}

int64_t LoginGuard::waitFor(LoginSource source, int64_t now) {
    const Source* s = find(source, now);
    int64_t wait = s ? std::max<int64_t>(0, s->nextAllowedMs - now) : 0;
    if (tokens_ <= 0) wait = std::max<int64_t>(wait, std::max<int64_t>(1, refillFromMs_ + kRefillMs - now));
    return wait;
}

bool LoginGuard::overtaken(uint64_t ticket, const Waiter& w, int64_t now) {
    // Those with fewer failures go first (the owner ahead of a guesser),
    // then the longest waiting.
    const int mine = failuresOf(w.source, now);
    for (const auto& [other, o] : waiters_) {
        if (other == ticket || waitFor(o.source, now) > 0) continue;
        const int theirs = failuresOf(o.source, now);
        if (theirs < mine || (theirs == mine && (o.sinceMs < w.sinceMs || (o.sinceMs == w.sinceMs && other < ticket))))
            return true;
    }
    return false;
}

int64_t LoginGuard::admit(uint64_t ticket, LoginSource source, int64_t now) {
    std::lock_guard<std::mutex> g(m_);
    refill(now);
    for (auto it = waiters_.begin(); it != waiters_.end();)
        it = now - it->second.askedMs > kWaiterStaleMs ? waiters_.erase(it) : std::next(it);
    auto [it, fresh] = waiters_.try_emplace(ticket, Waiter{source, now, now});
    it->second.askedMs = now;
    const int64_t wait = waitFor(source, now);
    if (wait > 0) return wait;
    if (overtaken(ticket, it->second, now)) return kOvertakenRetryMs;
    waiters_.erase(it);
    return 0;
}

bool LoginGuard::admitWithoutWaiting(LoginSource source, int64_t now) {
    std::lock_guard<std::mutex> g(m_);
    refill(now);
    if (waitFor(source, now) > 0) return false;
    // Those already waiting keep their turn.
    for (const auto& [ticket, w] : waiters_)
        if (waitFor(w.source, now) == 0) return false;
    return true;
}

void LoginGuard::forget(uint64_t ticket) {
    std::lock_guard<std::mutex> g(m_);
    waiters_.erase(ticket);
}

void LoginGuard::record(LoginSource source, bool accepted, int64_t now) {
    std::lock_guard<std::mutex> g(m_);
    refill(now);
    if (accepted) {
        sources_.erase(source);
        return;
    }
    if (tokens_ >= kBurst) refillFromMs_ = now;
    // May go below zero when two threads were let through on one token:
    // the debt is paid back before anyone else goes.
    --tokens_;
    Source& s = entry(source, now);
    s.failures = std::min(s.failures + 1, kMaxFailures);
    s.lastChangeMs = now;
    const int over = s.failures - kFreePerSource;
    const int64_t delay = over <= 0 ? 0 : std::min(kMaxSourceDelayMs, kFirstSourceDelayMs << std::min(over - 1, 16));
    s.nextAllowedMs = now + delay;
    logRefusal(source, now);
}

void LoginGuard::logRefusal(LoginSource source, int64_t now) {
    ++refusedSinceLog_;
    lastRefused_ = source;
    if (!log_ || (logged_ && now - lastLogMs_ < kLogEveryMs)) return;
    char line[200];
    std::snprintf(line, sizeof line, "network login refused %llu time(s) since the last report, last from %s; %d of %d quick attempts left",
                  static_cast<unsigned long long>(refusedSinceLog_), loginSourceName(lastRefused_).c_str(),
                  std::max(tokens_, 0), kBurst);
    log_(line);
    logged_ = true;
    lastLogMs_ = now;
    refusedSinceLog_ = 0;
}

int LoginGuard::tokens(int64_t now) {
    std::lock_guard<std::mutex> g(m_);
    refill(now);
    return tokens_;
}

size_t LoginGuard::waiting() const {
    std::lock_guard<std::mutex> g(m_);
    return waiters_.size();
}

}  // namespace vesk
