// A clock that only moves when a test advances it. Threads sleeping on it
// wake when the test advances past their deadline.
#pragma once
#include <condition_variable>
#include <mutex>

#include "platform/clock.h"

namespace vesk {

class ManualClock : public Clock {
public:
    // Something with deadlines of its own (the manual timer service): the
    // clock stops at each of them on its way and lets it fire.
    class Listener {
    public:
        virtual ~Listener() = default;
        // Earliest pending deadline in panel ms, or INT64_MAX for none.
        virtual int64_t nextDeadline() = 0;
        // Called with the clock at `now`, on the advancing thread.
        virtual void fireDue(int64_t now) = 0;
    };

    explicit ManualClock(LocalTime start = {2026, 1, 4, 1, 12, 0, 0, 0});
    int64_t nowMs() const override;
    LocalTime localTime() const override;
    void setLocalTime(const LocalTime& t) override;
    void sleepMs(int64_t ms) override;
    int64_t realMsFor(int64_t panelMs) const override;
    // Moves panel time forward and wakes sleepers whose deadline passed.
    // Timers due on the way fire in deadline order, each with the clock
    // standing at its deadline.
    void advance(int64_t ms);
    void setListener(Listener* l);

private:
    mutable std::mutex m_;
    std::condition_variable cv_;
    int64_t now_ = 0;
    int64_t epochAtZero_;
    Listener* listener_ = nullptr;
};

}  // namespace vesk
