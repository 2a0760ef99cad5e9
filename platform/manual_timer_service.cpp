// Manual timers: the clock asks for the next deadline and lets it fire.
#include "platform/manual_timer_service.h"

#include <algorithm>
#include <climits>
#include <utility>

#include "platform/timer_schedule.h"

namespace vesk {

ManualTimerService::ManualTimerService(ManualClock& clock) : clock_(clock) {
    clock_.setListener(this);
}

ManualTimerService::~ManualTimerService() {
    clock_.setListener(nullptr);
}

int ManualTimerService::startPeriodic(int64_t periodMs, Callback cb) {
    if (periodMs <= 0) return 0;
    return add(periodMs, periodMs, std::move(cb));
}

int ManualTimerService::startOneShot(int64_t delayMs, Callback cb) {
    return add(std::max<int64_t>(delayMs, 0), 0, std::move(cb));
}

int ManualTimerService::add(int64_t delayMs, int64_t periodMs, Callback cb) {
    if (!cb) return 0;
    const int64_t now = clock_.nowMs();
    std::lock_guard<std::mutex> g(m_);
    int id = nextTimerId(lastId_, timers_);
    timers_[id] = Timer{now + delayMs, periodMs, created_++, std::make_shared<Callback>(std::move(cb))};
    return id;
}

void ManualTimerService::cancel(int id) {
    std::lock_guard<std::mutex> g(m_);
    timers_.erase(id);
}

size_t ManualTimerService::pending() const {
    std::lock_guard<std::mutex> g(m_);
    return timers_.size();
}

int64_t ManualTimerService::nextDeadline() {
    std::lock_guard<std::mutex> g(m_);
    auto it = earliestTimer(timers_);
    return it == timers_.end() ? INT64_MAX : it->second.deadline;
}

void ManualTimerService::fireDue(int64_t now) {
    std::shared_ptr<Callback> cb;
    {
        std::lock_guard<std::mutex> g(m_);
        auto it = earliestTimer(timers_);
        if (it == timers_.end() || it->second.deadline > now) return;
        Timer& t = it->second;
        cb = t.cb;
        if (t.period > 0)
            t.deadline += t.period;
        else
            timers_.erase(it);
    }
    (*cb)();
}

}  // namespace vesk
