// Test clock that moves only when advanced, stopping at listener deadlines.
#include "platform/manual_clock.h"

#include <algorithm>
#include <climits>

namespace vesk {

ManualClock::ManualClock(LocalTime start) : epochAtZero_(toEpochSeconds(start) * 1000 + start.milliseconds) {}

int64_t ManualClock::nowMs() const {
    std::lock_guard<std::mutex> g(m_);
    return now_;
}

LocalTime ManualClock::localTime() const {
    std::lock_guard<std::mutex> g(m_);
    int64_t ms = epochAtZero_ + now_;
    int64_t s = ms >= 0 ? ms / 1000 : (ms - 999) / 1000;
    return fromEpochSeconds(s, static_cast<uint16_t>(ms - s * 1000));
}

void ManualClock::setLocalTime(const LocalTime& t) {
    std::lock_guard<std::mutex> g(m_);
    epochAtZero_ = toEpochSeconds(t) * 1000 + t.milliseconds - now_;
}

void ManualClock::sleepMs(int64_t ms) {
    std::unique_lock<std::mutex> lk(m_);
    const int64_t until = now_ + ms;
    cv_.wait(lk, [&] { return now_ >= until; });
}

int64_t ManualClock::realMsFor(int64_t panelMs) const {
    // Manual time does not pass by itself: poll in short real slices.
    return std::min<int64_t>(panelMs, 5);
}

void ManualClock::setListener(Listener* l) {
    std::lock_guard<std::mutex> g(m_);
    listener_ = l;
}

void ManualClock::advance(int64_t ms) {
    int64_t target;
    {
        std::lock_guard<std::mutex> g(m_);
        target = now_ + ms;
    }
    for (;;) {
        Listener* l;
        {
            std::lock_guard<std::mutex> g(m_);
            l = listener_;
        }
        int64_t next = l ? l->nextDeadline() : INT64_MAX;
        bool fire = next <= target;
        {
            std::lock_guard<std::mutex> g(m_);
            now_ = std::max(now_, fire ? next : target);
        }
        cv_.notify_all();
        if (!fire) break;
        l->fireDue(next);
    }
}

}  // namespace vesk
