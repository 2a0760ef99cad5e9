// The timer thread, driven here by a manual clock so that deadlines are
// exact and the test never depends on how fast the machine is.
#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <vector>

#include "platform/manual_clock.h"
#include "platform/real_clock.h"
#include "platform/real_timer_service.h"
#include "wait_until.h"

namespace vesk {
namespace {

class RealTimers : public ::testing::Test {
protected:
    ManualClock clock;
    RealTimerService timers{clock};
    std::mutex m;
    std::vector<std::pair<int, int64_t>> log;  // (tag, clock at call)

    TimerService::Callback record(int tag) {
        return [this, tag] {
            std::lock_guard<std::mutex> g(m);
            log.push_back({tag, clock.nowMs()});
        };
    }
    size_t calls() {
        std::lock_guard<std::mutex> g(m);
        return log.size();
    }
    std::vector<int> tags() {
        std::lock_guard<std::mutex> g(m);
        std::vector<int> out;
        for (auto& e : log) out.push_back(e.first);
        return out;
    }
    // Everything due before a fresh marker has run once the marker has:
    // there is one timer thread and it goes in deadline order.
    void drain(int64_t markerDelay = 0) {
        std::atomic<bool> done{false};
        timers.startOneShot(markerDelay, [&] { done = true; });
        ASSERT_TRUE(test::waitUntil([&] { return done.load(); }));
    }
};

TEST_F(RealTimers, DueTimersRunInDeadlineOrder) {
    timers.startOneShot(30, record(3));
    timers.startOneShot(10, record(1));
    timers.startOneShot(20, record(2));
    timers.startOneShot(10, record(11));
    clock.advance(100);
    ASSERT_TRUE(test::waitUntil([&] { return calls() == 4; }));
    EXPECT_EQ(tags(), (std::vector<int>{1, 11, 2, 3}));
}

TEST_F(RealTimers, NothingRunsBeforeItsDeadline) {
    timers.startOneShot(100, record(1));
    clock.advance(99);
    drain();
    EXPECT_EQ(calls(), 0u);
    clock.advance(1);
    ASSERT_TRUE(test::waitUntil([&] { return calls() == 1; }));
}

TEST_F(RealTimers, PeriodicDoesNotDriftWhenServedLate) {
    timers.startPeriodic(100, record(1));
    clock.advance(100);
    ASSERT_TRUE(test::waitUntil([&] { return calls() == 1; }));
    // Served late at 350: the ticks of 200 and 300 are owed, and the next
    // one stays at 400, not 450.
    clock.advance(250);
    ASSERT_TRUE(test::waitUntil([&] { return calls() == 3; }));
    clock.advance(49);
    drain();
    EXPECT_EQ(calls(), 3u);
    clock.advance(1);
    ASSERT_TRUE(test::waitUntil([&] { return calls() == 4; }));
    std::lock_guard<std::mutex> g(m);
    EXPECT_EQ(log.back().second, 400);
}

TEST_F(RealTimers, OneShotRunsOnce) {
    timers.startOneShot(10, record(1));
    clock.advance(10);
    ASSERT_TRUE(test::waitUntil([&] { return calls() == 1; }));
    clock.advance(10000);
    drain();
    EXPECT_EQ(calls(), 1u);
}

TEST_F(RealTimers, CancelledTimerNeverStartsAgain) {
    int id = timers.startPeriodic(100, record(1));
    clock.advance(100);
    ASSERT_TRUE(test::waitUntil([&] { return calls() == 1; }));
    timers.cancel(id);
    clock.advance(1000);
    drain();
    EXPECT_EQ(calls(), 1u);
}

TEST_F(RealTimers, CancelFromInsideItsOwnCallback) {
    std::atomic<int> id{0};
    std::atomic<int> n{0};
    id = timers.startPeriodic(10, [&] {
        if (++n == 3) timers.cancel(id);
    });
    clock.advance(1000);
    drain();
    EXPECT_EQ(n.load(), 3);
}

TEST_F(RealTimers, CallbacksMayStartTimers) {
    auto first = record(1);
    timers.startOneShot(10, [&, first] {
        first();
        timers.startOneShot(5, record(2));
    });
    clock.advance(10);
    ASSERT_TRUE(test::waitUntil([&] { return calls() == 1; }));
    clock.advance(5);
    ASSERT_TRUE(test::waitUntil([&] { return calls() == 2; }));
    EXPECT_EQ(tags(), (std::vector<int>{1, 2}));
}

TEST(RealTimerService, RunsOnAScaledRealClockAndStopsCleanly) {
    RealClock clock(1000.0, nullptr);  // a panel second is a real millisecond
    std::atomic<int> ticks{0};
    std::atomic<bool> shot{false};
    {
        RealTimerService timers(clock);
        EXPECT_NE(timers.startPeriodic(1000, [&] { ++ticks; }), 0);
        EXPECT_NE(timers.startOneShot(3000, [&] { shot = true; }), 0);
        EXPECT_EQ(timers.startPeriodic(0, [] {}), 0);
        ASSERT_TRUE(test::waitUntil([&] { return ticks.load() >= 5 && shot.load(); }));
        // Destroyed with a timer still pending.
        timers.startOneShot(3600 * 1000, [] {});
    }
    const int after = ticks.load();
    EXPECT_GE(after, 5);
}

}  // namespace
}  // namespace vesk
