// Periodic and one-shot callbacks in panel time (the multimedia timers of
// the panel). Callbacks run on the service's own thread (real) or on the
// thread that advances the clock (manual).
#pragma once
#include <cstdint>
#include <functional>

namespace vesk {

class TimerService {
public:
    using Callback = std::function<void()>;
    virtual ~TimerService() = default;
    // Returns a non-zero id, or 0 when the timer cannot be made.
    virtual int startPeriodic(int64_t periodMs, Callback cb) = 0;
    virtual int startOneShot(int64_t delayMs, Callback cb) = 0;
    // Cancels a pending timer; a callback already running finishes.
    virtual void cancel(int id) = 0;
};

}  // namespace vesk
