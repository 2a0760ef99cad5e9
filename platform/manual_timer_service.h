// Timers driven by a ManualClock: due callbacks fire on the thread that
// advances the clock, each with the clock standing at its deadline.
#pragma once
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>

#include "platform/manual_clock.h"
#include "platform/timer_service.h"

namespace vesk {

class ManualTimerService : public TimerService, public ManualClock::Listener {
public:
    explicit ManualTimerService(ManualClock& clock);
    ~ManualTimerService() override;
    ManualTimerService(const ManualTimerService&) = delete;
    ManualTimerService& operator=(const ManualTimerService&) = delete;

    // A period of 0 or less cannot be made (returns 0).
    int startPeriodic(int64_t periodMs, Callback cb) override;
    int startOneShot(int64_t delayMs, Callback cb) override;
    void cancel(int id) override;
    // Timers still pending.
    size_t pending() const;

    int64_t nextDeadline() override;
    // Fires the first due timer (deadline, then creation order).
    void fireDue(int64_t now) override;

private:
    struct Timer {
        int64_t deadline;
        int64_t period;  // 0 = one-shot
        uint64_t order;
        std::shared_ptr<Callback> cb;
    };

    int add(int64_t delayMs, int64_t periodMs, Callback cb);

    ManualClock& clock_;
    mutable std::mutex m_;
    std::map<int, Timer> timers_;
    int lastId_ = 0;
    uint64_t created_ = 0;
};

}  // namespace vesk
