// A clock for one thread under test: panel time comes from a ManualClock the
// test advances, and every reading the thread takes is counted, so the test
// can tell when the thread has looked at the time since the last advance.
#pragma once
#include <atomic>
#include <cstdint>

#include "platform/manual_clock.h"

namespace vesk::test {

class ProbeClock : public Clock {
public:
    explicit ProbeClock(ManualClock& inner) : inner_(inner) {}

    int64_t nowMs() const override {
        const int64_t t = inner_.nowMs();
        if (t == watched_.load()) seen_.fetch_add(1);
        return t;
    }
    LocalTime localTime() const override { return inner_.localTime(); }
    void setLocalTime(const LocalTime& t) override { inner_.setLocalTime(t); }
    void sleepMs(int64_t ms) override { inner_.sleepMs(ms); }
    int64_t realMsFor(int64_t panelMs) const override { return inner_.realMsFor(panelMs); }

    // Moves panel time on by `ms` and starts counting the readings of the
    // new time.
    void advance(int64_t ms) {
        seen_ = 0;
        watched_ = inner_.nowMs() + ms;
        inner_.advance(ms);
    }
    // How often the time reached by the last advance has been read.
    int readingsOfNow() const { return seen_.load(); }

private:
    ManualClock& inner_;
    mutable std::atomic<int> seen_{0};
    std::atomic<int64_t> watched_{-1};
};

}  // namespace vesk::test
