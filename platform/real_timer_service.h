// Timer callbacks on one thread of their own, at deadlines in panel time.
#pragma once
#include <condition_variable>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/timer_service.h"

namespace vesk {

class Clock;

class RealTimerService : public TimerService {
public:
    explicit RealTimerService(const Clock& clock);
    ~RealTimerService() override;
    RealTimerService(const RealTimerService&) = delete;
    RealTimerService& operator=(const RealTimerService&) = delete;

    // A period of 0 or less cannot be made (returns 0).
    int startPeriodic(int64_t periodMs, Callback cb) override;
    int startOneShot(int64_t delayMs, Callback cb) override;
    // Does not wait for a call already running, so it is safe to call while
    // holding a lock the callback takes, and from inside the callback.
    void cancel(int id) override;

private:
    struct Timer {
        int64_t deadline;
        int64_t period;  // 0 = one-shot
        uint64_t order;  // creation order breaks deadline ties
        std::shared_ptr<Callback> cb;
    };

    int add(int64_t delayMs, int64_t periodMs, Callback cb);
    void run();

    const Clock& clock_;
    std::mutex m_;
    std::condition_variable wake_;
    std::map<int, Timer> timers_;
    int lastId_ = 0;
    uint64_t created_ = 0;
    bool stop_ = false;
    std::thread thread_;
};

}  // namespace vesk
