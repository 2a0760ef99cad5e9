// Pumps, hot water, anti-freeze, anti-legionella and the schedule with the
// real control cycle against the simulated boiler on manual time.
#include <gtest/gtest.h>

#include "closed_loop.h"
#include "control/burner_commands.h"

namespace vesk::test {
namespace {

constexpr Variant kBoth[] = {Variant::Orvena, Variant::Kestralo};

// Pellets with the automatic igniter, lit from cold; true once burning.
bool lightFire(ClosedLoop& loop) {
    loop.s.usr.FUEL = 2;
    loop.s.usr.EN_AUTOHEATER = 1;
    loop.run(2);
    commandBurner(loop.s, kCmdStartIgnition);
    return loop.runUntil([&] { return loop.s.burnerState == kBurning; }, 1800) >= 0;
}

int tank(const ClosedLoop& loop) { return loop.s.readSensor(kSensorDhw); }
int minuteOfDay(const ClosedLoop& loop) {
    const LocalTime t = loop.clock.localTime();
    return t.hour * 60 + t.minute;
}

// Tank colder than U - dU and boiler hotter by O: the tank is charged
// first with the CH pump off, then the house gets the heat; a draw-off
// brings the priority back.
TEST(PumpsSim, DhwPriorityChargesTheTankFirst) {
    for (Variant v : kBoth) {
        ClosedLoop loop(v);
        loop.s.usr.HEAT_MODE = 1;
        loop.s.usr.TDHW_UST = 60;
        ASSERT_TRUE(lightFire(loop));
        int charging = 0, chDuringCharge = 0;
        const int took = loop.runUntil(
            [&] {
                if (loop.s.pumpDhw) {
                    ++charging;
                    chDuringCharge += loop.s.pumpCh;
                }
                return tank(loop) >= 60;
            },
            3 * 3600);
        ASSERT_GE(took, 0) << "tank never reached its target";
        EXPECT_GT(charging, 600);
        EXPECT_EQ(chDuringCharge, 0) << "CH pump ran while the tank had priority";
        loop.run(5);
        EXPECT_EQ(loop.s.pumpDhw, 0);
        EXPECT_EQ(loop.s.pumpCh, 1);

        loop.plant.injections().dhwDrawLPerMin = 12;
        ASSERT_GE(loop.runUntil([&] { return loop.s.pumpDhw == 1; }, 3600), 0);
        EXPECT_LE(tank(loop), 55);
        EXPECT_EQ(loop.s.pumpCh, 0);
        EXPECT_NE(loop.s.controlFlags & kFlagDhwDemand, 0u);
    }
}

TEST(PumpsSim, ParallelPumpsHeatHouseAndTankTogether) {
    ClosedLoop loop(Variant::Orvena);
    loop.s.usr.HEAT_MODE = 2;
    loop.s.usr.TDHW_UST = 60;
    ASSERT_TRUE(lightFire(loop));
    int together = 0, tankHotterThanBoiler = 0;
    ASSERT_GE(loop.runUntil(
                  [&] {
                      together += loop.s.pumpCh && loop.s.pumpDhw;
                      tankHotterThanBoiler += loop.s.pumpDhw && tank(loop) >= loop.s.readSensor(kSensorWater);
                      return tank(loop) >= 60;
                  },
                  4 * 3600),
              0);
    EXPECT_GT(together, 600);
    EXPECT_EQ(tankHotterThanBoiler, 0) << "the tank was cooled into the boiler";
    loop.run(5);
    EXPECT_EQ(loop.s.pumpDhw, 0);
}

// DHW only: the tank is charged, then DHW_OPT_PAUSE minutes after the
// charge the burner pauses; drawing the tank down wakes it again.
TEST(PumpsSim, DhwOnlyModePausesAfterTheCharge) {
    for (Variant v : kBoth) {
        ClosedLoop loop(v);
        loop.s.usr.HEAT_MODE = 3;
        loop.s.usr.TDHW_UST = 60;
        loop.s.usr.DHW_OPT_PAUSE = 5;
        ASSERT_TRUE(lightFire(loop));
        int chOn = 0, lastCharge = -1, t = 0;
        const auto watch = [&] {
            chOn += loop.s.pumpCh;
            if (loop.s.pumpDhw) lastCharge = t;
            ++t;
        };
        ASSERT_GE(loop.runUntil(
                      [&] {
                          watch();
                          return loop.s.burnerState == kPause;
                      },
                      4 * 3600),
                  0);
        ASSERT_GE(lastCharge, 0);
        EXPECT_GE(t - lastCharge, 5 * 60) << "paused before DHW_OPT_PAUSE";
        EXPECT_LE(t - lastCharge, 5 * 60 + 10);
        EXPECT_GE(tank(loop), 56);

        loop.plant.injections().dhwDrawLPerMin = 10;
        ASSERT_GE(loop.runUntil(
                      [&] {
                          watch();
                          return loop.s.burnerState != kPause;
                      },
                      2 * 3600),
                  0);
        EXPECT_LE(tank(loop), 55);
        ASSERT_GE(loop.runUntil(
                      [&] {
                          watch();
                          return loop.s.pumpDhw == 1;
                      },
                      3600),
                  0);
        EXPECT_EQ(chOn, 0) << "no CH pump in DHW-only mode";
    }
}

// A stopped boiler in a freezing boiler room: the CH pump brings the
// house's water through it whenever it reaches ANTI_FREEZE_TEMP.
TEST(PumpsSim, AntiFreezeKeepsAStoppedBoilerAboveFreezing) {
    PlantConfig cold;
    cold.boilerRoomC = -20;
    cold.outdoorBaseC = -15;
    for (int enabled : {1, 0}) {
        ClosedLoop loop(Variant::Orvena, 0x2214, cold);
        loop.plant.setBoilerWaterC(9);
        loop.s.usr.PUMPS_IDLE_MODE = 2;
        loop.s.usr.ANTI_FREEZE_TEMP = 6;
        loop.s.usr.ANTI_FREEZE_ENABLE = enabled;
        int coldest = 100, starts = 0, lastCh = 0;
        loop.runUntil(
            [&] {
                coldest = std::min(coldest, loop.s.readSensor(kSensorWater));
                starts += loop.s.pumpCh && !lastCh;
                lastCh = loop.s.pumpCh;
                return false;
            },
            4 * 3600);
        EXPECT_EQ(loop.s.burnerState, kStop);
        if (enabled) {
            EXPECT_GE(coldest, 5);
            EXPECT_GE(starts, 2) << "the pump should cycle on the 6/8 band";
        } else {
            EXPECT_LT(coldest, 5) << "the plant must actually freeze without the protection";
            EXPECT_EQ(starts, 0);
        }
    }
}

// Sunday, ANTI_LEGION_DAY 6, ANTI_LEGION_CLOCK 120: the boiler stopped at
// 01:55 with its fire still hot. ORVENA takes it back to burning for the
// window and stops it at 04:00; KESTRALO only raises its latch.
TEST(PumpsSim, AntiLegionellaOnSundayNight) {
    for (Variant v : kBoth) {
        const bool orvena = !isKestralo(v);
        ClosedLoop loop(v, 0x2214, {}, {2026, 1, 0, 11, 0, 30, 0, 0});
        loop.s.usr.HEAT_MODE = 1;
        loop.s.usr.ANTI_LEGION_ENABLE = 1;
        loop.s.usr.ANTI_LEGION_DAY = 6;
        loop.s.usr.ANTI_LEGION_CLOCK = 120;
        loop.s.usr.ANTI_LEGION_DURATION = 2;
        ASSERT_TRUE(lightFire(loop));
        ASSERT_GE(loop.runUntil([&] { return minuteOfDay(loop) == 115; }, 2 * 3600), 0);
        commandBurner(loop.s, kCmdStop);
        ASSERT_GE(loop.runUntil([&] { return minuteOfDay(loop) == 120; }, 600), 0);
        loop.run(2);
        EXPECT_EQ(loop.s.pumps.legionActive, 1) << "02:00";
        EXPECT_EQ(loop.s.burnerState, orvena ? kBurning : kStop);
        EXPECT_EQ(loop.s.pumps.legionStarted, orvena ? 1 : 0);

        int dhwOff = 0, notBurning = 0;
        loop.runUntil(
            [&] {
                dhwOff += loop.s.readSensor(kSensorWater) >= loop.s.usr.TPUMPS_ON && !loop.s.pumpDhw;
                notBurning += loop.s.burnerState == kStop;
                return minuteOfDay(loop) == 240;
            },
            3 * 3600);
        EXPECT_EQ(dhwOff, 0) << "the tank is charged throughout the window";
        if (orvena) {
            EXPECT_EQ(notBurning, 0);
        }
        loop.run(2);
        EXPECT_EQ(loop.s.pumps.legionActive, 0) << "04:00";
        EXPECT_EQ(loop.s.burnerState, kStop);
    }
}

// With the fire cold the window can only park the burner in manual
// ignition; its end must give the burner back to stop.
TEST(PumpsSim, AntiLegionellaWithAColdBoiler) {
    ClosedLoop loop(Variant::Orvena, 0x2214, {}, {2026, 1, 0, 11, 1, 58, 0, 0});
    loop.s.usr.HEAT_MODE = 1;
    loop.s.usr.ANTI_LEGION_DAY = 6;
    loop.s.usr.ANTI_LEGION_CLOCK = 120;
    loop.s.usr.ANTI_LEGION_DURATION = 1;
    ASSERT_GE(loop.runUntil([&] { return loop.s.burnerState != kStop; }, 600), 0);
    EXPECT_EQ(minuteOfDay(loop), 120);
    EXPECT_EQ(loop.s.burnerState, kManualIgnition);
    EXPECT_FALSE(loop.plant.fireLit());
    ASSERT_GE(loop.runUntil([&] { return loop.s.burnerState == kStop; }, 2 * 3600), 0);
    EXPECT_EQ(minuteOfDay(loop), 180);
}

// A schedule period with PAUSE pauses a burning boiler for its hours; the
// boiler takes up its work again afterwards.
TEST(PumpsSim, SchedulePausePeriodPausesAndResumes) {
    ClosedLoop loop(Variant::Orvena);  // Monday 08:00
    {
        std::lock_guard<std::mutex> g(loop.schedule.scheduleLock);
        Schedule& sc = loop.schedule.schedule;
        sc.enabled = 1;
        for (int32_t& d : sc.dayProgram) d = 1;
        sc.programs[1].periods[0] = Period{10, 11, 1, 0, 0, 0, 0};
        sc.programs[1].count = 1;
    }
    ASSERT_TRUE(lightFire(loop));
    int pausedEarly = 0;
    ASSERT_GE(loop.runUntil(
                  [&] {
                      pausedEarly += loop.s.burnerState == kPause;
                      return minuteOfDay(loop) == 600;
                  },
                  3 * 3600),
              0);
    EXPECT_EQ(pausedEarly, 0);
    EXPECT_EQ(loop.s.burnerState, kBurning);
    loop.run(2);
    EXPECT_EQ(loop.s.burnerState, kPause) << "10:00";
    int left = 0;
    ASSERT_GE(loop.runUntil(
                  [&] {
                      left += loop.s.burnerState != kPause;
                      return minuteOfDay(loop) == 660;
                  },
                  2 * 3600),
              0);
    EXPECT_EQ(left, 0) << "the pause held for the whole period";
    ASSERT_GE(loop.runUntil([&] { return loop.s.burnerState != kPause; }, 1800), 0);
    EXPECT_GE(loop.runUntil([&] { return loop.s.burnerState == kBurning && loop.plant.fireLit(); }, 3600), 0);
}

}  // namespace
}  // namespace vesk::test
