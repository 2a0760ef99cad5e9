#include "platform/event.h"

#include <algorithm>
#include <chrono>

#include "platform/clock.h"

namespace vesk {

void Event::set() {
    {
        std::lock_guard<std::mutex> g(m_);
        set_ = true;
    }
    cv_.notify_one();
}

bool Event::wait(const Clock& clock, int64_t timeoutMs) {
    const int64_t deadline = clock.nowMs() + timeoutMs;
    std::unique_lock<std::mutex> lk(m_);
    for (;;) {
        if (set_) {
            set_ = false;
            return true;
        }
        const int64_t left = deadline - clock.nowMs();
        if (left <= 0) return false;
        // Wait in real slices so that a manual clock's time can pass too.
        int64_t slice = std::max<int64_t>(1, clock.realMsFor(left));
        cv_.wait_for(lk, std::chrono::milliseconds(slice));
    }
}

}  // namespace vesk
