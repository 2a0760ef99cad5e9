// Auto-reset event waited on in panel time.
#include "platform/event.h"

#include <algorithm>
#include <chrono>
#include <climits>

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
    // Saturate so that "wait for ever" values cannot overflow the deadline.
    const int64_t start = clock.nowMs();
    const int64_t deadline = timeoutMs > INT64_MAX - start ? INT64_MAX : start + timeoutMs;
    std::unique_lock<std::mutex> lk(m_);
    for (;;) {
        if (set_) {
            set_ = false;
            return true;
        }
        const int64_t left = deadline - clock.nowMs();
        if (left <= 0) return false;
        // Wait in real slices so that a manual clock's time can pass too.
        // Slices are capped: huge chrono waits overflow the steady clock.
        int64_t slice = std::clamp<int64_t>(clock.realMsFor(left), 1, 60000);
        cv_.wait_for(lk, std::chrono::milliseconds(slice));
    }
}

}  // namespace vesk
