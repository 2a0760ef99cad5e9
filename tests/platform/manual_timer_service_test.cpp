// Manual timers: firing order, periods without drift, cancels from inside.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/manual_clock.h"
#include "platform/manual_timer_service.h"

namespace vesk {
namespace {

struct Fired {
    std::string name;
    int64_t at;
    bool operator==(const Fired&) const = default;
};

class ManualTimers : public ::testing::Test {
protected:
    ManualClock clock;
    ManualTimerService timers{clock};
    std::vector<Fired> log;

    TimerService::Callback record(const std::string& name) {
        return [this, name] { log.push_back({name, clock.nowMs()}); };
    }
};

TEST_F(ManualTimers, FireInDeadlineOrderThenCreationOrder) {
    timers.startOneShot(30, record("c"));
    timers.startOneShot(10, record("a1"));
    timers.startOneShot(20, record("b"));
    timers.startOneShot(10, record("a2"));
    clock.advance(100);
    EXPECT_EQ(log, (std::vector<Fired>{{"a1", 10}, {"a2", 10}, {"b", 20}, {"c", 30}}));
    EXPECT_EQ(clock.nowMs(), 100);
}

TEST_F(ManualTimers, OneShotFiresOnceAndIsGone) {
    int id = timers.startOneShot(50, record("x"));
    EXPECT_NE(id, 0);
    clock.advance(49);
    EXPECT_TRUE(log.empty());
    clock.advance(1);
    clock.advance(10000);
    EXPECT_EQ(log, (std::vector<Fired>{{"x", 50}}));
    EXPECT_EQ(timers.pending(), 0u);
    timers.cancel(id);  // cancelling a spent id is harmless
}

TEST_F(ManualTimers, PeriodicKeepsItsGridWhateverTheSteps) {
    timers.startPeriodic(1000, record("tick"));
    for (int i = 0; i < 500; ++i) clock.advance(7);  // 3500 ms in odd steps
    clock.advance(1500);                             // and one large step
    std::vector<Fired> expected;
    for (int64_t t = 1000; t <= 5000; t += 1000) expected.push_back({"tick", t});
    EXPECT_EQ(log, expected);
}

TEST_F(ManualTimers, CancelFromInsideItsOwnCallbackStopsIt) {
    int id = 0;
    int calls = 0;
    id = timers.startPeriodic(100, [&] {
        if (++calls == 2) timers.cancel(id);
    });
    clock.advance(1000);
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(timers.pending(), 0u);
}

TEST_F(ManualTimers, CallbackCancelsAnotherTimerDueAtTheSameTime) {
    int victim = 0;
    timers.startOneShot(100, [&] {
        log.push_back({"killer", clock.nowMs()});
        timers.cancel(victim);
    });
    victim = timers.startOneShot(100, record("victim"));
    clock.advance(200);
    EXPECT_EQ(log, (std::vector<Fired>{{"killer", 100}}));
}

TEST_F(ManualTimers, TimersStartedByCallbacksFireWithinTheSameAdvance) {
    // The auger pulse pattern: each phase starts the next one-shot.
    int phases = 0;
    std::function<void()> phase = [&] {
        log.push_back({"phase", clock.nowMs()});
        if (++phases < 4) timers.startOneShot(phases % 2 ? 300 : 700, phase);
    };
    timers.startOneShot(0, phase);
    clock.advance(5000);
    EXPECT_EQ(log, (std::vector<Fired>{{"phase", 0}, {"phase", 300}, {"phase", 1000}, {"phase", 1300}}));
}

TEST_F(ManualTimers, RejectsWhatCannotRun) {
    EXPECT_EQ(timers.startPeriodic(0, record("p")), 0);
    EXPECT_EQ(timers.startPeriodic(-5, record("p")), 0);
    EXPECT_EQ(timers.startOneShot(10, nullptr), 0);
    int a = timers.startOneShot(10, record("a"));
    int b = timers.startOneShot(10, record("b"));
    EXPECT_NE(a, b);
    clock.advance(10);
    EXPECT_EQ(log.size(), 2u);
}

TEST(ManualTimerService, UnregistersFromTheClockWhenDestroyed) {
    ManualClock clock;
    int calls = 0;
    {
        ManualTimerService timers(clock);
        timers.startPeriodic(10, [&] { ++calls; });
        clock.advance(25);
    }
    clock.advance(1000);
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(clock.nowMs(), 1025);
}

}  // namespace
}  // namespace vesk
