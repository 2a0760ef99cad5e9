// Timer thread: sleeps until the earliest panel-time deadline, then runs it.
#include "platform/real_timer_service.h"

#include <algorithm>
#include <chrono>
#include <utility>

#include "platform/clock.h"
#include "platform/timer_schedule.h"

namespace vesk {

namespace {
// Wait in bounded slices; a very long chrono wait overflows the steady clock.
constexpr int64_t kMaxSliceMs = 60000;
}  // namespace

RealTimerService::RealTimerService(const Clock& clock) : clock_(clock) {
    thread_ = std::thread([this] { run(); });
}

RealTimerService::~RealTimerService() {
    {
        std::lock_guard<std::mutex> g(m_);
        stop_ = true;
    }
    wake_.notify_all();
    if (thread_.get_id() == std::this_thread::get_id())
        thread_.detach();  // destroyed by one of its own callbacks
    else
        thread_.join();
}

int RealTimerService::startPeriodic(int64_t periodMs, Callback cb) {
    if (periodMs <= 0) return 0;
    return add(periodMs, periodMs, std::move(cb));
}

int RealTimerService::startOneShot(int64_t delayMs, Callback cb) {
    return add(std::max<int64_t>(delayMs, 0), 0, std::move(cb));
}

int RealTimerService::add(int64_t delayMs, int64_t periodMs, Callback cb) {
    if (!cb) return 0;
    const int64_t now = clock_.nowMs();
    int id;
    {
        std::lock_guard<std::mutex> g(m_);
        if (stop_) return 0;
        id = nextTimerId(lastId_, timers_);
        timers_[id] = Timer{now + delayMs, periodMs, created_++,
                            std::make_shared<Callback>(std::move(cb))};
    }
    wake_.notify_all();
    return id;
}

void RealTimerService::cancel(int id) {
    std::lock_guard<std::mutex> g(m_);
    timers_.erase(id);
}

void RealTimerService::run() {
    std::unique_lock<std::mutex> lk(m_);
    while (!stop_) {
        auto it = earliestTimer(timers_);
        if (it == timers_.end()) {
            wake_.wait(lk);
            continue;
        }
        const int64_t now = clock_.nowMs();
        Timer& t = it->second;
        if (t.deadline > now) {
            int64_t slice = std::clamp<int64_t>(clock_.realMsFor(t.deadline - now), 1, kMaxSliceMs);
            wake_.wait_for(lk, std::chrono::milliseconds(slice));
            continue;
        }
        // Reschedule or drop before the call: a cancel from inside the
        // callback then simply removes what is left.
        std::shared_ptr<Callback> cb = t.cb;
        if (t.period > 0)
            t.deadline = nextPeriodicDeadline(t.deadline, t.period, now);
        else
            timers_.erase(it);
        lk.unlock();
        (*cb)();
        lk.lock();
    }
}

}  // namespace vesk
