// A clock that only moves when a test advances it. Threads sleeping on it
// wake when the test advances past their deadline.
#pragma once
#include <condition_variable>
#include <mutex>

#include "platform/clock.h"

namespace vesk {

class ManualClock : public Clock {
public:
    explicit ManualClock(LocalTime start = {2026, 1, 4, 1, 12, 0, 0, 0});
    int64_t nowMs() const override;
    LocalTime localTime() const override;
    void setLocalTime(const LocalTime& t) override;
    void sleepMs(int64_t ms) override;
    int64_t realMsFor(int64_t panelMs) const override;
    // Moves panel time forward and wakes sleepers whose deadline passed.
    void advance(int64_t ms);

private:
    mutable std::mutex m_;
    std::condition_variable cv_;
    int64_t now_ = 0;
    int64_t epochAtZero_;
};

}  // namespace vesk
