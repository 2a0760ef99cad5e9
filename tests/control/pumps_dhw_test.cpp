// Hot water over time: the DHW-only pause request, the weekly
// anti-legionella window with its burner commands (ORVENA) or latch only
// (KESTRALO), and the buffer-tank loading.
#include <gtest/gtest.h>

#include "pumps_rig.h"

namespace vesk::test {
namespace {

constexpr Variant kBoth[] = {Variant::Orvena, Variant::Kestralo};

bool pauseRequest(const PumpRig& r) { return (r.s.controlFlags & kFlagDhwOnlyPause) != 0; }

TEST(DhwOptimisation, PauseRequestAfterTheTankStaysWarm) {
    PumpRig r;
    r.s.usr.TDHW_UST = 60;
    r.s.usr.DHW_OPT_DELTA = 5;
    r.s.usr.DHW_OPT_PAUSE = 5;
    auto step = [&](int seconds) {
        r.clock.advance(seconds * 1000LL);
        dhwOptimisationStep(r.ctx);
    };
    r.dhw(58);
    r.s.pumpDhw = 1;
    step(0);
    step(600);
    EXPECT_FALSE(pauseRequest(r)) << "still charging";
    EXPECT_EQ(r.s.pumps.dhwOptStep, 0);

    r.s.pumpDhw = 0;
    step(0);
    EXPECT_EQ(r.s.pumps.dhwOptStep, 1);
    step(299);
    EXPECT_FALSE(pauseRequest(r));
    r.s.pumpDhw = 1;  // a charge that starts late does not stop the wait
    step(1);
    EXPECT_TRUE(pauseRequest(r));

    r.dhw(55);
    step(1);
    EXPECT_FALSE(pauseRequest(r)) << "tank drawn down to U - dU";
    EXPECT_EQ(r.s.pumps.dhwOptStep, 0);

    r.dhw(58);
    r.s.pumpDhw = 0;
    step(1);
    step(300);
    EXPECT_TRUE(pauseRequest(r));
    r.dhw(kInvalidTemp);
    step(1);
    EXPECT_FALSE(pauseRequest(r));
    EXPECT_EQ(r.s.pumps.dhwOptStep, 0);
}

// Sunday 8 March 2026, window from 02:00 for two hours.
struct LegionRig : PumpRig {
    LegionRig(Variant v, int hour, int minute, int gas = 200)
        : PumpRig(v, {2026, 3, 0, 8, static_cast<uint16_t>(hour), static_cast<uint16_t>(minute), 0, 0}) {
        s.usr.HEAT_MODE = 1;
        s.usr.ANTI_LEGION_ENABLE = 1;
        s.usr.ANTI_LEGION_DAY = 6;
        s.usr.ANTI_LEGION_CLOCK = 120;
        s.usr.ANTI_LEGION_DURATION = 2;
        s.burnerState = kStop;
        s.usr.PUMPS_IDLE_MODE = 2;
        water(60);
        dhw(70);
        s.sensors[kSensorGas] = gas;
    }
};

// The burner is only taken to burning when the fire is hot enough, the
// link healthy; otherwise it waits in manual ignition and the window's end
// releases it.
TEST(AntiLegionella, ColdFireWaitsInManualIgnitionUntilTheWindowEnds) {
    for (int gas : {60, 69, kInvalidTemp}) {
        LegionRig r(Variant::Orvena, 2, 0, gas);  // threshold: water 60 + 10
        r.cycle();
        EXPECT_EQ(r.s.burnerState, kManualIgnition) << gas;
        EXPECT_EQ(r.s.pumps.legionStarted, 0);

        // Frost protection still holds while the burner sits there.
        r.water(5);
        r.after(60);
        EXPECT_EQ(r.s.pumpCh, 1);
        r.water(60);

        r.after(2 * 3600);
        EXPECT_EQ(r.s.pumps.legionActive, 0);
        EXPECT_EQ(r.s.burnerState, kStop) << gas;
    }
    LegionRig hot(Variant::Orvena, 2, 0, 70);
    hot.cycle();
    EXPECT_EQ(hot.s.burnerState, kBurning) << "at the threshold";

    LegionRig r(Variant::Orvena, 2, 0, 70);
    r.s.linkOk = 0;
    r.cycle();
    EXPECT_EQ(r.s.burnerState, kManualIgnition) << "link down";
    r.s.linkOk = 1;

    // An operator who lit the fire by hand keeps it after the window.
    r.s.burnerState = kBlowup;
    r.after(2 * 3600);
    EXPECT_EQ(r.s.burnerState, kBlowup);
}

TEST(AntiLegionella, SwitchedOffMidRun) {
    LegionRig r(Variant::Orvena, 2, 30);
    r.cycle();
    ASSERT_EQ(r.s.burnerState, kBurning);
    r.s.usr.HEAT_MODE = 0;
    r.after(60);
    EXPECT_EQ(r.s.pumps.legionActive, 0);
    EXPECT_EQ(r.s.pumps.legionStarted, 0);
    EXPECT_EQ(r.s.burnerState, kBurning) << "burns on as the user's own";

    LegionRig m(Variant::Orvena, 2, 30, 20);
    m.cycle();
    ASSERT_EQ(m.s.burnerState, kManualIgnition);
    m.s.usr.ANTI_LEGION_ENABLE = 0;
    m.after(60);
    EXPECT_EQ(m.s.burnerState, kStop);
}

TEST(AntiLegionella, WindowAcrossTheWeekEnd) {
    struct Case {
        int dow, day, hour, minute;
        int active;
    } cases[] = {
        {0, 8, 22, 59, 0}, {0, 8, 23, 0, 1}, {1, 9, 0, 59, 1}, {1, 9, 1, 0, 0},
    };
    for (const Case& k : cases) {
        PumpRig r(Variant::Kestralo, {2026, 3, static_cast<uint16_t>(k.dow), static_cast<uint16_t>(k.day),
                                      static_cast<uint16_t>(k.hour), static_cast<uint16_t>(k.minute), 0, 0});
        r.s.usr.HEAT_MODE = 3;
        r.s.usr.ANTI_LEGION_ENABLE = 1;
        r.s.usr.ANTI_LEGION_DAY = 6;
        r.s.usr.ANTI_LEGION_CLOCK = 23 * 60;
        r.s.usr.ANTI_LEGION_DURATION = 2;
        r.cycle();
        EXPECT_EQ(r.s.pumps.legionActive, k.active) << k.day << " " << k.hour << ":" << k.minute;
    }
    // Clock 1440 on Sunday is Monday midnight.
    PumpRig r(Variant::Kestralo, {2026, 3, 1, 9, 0, 0, 0, 0});
    r.s.usr.HEAT_MODE = 3;
    r.s.usr.ANTI_LEGION_DAY = 6;
    r.s.usr.ANTI_LEGION_CLOCK = 1440;
    r.s.usr.ANTI_LEGION_DURATION = 1;
    r.cycle();
    EXPECT_EQ(r.s.pumps.legionActive, 1);
}

// Tank loaded to 70, reloaded below 50; loop pump 45 on, 40 off.
struct TankRig : PumpRig {
    TankRig() {
        s.usr.PRIME_LOOP_TYPE = 1;
        s.usr.USE_HYDROSEP = 1;
        s.usr.PRIME_LOOP_TANK_UST = 70;
        s.usr.PRIME_LOOP_TANK_LOAD_DELTA = 20;
        s.usr.TRC_HSEP_ON = 45;
        s.usr.TRC_HSEP_OFF = 40;
    }
};

TEST(BufferTank, LoadingRunFromBurning) {
    TankRig r;
    r.s.burner.keepMode = 1;
    r.water(51);
    bufferTankLoadingStep(r.ctx);
    EXPECT_EQ(r.s.pumps.tankLoading, 0);
    EXPECT_EQ(r.s.burnerState, kBurning);

    r.water(50);
    r.s.controlFlags = 0;
    bufferTankLoadingStep(r.ctx);
    EXPECT_EQ(r.s.pumps.tankLoading, 1);
    EXPECT_EQ(r.s.burnerState, kBlowup);
    EXPECT_EQ(r.s.burner.keepMode, 0);
    EXPECT_NE(r.s.controlFlags & kFlagStateEntry, 0u);
    EXPECT_EQ(r.s.pumpLoop, 1);

    const std::pair<int, int> loop[] = {{44, 1}, {41, 1}, {40, 0}, {44, 0}, {45, 1}, {69, 1}};
    for (auto [w, on] : loop) {
        r.water(w);
        r.s.controlFlags = 0;
        bufferTankLoadingStep(r.ctx);
        EXPECT_EQ(r.s.pumpLoop, on) << w;
        EXPECT_EQ(r.s.controlFlags & kFlagStateEntry, 0u) << "no second entry";
    }

    // Tank hot in blow-up: loading ends, blow-up is left alone.
    r.s.burner.subState = 1;
    r.water(70);
    bufferTankLoadingStep(r.ctx);
    EXPECT_EQ(r.s.pumps.tankLoading, 0);
    EXPECT_EQ(r.s.pumpLoop, 0);
    EXPECT_EQ(r.s.burner.keepMode, 0);
    EXPECT_EQ(r.s.burner.subState, 1);

    // In burning the tank at temperature holds the fire in maintenance.
    r.s.burnerState = kBurning;
    r.water(72);
    bufferTankLoadingStep(r.ctx);
    EXPECT_EQ(r.s.burner.keepMode, 1);
    r.water(60);
    r.s.pumpLoop = 1;
    bufferTankLoadingStep(r.ctx);
    EXPECT_EQ(r.s.pumpLoop, 1) << "no loading: the pump is left as it is";
}

TEST(BufferTank, OnlyWithTankAndSeparatorWhileTheBurnerRuns) {
    for (int which = 0; which < 3; ++which) {
        TankRig r;
        if (which == 0) r.s.usr.PRIME_LOOP_TYPE = 0;
        if (which == 1) r.s.usr.USE_HYDROSEP = 0;
        if (which == 2) r.s.burnerState = kStop;
        const int state = r.s.burnerState;
        r.water(30);
        bufferTankLoadingStep(r.ctx);
        EXPECT_EQ(r.s.pumps.tankLoading, 0) << which;
        EXPECT_EQ(r.s.burnerState, state) << which;
    }
}

}  // namespace
}  // namespace vesk::test
