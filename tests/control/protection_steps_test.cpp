// The fuel-path protections step by step on manual time: emergency start,
// ash remover and bunker filling.
#include <gtest/gtest.h>

#include "control/faults.h"
#include "protection_rig.h"

namespace vesk::test {
namespace {

constexpr Variant kBoth[] = {Variant::Orvena, Variant::Kestralo};

struct EmergencyRig : StepRig {
    explicit EmergencyRig(Variant v) : StepRig(v) {
        s.svc.EMSTART_ENABLE = 1;
        s.usr.WORM_TEMP_SENSOR_ENABLE = 1;
        s.svc.EMSTART_TEMP = 75;
        s.svc.EMSTART_DELTA = 3;
        s.svc.EMSTART_TIMEON = 20;
        s.svc.EMSTART_TIMEOFF = 2;
    }
    // One cycle at tube temperature `t`, then a second passes.
    void cycle(int t) {
        s.sensors[kSensorValve2] = t;
        emergencyStartStep(ctx);
        second();
    }
    // Cycles at `t` while the mode stays `mode`; returns how many.
    int hold(int t, int mode, int limit = 1000) {
        int n = 0;
        while (s.emergencyMode == mode && n < limit) {
            cycle(t);
            if (s.emergencyMode == mode) ++n;
        }
        return n;
    }
    bool fault() const { return s.faults & kFaultAugerOverheat; }
};

TEST(EmergencyStart, FeedPauseHalfFeedLongPauseAndTheBand) {
    EmergencyRig r(Variant::Orvena);
    r.cycle(74);
    EXPECT_EQ(r.s.emergencyMode, 0);
    r.cycle(75);
    ASSERT_EQ(r.s.emergencyMode, 1) << "exactly EMSTART_TEMP starts a feed";
    EXPECT_TRUE(r.fault());
    EXPECT_EQ(r.hold(80, 1), 19) << "EMSTART_TIMEON seconds of feed";
    ASSERT_EQ(r.s.emergencyMode, 2);
    EXPECT_EQ(r.s.protection.emergencyLastTemp, 80);
    EXPECT_EQ(r.s.countdown(kTAux5), 1) << "the first pause is EMSTART_TIMEOFF seconds";

    // Still rising after the pause: a feed of half the length.
    EXPECT_EQ(r.hold(81, 2), 1);
    ASSERT_EQ(r.s.emergencyMode, 1);
    EXPECT_EQ(r.hold(81, 1), 9);
    ASSERT_EQ(r.s.emergencyMode, 2);

    // Steady (or falling): the pause is counted in minutes this time.
    r.cycle(81);
    r.cycle(79);
    EXPECT_EQ(r.s.emergencyMode, 2);
    EXPECT_EQ(r.s.protection.emergencyLastTemp, 79);
    EXPECT_EQ(r.s.countdown(kTAux5), 2 * 60 - 1);

    // 73 is above 75 - 3 and holds the pause; 72 ends it.
    r.cycle(73);
    EXPECT_EQ(r.s.emergencyMode, 2);
    r.cycle(72);
    EXPECT_EQ(r.s.emergencyMode, 0);
    EXPECT_EQ(r.s.protection.emergencyStep, 0);
    EXPECT_FALSE(r.fault());
    r.cycle(74);
    EXPECT_EQ(r.s.emergencyMode, 0) << "below EMSTART_TEMP nothing starts";
}

TEST(EmergencyStart, LostReadingAndSwitchedOffProtection) {
    for (Variant v : kBoth) {
        EmergencyRig r(v);
        r.cycle(90);
        ASSERT_EQ(r.s.emergencyMode, 1);
        for (int i = 0; i < 30; ++i) r.cycle(kInvalidTemp);
        EXPECT_EQ(r.s.emergencyMode, 1) << "a broken sensor is no sign of cooling";
        EXPECT_TRUE(r.fault());
        r.cycle(90);
        EXPECT_EQ(r.s.emergencyMode, 2);
        EXPECT_EQ(r.s.protection.emergencyLastTemp, 90);

        // A fault pass in firewood mode clears the word; the protection puts
        // its fault back while it acts.
        r.s.usr.BURN_MODE = 2;
        evaluateFaults(r.ctx);
        EXPECT_FALSE(r.fault());
        r.cycle(90);
        EXPECT_TRUE(r.fault());
        r.s.usr.BURN_MODE = 0;

        // Switching the protection off while it acts releases the auger.
        r.s.usr.WORM_TEMP_SENSOR_ENABLE = 0;
        evaluateFaults(r.ctx);
        EXPECT_EQ(r.s.emergencyMode, 0);
        EXPECT_EQ(r.s.protection.emergencyStep, 0);
        EXPECT_FALSE(r.fault());
    }
}

struct AshRig : StepRig {
    explicit AshRig(Variant v) : StepRig(v) {
        s.usr.USE_ASH = 1;
        s.usr.ASH_TIME_ON = 10;
        s.usr.ASH_TIME_OFF = 1;
        s.burnerState = kBurning;
    }
    bool on() const { return s.outputFlags & kOutAshRemover; }
    // Runs `n` cycles; returns how many of them left the remover on.
    int run(int n) {
        int count = 0;
        for (int i = 0; i < n; ++i) {
            ashRemoverStep(ctx);
            count += on();
            second();
        }
        return count;
    }
};

TEST(AshRemover, SecondsOnMinutesOffAndAPauseLeavesTheCountdownRunning) {
    AshRig r(Variant::Orvena);
    EXPECT_EQ(r.run(11), 10) << "ten seconds on";
    EXPECT_EQ(r.wakes, 2);
    EXPECT_EQ(r.run(59), 0) << "a minute off";
    EXPECT_EQ(r.run(3), 3);
    EXPECT_EQ(r.wakes, 3);

    r.s.burnerState = kPause;
    EXPECT_EQ(r.run(1), 0);
    EXPECT_EQ(r.s.protection.ashOn, 0);
    EXPECT_EQ(r.wakes, 4) << "switching off wakes the link";
    // Back to burning: the run's countdown still has six seconds to go.
    r.s.burnerState = kBurning;
    EXPECT_EQ(r.run(6), 0);
    EXPECT_EQ(r.run(1), 1);
}

TEST(AshRemover, RunsOnlyWhileTheBurnerWorks) {
    for (Variant v : kBoth) {
        for (int state : {kStop, kManualIgnition, kIgnition, kBurning, kBlowup, kPause, kFuelLoading,
                          kAugerReverseTest}) {
            AshRig r(v);
            r.s.burnerState = state;
            const bool runs = state == kIgnition || state == kBurning || state == kBlowup || state == kFuelLoading ||
                              (state == kAugerReverseTest && v == Variant::Orvena);
            EXPECT_EQ(r.run(1), runs ? 1 : 0) << "state " << state << " variant " << static_cast<int>(v);
        }
        AshRig off(v);
        off.s.usr.USE_ASH = 0;
        EXPECT_EQ(off.run(1), 0);
    }
}

struct BunkerRig : StepRig {
    BunkerRig() : StepRig(Variant::Orvena) {
        s.usr.BUNK_AUTOFILL = 1;
        s.usr.USE_EMPTY_SENS = 1;
        s.usr.USE_FULL_SENS = 1;
        s.usr.BUNK_TOUT = 60;
    }
    bool on() const { return s.outputFlags & kOutBunkerFiller; }
    void cycle(uint8_t inputs) {
        s.boardInputs = inputs;
        bunkerFillingStep(ctx);
        second();
    }
    bool failed() const { return s.controlFlags & kFlagBunkerFillFailed; }
};

TEST(BunkerFilling, TimeOutWithTheBunkerStillEmptyIsAFailure) {
    BunkerRig r;
    int cycles = 0;
    r.cycle(kInBunkerEmpty);
    while (r.on() && cycles < 100) {
        r.cycle(kInBunkerEmpty);
        ++cycles;
    }
    EXPECT_EQ(cycles, 60) << "BUNK_TOUT seconds";
    EXPECT_TRUE(r.failed());
    EXPECT_EQ(r.s.protection.bunkerStep, 2);
    evaluateWarnings(r.ctx);
    EXPECT_NE(r.s.warnings & kWarnBunkerNotFilled, 0u);

    for (int i = 0; i < 100; ++i) r.cycle(kInBunkerEmpty);
    EXPECT_FALSE(r.on()) << "no new fill while it stays empty";
    EXPECT_EQ(r.s.protection.bunkerStep, 2);

    // Filled by hand: the logic re-arms, the failure stays shown.
    r.cycle(0);
    EXPECT_EQ(r.s.protection.bunkerStep, 0);
    EXPECT_TRUE(r.failed());
    r.cycle(kInBunkerEmpty);
    EXPECT_TRUE(r.on());

    // A full sensor that ends the fill while the empty one still reads
    // empty is a failure as well.
    r.cycle(kInBunkerEmpty | kInBunkerFull);
    EXPECT_FALSE(r.on());
    EXPECT_EQ(r.s.protection.bunkerStep, 2);

    // Turning automatic filling off clears the failure.
    r.s.usr.BUNK_AUTOFILL = 0;
    r.cycle(0);
    EXPECT_FALSE(r.failed());
    evaluateWarnings(r.ctx);
    EXPECT_EQ(r.s.warnings & kWarnBunkerNotFilled, 0u);
}

// Automatic filling switched on while the filler already runs for an empty
// bunker: the restart gives the fill its whole time-out.
TEST(BunkerFilling, SwitchingAutofillOnWhileEmptyFillsForTheWholeTimeOut) {
    BunkerRig r;
    r.s.usr.BUNK_AUTOFILL = 0;
    for (int i = 0; i < 5; ++i) r.cycle(kInBunkerEmpty);
    ASSERT_TRUE(r.on());
    r.s.usr.BUNK_AUTOFILL = 1;
    r.s.controlFlags |= kFlagBunkerRestart;  // what every change path sets
    r.cycle(kInBunkerEmpty);
    int cycles = 0;
    while (r.on() && cycles < 100) {
        r.cycle(kInBunkerEmpty);
        ++cycles;
    }
    EXPECT_EQ(cycles, 60) << "BUNK_TOUT seconds";
}

TEST(BunkerFilling, RestartFirewoodAndManualMode) {
    BunkerRig r;
    r.s.usr.BUNK_TOUT = 10;
    for (int i = 0; i < 12; ++i) r.cycle(kInBunkerEmpty);
    ASSERT_EQ(r.s.protection.bunkerStep, 2);
    r.s.controlFlags |= kFlagBunkerRestart;
    r.cycle(kInBunkerEmpty);
    EXPECT_EQ(r.s.controlFlags & kFlagBunkerRestart, 0u);
    EXPECT_TRUE(r.on()) << "a restart tries again at once";

    r.s.usr.BURN_MODE = 2;
    r.cycle(kInBunkerEmpty);
    EXPECT_FALSE(r.on());
    EXPECT_EQ(r.s.protection.bunkerStep, 0);

    // Without automatic filling the filler follows the empty sensor, with no
    // time limit, and a full sensor stops it.
    r.s.usr.BURN_MODE = 0;
    r.s.usr.BUNK_AUTOFILL = 0;
    for (int i = 0; i < 200; ++i) r.cycle(kInBunkerEmpty);
    EXPECT_TRUE(r.on());
    EXPECT_FALSE(r.failed());
    r.cycle(0);
    EXPECT_FALSE(r.on());
    r.cycle(kInBunkerEmpty | kInBunkerFull);
    EXPECT_FALSE(r.on());
    r.s.usr.USE_EMPTY_SENS = 0;
    r.cycle(kInBunkerEmpty);
    EXPECT_FALSE(r.on()) << "an empty sensor not in use fills nothing";
}

}  // namespace
}  // namespace vesk::test
