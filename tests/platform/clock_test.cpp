// Calendar conversions, the manual clock and waits in panel time.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "platform/event.h"
#include "platform/manual_clock.h"
#include "platform/real_clock.h"
#include "platform/registry.h"
#include "support/test_support.h"
#include "wait_until.h"

namespace vesk {
namespace {

LocalTime date(uint16_t y, uint16_t mo, uint16_t d, uint16_t h = 0, uint16_t mi = 0, uint16_t s = 0) {
    LocalTime t;
    t.year = y;
    t.month = mo;
    t.day = d;
    t.hour = h;
    t.minute = mi;
    t.second = s;
    return t;
}

TEST(EpochConversion, KnownInstantsAndWeekdays) {
    struct Case {
        LocalTime t;
        int64_t epoch;
        uint16_t dayOfWeek;
    };
    const Case cases[] = {
        {date(1970, 1, 1), 0, 4},
        {date(2000, 3, 1), 951868800, 3},
        {date(2024, 2, 29, 12, 34, 56), 1709210096, 4},
        {date(1900, 3, 1), -2203891200LL, 4},  // 1900 is no leap year
        {date(2100, 2, 28, 23, 59, 59), 4107542399LL, 0},
        {date(2026, 1, 4), 1767484800, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(toEpochSeconds(c.t), c.epoch) << c.t.year << "-" << c.t.month << "-" << c.t.day;
        LocalTime back = fromEpochSeconds(c.epoch, 250);
        EXPECT_EQ(back.year, c.t.year);
        EXPECT_EQ(back.month, c.t.month);
        EXPECT_EQ(back.day, c.t.day);
        EXPECT_EQ(back.hour, c.t.hour);
        EXPECT_EQ(back.minute, c.t.minute);
        EXPECT_EQ(back.second, c.t.second);
        EXPECT_EQ(back.milliseconds, 250);
        EXPECT_EQ(back.dayOfWeek, c.dayOfWeek);
    }
}

TEST(EpochConversion, RoundTripsEveryDayAcrossLeapYearsAndCenturies) {
    const int64_t from = toEpochSeconds(date(1896, 1, 1));
    const int64_t to = toEpochSeconds(date(2104, 12, 31));
    for (int64_t s = from; s <= to; s += 86400 + 3661) {
        LocalTime t = fromEpochSeconds(s);
        ASSERT_EQ(toEpochSeconds(t), s);
        const int64_t days = s >= 0 ? s / 86400 : (s - 86399) / 86400;
        ASSERT_EQ(t.dayOfWeek, ((days % 7) + 11) % 7);
        ASSERT_GE(t.day, 1);
        ASSERT_LE(t.day, 31);
    }
    EXPECT_EQ(fromEpochSeconds(toEpochSeconds(date(2100, 2, 28)) + 86400).month, 3);  // no Feb 29
    EXPECT_EQ(fromEpochSeconds(toEpochSeconds(date(2000, 2, 28)) + 86400).day, 29);
}

TEST(ManualClock, LocalTimeFollowsAdvanceAndSet) {
    ManualClock clock(date(2026, 12, 31, 23, 59, 59));
    clock.advance(1500);
    LocalTime t = clock.localTime();
    EXPECT_EQ(t.year, 2027);
    EXPECT_EQ(t.month, 1);
    EXPECT_EQ(t.day, 1);
    EXPECT_EQ(t.second, 0);
    EXPECT_EQ(t.milliseconds, 500);
    EXPECT_EQ(t.dayOfWeek, 5);

    clock.setLocalTime(date(2024, 2, 28, 23, 59, 59));
    clock.advance(1000);
    t = clock.localTime();
    EXPECT_EQ(t.month, 2);
    EXPECT_EQ(t.day, 29);
    EXPECT_EQ(clock.nowMs(), 2500);  // monotonic time is not affected by a set
}

// The waiting thread reads its start time itself, possibly after the test
// has already advanced; so after the first big step time moves on in single
// milliseconds until the waiter is seen to return.
template <typename Pred>
bool advanceUntil(ManualClock& clock, Pred done) {
    for (int i = 0; i < 5000; ++i) {
        if (test::waitUntil(done, std::chrono::milliseconds(20))) return true;
        clock.advance(1);
    }
    return false;
}

TEST(ManualClock, SleeperWakesOnlyWhenTimeReachesItsDeadline) {
    ManualClock clock;
    std::atomic<bool> started{false}, woke{false};
    std::atomic<int64_t> from{0}, at{0};
    std::thread sleeper([&] {
        from = clock.nowMs();
        started = true;
        clock.sleepMs(500);
        at = clock.nowMs();
        woke = true;
    });
    ASSERT_TRUE(test::waitUntil([&] { return started.load(); }));
    clock.advance(499);
    EXPECT_FALSE(woke.load());
    ASSERT_TRUE(advanceUntil(clock, [&] { return woke.load(); }));
    sleeper.join();
    EXPECT_GE(at.load() - from.load(), 500);
}

TEST(EventWait, TimesOutOnlyWhenPanelTimePassesTheDeadline) {
    ManualClock clock;
    Event ev;
    std::atomic<bool> started{false};
    std::atomic<int> result{-1};
    std::atomic<int64_t> from{0}, at{0};
    std::thread waiter([&] {
        from = clock.nowMs();
        started = true;
        result = ev.wait(clock, 1000) ? 1 : 0;
        at = clock.nowMs();
    });
    ASSERT_TRUE(test::waitUntil([&] { return started.load(); }));
    clock.advance(999);
    EXPECT_EQ(result.load(), -1);
    ASSERT_TRUE(advanceUntil(clock, [&] { return result.load() != -1; }));
    waiter.join();
    EXPECT_EQ(result.load(), 0);
    EXPECT_GE(at.load() - from.load(), 1000);
}

TEST(EventWait, SetReleasesOneWaiterAndClears) {
    ManualClock clock;
    Event ev;
    std::atomic<int> result{-1};
    std::thread waiter([&] { result = ev.wait(clock, 1000) ? 1 : 0; });
    ev.set();
    waiter.join();
    EXPECT_EQ(result.load(), 1);
    EXPECT_EQ(clock.nowMs(), 0);

    // Auto-reset: the set was consumed; a set before the wait is kept.
    result = -1;
    std::thread again([&] { result = ev.wait(clock, 10) ? 1 : 0; });
    clock.advance(10);
    ASSERT_TRUE(advanceUntil(clock, [&] { return result.load() != -1; }));
    again.join();
    EXPECT_EQ(result.load(), 0);
    ev.set();
    EXPECT_TRUE(ev.wait(clock, 0));
}

TEST(EventWait, ForeverTimeoutDoesNotOverflow) {
    ManualClock clock;
    clock.advance(5000);
    Event ev;
    std::atomic<bool> started{false};
    std::atomic<int> result{-1};
    std::thread waiter([&] {
        started = true;
        result = ev.wait(clock, INT64_MAX) ? 1 : 0;
    });
    ASSERT_TRUE(test::waitUntil([&] { return started.load(); }));
    clock.advance(1000000);
    test::waitUntil([&] { return result.load() != -1; }, std::chrono::milliseconds(50));
    EXPECT_EQ(result.load(), -1);
    ev.set();
    waiter.join();
    EXPECT_EQ(result.load(), 1);
}

TEST(RealClock, SetLocalTimeSurvivesARestartThroughTheRegistry) {
    test::TempDir dir;
    const LocalTime target = date(2031, 6, 15, 12, 0, 0);
    {
        Registry reg(dir.file("registry.cfg"));
        RealClock clock(1.0, &reg);
        clock.setLocalTime(target);
        EXPECT_EQ(clock.localTime().day, 15);
    }
    Registry reg(dir.file("registry.cfg"));
    RealClock clock(1.0, &reg);
    LocalTime t = clock.localTime();
    EXPECT_EQ(t.year, 2031);
    EXPECT_EQ(t.month, 6);
    EXPECT_EQ(t.day, 15);
    EXPECT_EQ(t.hour, 12);
}

}  // namespace
}  // namespace vesk
