// Weekly schedule: hour boundaries, the weekday map, programs that match
// nothing, and the result the control cycle keeps.
#include <gtest/gtest.h>

#include "control/schedule_eval.h"
#include "pumps_rig.h"

namespace vesk::test {
namespace {

Period period(int begin, int end, int air = 0) { return Period{begin, end, 0, air ? 1 : 0, air, 0, 0}; }

Schedule oneProgram(std::initializer_list<Period> periods, int program = 2) {
    Schedule s;
    s.enabled = 1;
    for (int& d : s.dayProgram) d = program;
    for (const Period& p : periods) s.programs[program].periods[s.programs[program].count++] = p;
    return s;
}

LocalTime at(int dayOfWeek, int hour, int minute = 0, int second = 0) {
    return LocalTime{2026, 3, static_cast<uint16_t>(dayOfWeek), 10, static_cast<uint16_t>(hour),
                     static_cast<uint16_t>(minute), static_cast<uint16_t>(second), 0};
}

TEST(ScheduleEval, PeriodCoversItsHoursOnly) {
    const Schedule s = oneProgram({period(6, 22, 19)});
    Period out;
    EXPECT_EQ(evaluateSchedule(s, at(2, 5, 59, 59), out), 0);
    EXPECT_EQ(evaluateSchedule(s, at(2, 6, 0, 0), out), 1);
    EXPECT_EQ(out.airTarget, 19);
    EXPECT_EQ(evaluateSchedule(s, at(2, 21, 59, 59), out), 1);
    EXPECT_EQ(evaluateSchedule(s, at(2, 22, 0, 0), out), 0);

    const Schedule late = oneProgram({period(23, 24)});
    EXPECT_EQ(evaluateSchedule(late, at(2, 23, 59, 59), out), 1);
    EXPECT_EQ(evaluateSchedule(late, at(3, 0, 0, 0), out), 0);
}

TEST(ScheduleEval, WeekdayMapIsMondayFirst) {
    EXPECT_EQ(mondayFirstDay(0), 6);
    EXPECT_EQ(mondayFirstDay(1), 0);
    EXPECT_EQ(mondayFirstDay(6), 5);
    EXPECT_EQ(mondayFirstDay(7), -1);

    Schedule s = oneProgram({period(0, 24, 17)}, 1);
    for (int& d : s.dayProgram) d = kNoProgram;
    s.dayProgram[6] = 1;  // Sunday only
    Period out;
    EXPECT_EQ(evaluateSchedule(s, at(0, 12), out), 1) << "Sunday is the seventh entry";
    for (int dow = 1; dow <= 6; ++dow) EXPECT_EQ(evaluateSchedule(s, at(dow, 12), out), 0) << dow;

    s.dayProgram[6] = kNoProgram;
    s.dayProgram[0] = 1;  // Monday only
    EXPECT_EQ(evaluateSchedule(s, at(1, 12), out), 1);
    EXPECT_EQ(evaluateSchedule(s, at(0, 12), out), 0);
}

TEST(ScheduleEval, NothingMatchesWithoutAProgram) {
    Schedule s = oneProgram({period(0, 24)});
    Period out = period(3, 4, 11);
    for (int32_t none : {kNoProgram, 5, -1, 1000}) {
        s.dayProgram[mondayFirstDay(2)] = none;
        EXPECT_EQ(evaluateSchedule(s, at(2, 12), out), 0) << none;
    }
    EXPECT_EQ(out.begin, 3) << "destination untouched";

    s = oneProgram({period(0, 24)});
    s.enabled = 0;
    EXPECT_EQ(evaluateSchedule(s, at(2, 12), out), 0) << "disabled";

    s = oneProgram({});
    s.enabled = 1;
    EXPECT_EQ(evaluateSchedule(s, at(2, 12), out), 0) << "empty program";
}

TEST(ScheduleEval, FirstPeriodInOrderWins) {
    const Schedule s = oneProgram({period(0, 6, 15), period(8, 20, 21), period(10, 12, 25)});
    Period out;
    ASSERT_EQ(evaluateSchedule(s, at(4, 11), out), 1);
    EXPECT_EQ(out.airTarget, 21);
    ASSERT_EQ(evaluateSchedule(s, at(4, 3), out), 1);
    EXPECT_EQ(out.airTarget, 15);
    EXPECT_EQ(evaluateSchedule(s, at(4, 7), out), 0);
}

// The step keeps the result where the other steps read it and forgets an
// ended period's targets.
TEST(ScheduleEval, StepStoresResultEachCycle) {
    PumpRig r(Variant::Orvena, {2026, 3, 2, 10, 21, 59, 58, 0});
    {
        std::lock_guard<std::mutex> g(r.schedule.scheduleLock);
        r.schedule.schedule = oneProgram({Period{6, 22, 1, 1, 18, 1, 55}});
    }
    r.cycle();
    EXPECT_EQ(r.s.scheduleActive, 1);
    EXPECT_EQ(r.s.activePeriod.pause, 1);
    EXPECT_EQ(r.s.activePeriod.waterTarget, 55);
    r.after(1);
    EXPECT_EQ(r.s.scheduleActive, 1) << "21:59:59";
    r.after(1);
    EXPECT_EQ(r.s.scheduleActive, 0) << "22:00:00";
    EXPECT_EQ(r.s.activePeriod.pause, 0);
    EXPECT_EQ(r.s.activePeriod.useWater, 0);
}

}  // namespace
}  // namespace vesk::test
