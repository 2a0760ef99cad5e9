#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "combustion_rig.h"
#include "control/burner_commands.h"
#include "control/burner_manual.h"
#include "control/regulation.h"

namespace vesk::test {
namespace {

constexpr uint32_t kWentOut = 0x001;

// Automatic steps until `done` holds; false when `limit` seconds pass.
bool runUntil(CombustionRig& r, const std::function<bool()>& done, int limit) {
    for (int i = 0; i < limit; ++i) {
        if (done()) return true;
        r.automatic();
    }
    return done();
}

TEST(Ignition, ThreeDegreesRiseKeepsTheIgniterTwoStartsAnewAttempt) {
    for (int rise : {3, 2}) {
        CombustionRig r;
        r.water(20);
        r.gas(30);
        r.state(kIgnition);
        ASSERT_TRUE(runUntil(r, [&] { return r.s.burner.ignitionStep == 2; }, 200));
        r.gas(30 + rise);
        ASSERT_TRUE(runUntil(r, [&] { return r.s.burner.ignitionStep != 2; }, 400));
        r.automatic();
        if (rise == 3) {
            EXPECT_EQ(r.s.burner.ignitionStep, 2) << "a further window";
            EXPECT_EQ(r.s.burner.ignitionTries, 3);
            EXPECT_EQ(r.s.burner.ignitionStartGas, 33) << "measured from the present gas";
            EXPECT_FALSE(r.pulse.running());
        } else {
            EXPECT_EQ(r.s.burner.ignitionTries, 2);
            EXPECT_TRUE(r.pulse.running()) << "a fresh feed";
            EXPECT_EQ(r.s.pulseOnMs, 60000);
            EXPECT_FALSE(r.s.controlFlags & kFlagIgniter);
        }
    }
}

TEST(Ignition, NoAttemptsFailsAtOnce) {
    CombustionRig r;
    r.water(20);
    r.gas(30);
    r.s.svc.BURNUP_TRY = 0;
    r.s.usr.ANTI_JAM_DAY = 0;
    r.state(kIgnition);
    r.automatic();
    EXPECT_EQ(r.s.burnerState, kStop);
    EXPECT_TRUE(r.s.warnings & kWentOut);
    EXPECT_EQ(r.fedMs, 0);
    EXPECT_EQ(r.s.usr.ANTI_JAM_DAY, antiJamDayNumber(r.clock.localTime())) << "a failed ignition is a stop";
}

TEST(Ignition, SuccessAtTheBurnupThreshold) {
    CombustionRig r;
    r.water(50);  // threshold 60
    r.gas(59);
    r.s.controlFlags |= kFlagBlowupFromBurning;
    r.state(kIgnition);
    r.automatic(5);
    EXPECT_EQ(r.s.burnerState, kIgnition);
    EXPECT_TRUE(r.pulse.running());
    r.gas(60);
    r.automatic();
    EXPECT_EQ(r.s.burnerState, kBlowup);
    EXPECT_FALSE(r.pulse.running()) << "the feed stops";
    EXPECT_FALSE(r.s.controlFlags & kFlagBlowupFromBurning);
    EXPECT_TRUE(r.s.controlFlags & kFlagStateEntry);
}

TEST(Blowup, RunsHalfPowerThenJudgesTheFire) {
    for (int gasAtEnd : {40, 41}) {
        CombustionRig r;
        r.s.usr.FUEL = 2;  // BLOWUP_TIME 3 min
        r.water(35);       // threshold 45: the fire took above 40
        r.gas(60);
        r.s.controlFlags |= kFlagIgniter;
        r.state(kBlowup);
        r.automatic();
        EXPECT_EQ(r.s.fanPower, fanForPower(r.s, 100));
        EXPECT_TRUE(r.pulse.running());
        const AugerTiming half = augerTiming(r.s, 12800);
        EXPECT_EQ(r.s.pulseOnMs, half.onTenths * 100);
        EXPECT_EQ(r.s.pulseOffMs, half.offTenths * 100);
        r.automatic(178);
        EXPECT_EQ(r.s.burnerState, kBlowup);
        r.gas(gasAtEnd);
        r.automatic(2);
        if (gasAtEnd == 40) {
            EXPECT_EQ(r.s.burnerState, kIgnition) << "the fire did not take";
            EXPECT_TRUE(r.s.controlFlags & kFlagIgnitionFromBlowup);
            r.automatic();
            EXPECT_EQ(r.s.pulseOnMs, 2 * r.s.svc.WORM_BURNUP * 1000) << "the grate still holds fuel";
        } else {
            EXPECT_EQ(r.s.burnerState, kBurning);
            EXPECT_FALSE(r.s.controlFlags & kFlagIgniter);
        }
    }
}

TEST(Blowup, HotFireOrNoBlowupTimeGoesStraightToBurning) {
    CombustionRig r;
    r.s.usr.FUEL = 2;
    r.water(35);
    r.gas(101);
    r.s.controlFlags |= kFlagIgniter;
    r.state(kBlowup);
    r.automatic();
    EXPECT_EQ(r.s.burnerState, kBurning);
    EXPECT_FALSE(r.s.controlFlags & kFlagIgniter);

    CombustionRig q;
    q.s.usr.FUEL = 3;  // BLOWUP_TIME left at 0
    q.water(35);
    q.gas(60);
    q.state(kBlowup);
    q.automatic();
    EXPECT_EQ(q.s.burnerState, kBurning);
}

// Burning with water regulation only: room sensor absent, flue gas cool.
struct Burning : ::testing::TestWithParam<Variant> {
    Burning() : r(GetParam()) {
        r.s.sensors[kSensorAir] = kInvalidTemp;
        r.s.usr.FUEL = 2;
        r.gas(150);
        r.water(60);
        r.state(kBurning);
        r.automatic();
    }
    // Water at target + `delta` with the regulators asking for power.
    void cycleAt(int delta) {
        r.water(75 + delta);
        r.s.combustion.water.iCommitted = 25600;
        r.automatic();
    }
    CombustionRig r;
};

TEST_P(Burning, MaintenanceBandAroundTheTarget) {
    EXPECT_EQ(r.s.burnerState, kBurning);
    EXPECT_EQ(r.s.burner.keepMode, 0);
    EXPECT_TRUE(r.pulse.running()) << "the auger follows the power";
    cycleAt(4);
    EXPECT_EQ(r.s.burner.keepMode, 0) << "target + 4 does not enter";
    cycleAt(5);
    EXPECT_EQ(r.s.burner.keepMode, 1);
    EXPECT_EQ(r.s.burner.subState, 0);
    EXPECT_FALSE(r.pulse.running());
    cycleAt(4);
    EXPECT_EQ(r.s.burner.keepMode, 1) << "target + 4 does not leave";
    cycleAt(3);
    EXPECT_EQ(r.s.burner.keepMode, 0);
    EXPECT_TRUE(r.pulse.running());
}

TEST_P(Burning, LowDemandEntersMaintenance) {
    r.water(76);
    r.s.combustion.water.iCommitted = 0;
    r.automatic();
    EXPECT_EQ(r.s.burner.keepMode, 1) << "P under POW_UST_MIN";
    EXPECT_EQ(r.s.burner.powerDisplay, 13) << "the regulators' floor, rounded";
}

TEST_P(Burning, OverheatLatchAt91) {
    r.s.scheduleActive = 1;
    r.s.activePeriod.useWater = 1;
    r.s.activePeriod.waterTarget = 90;  // so only the latch can enter
    auto at = [&](int w) {
        r.water(w);
        r.s.combustion.water.iCommitted = 25600;
        r.automatic();
    };
    at(91);
    EXPECT_EQ(r.s.burner.overheatLatch, 0);
    EXPECT_EQ(r.s.burner.keepMode, 0);
    at(92);
    EXPECT_EQ(r.s.burner.overheatLatch, 1);
    EXPECT_EQ(r.s.burner.keepMode, 1);
    at(91);
    EXPECT_EQ(r.s.burner.overheatLatch, 1);
    at(90);
    EXPECT_EQ(r.s.burner.overheatLatch, 0);
    EXPECT_EQ(r.s.burner.keepMode, 0) << "90 is within target + 3";
}

TEST_P(Burning, FlameLostGoesToBlowup) {
    r.s.controlFlags |= kFlagIgniter;
    r.gas(66);  // water 60: threshold 70, lost at 65
    r.automatic();
    EXPECT_EQ(r.s.burnerState, kBurning);
    r.gas(65);
    r.automatic();
    EXPECT_EQ(r.s.burnerState, kBlowup);
    EXPECT_TRUE(r.s.controlFlags & kFlagBlowupFromBurning);
    EXPECT_EQ(bool(r.s.controlFlags & kFlagIgniter), !isKestralo(GetParam()))
        << "KESTRALO switches the igniter off on the way";
}

TEST_P(Burning, ScheduleAndHotWaterPauses) {
    r.s.scheduleActive = 1;
    r.s.activePeriod.pause = 1;
    r.automatic(2);
    EXPECT_EQ(r.s.burnerState, kPause);
    EXPECT_EQ(r.s.fanPower, 0);
    EXPECT_FALSE(r.pulse.running());
    r.automatic(10);
    EXPECT_EQ(r.s.burnerState, kPause) << "the period keeps it paused";
    r.s.activePeriod.pause = 0;
    r.water(76);
    r.automatic();
    EXPECT_EQ(r.s.burnerState, kPause) << "resumes only once the water is down to the target";
    r.water(75);
    r.automatic();
    EXPECT_EQ(r.s.burnerState, kBurning);

    r.s.usr.HEAT_MODE = 3;
    r.s.controlFlags |= kFlagDhwOnlyPause;
    r.automatic();
    EXPECT_EQ(r.s.burnerState, kPause);
    r.s.controlFlags &= ~kFlagDhwOnlyPause;
    r.s.sensors[kSensorDhw] = r.s.usr.TDHW_UST - r.s.svc.DHW_HYST + 1;
    r.automatic();
    EXPECT_EQ(r.s.burnerState, kPause) << "the tank is still warm";
    r.s.sensors[kSensorDhw] = r.s.usr.TDHW_UST - r.s.svc.DHW_HYST;
    r.automatic();
    EXPECT_EQ(r.s.burnerState, kBurning);
    r.s.sensors[kSensorDhw] = kInvalidTemp;
    r.automatic();
    EXPECT_EQ(r.s.burnerState, kPause);
}

INSTANTIATE_TEST_SUITE_P(Variants, Burning, ::testing::Values(Variant::Orvena, Variant::Kestralo));

TEST(Maintenance, ChimneyCycleAndWentOut) {
    CombustionRig r;
    UserParams& u = r.s.usr;
    ServiceParams& g = r.s.svc;
    r.s.sensors[kSensorAir] = kInvalidTemp;
    u.FUEL = 2;
    u.CHIMN_TOFF = 60;
    u.CHIMN_TON = 5;
    r.gas(150);
    r.water(85);  // target + 10: maintenance
    r.state(kBurning);
    r.automatic();
    ASSERT_EQ(r.s.burner.keepMode, 1);
    EXPECT_EQ(r.s.burner.subState, 0);
    EXPECT_EQ(r.s.fanPower, 0) << "no keep-alive puffs configured";
    r.gas(g.GAS_KEEP);
    r.automatic();
    EXPECT_EQ(r.s.burner.subState, 1);
    EXPECT_EQ(r.s.countdown(kTStage), 60 * 60 - 1);
    r.automatic();
    EXPECT_TRUE(r.pulse.running()) << "the auger keeps the embers fed";
    EXPECT_EQ(r.s.pulseOnMs, augerTiming(r.s, maintenancePower(r.s)).onTenths * 100);
    EXPECT_EQ(r.s.fanPower, 0);
    r.gas(g.GAS_KEEP + 15);
    r.automatic();
    EXPECT_EQ(r.s.burner.subState, 0) << "the fire came back";
    r.gas(g.GAS_KEEP);
    r.automatic();
    ASSERT_EQ(r.s.burner.subState, 1);
    r.gas(g.GAS_BURNUP - 4);
    r.automatic(3590);
    EXPECT_EQ(r.s.burner.subState, 1);
    ASSERT_TRUE(runUntil(r, [&] { return r.s.burner.subState == 2; }, 20));
    EXPECT_EQ(r.s.pulseOnMs, g.PRECHIMN_WORM * 1000);
    EXPECT_EQ(r.s.pulseCount, 1);
    ASSERT_TRUE(runUntil(r, [&] { return r.s.burner.subState == 3; }, g.PRECHIMN_WORM + 2));
    r.automatic();
    EXPECT_EQ(r.s.fanPower, fanForPower(r.s, u.POW_UST_MIN));
    EXPECT_TRUE(r.pulse.running());
    ASSERT_TRUE(runUntil(r, [&] { return r.s.burnerState != kBurning; }, 5 * 60 + 2));
    EXPECT_EQ(r.s.burnerState, kBlowup) << "still under GAS_BURNUP after the draught run";
    EXPECT_TRUE(r.s.controlFlags & kFlagBlowupFromBurning);

    // Sub-state 1 notices a dead fire at once.
    CombustionRig q;
    q.s.sensors[kSensorAir] = kInvalidTemp;
    q.gas(q.s.svc.GAS_KEEP);
    q.water(85);
    q.state(kBurning);
    q.automatic(2);
    ASSERT_EQ(q.s.burner.subState, 1);
    q.gas(q.s.svc.GAS_BURNUP - 5);
    q.automatic();
    EXPECT_EQ(q.s.burnerState, kBlowup);
}

TEST(Maintenance, KeepAlivePuffsBeginWithAPause) {
    CombustionRig r;
    UserParams& u = r.s.usr;
    r.s.sensors[kSensorAir] = kInvalidTemp;
    u.FANKEEP_USE = 1;
    u.FANKEEP_TPAUSE = 2;
    u.FANKEEP_TON = 10;
    u.FANKEEP_POWER = 30;
    u.EXFANKEEP_USE = 1;
    u.EXFANKEEP_TPAUSE = 0;  // no pause: puffs all along
    u.EXFANKEEP_POWER = 70;
    r.gas(150);
    r.water(85);
    r.state(kBurning);
    std::vector<int> fan, exhaust;
    for (int i = 0; i < 2 * 60 + 15; ++i) {
        r.automatic();
        fan.push_back(r.s.fanPower);
        exhaust.push_back(r.s.exhaustFanPower);
    }
    for (int i = 0; i < 120; ++i) ASSERT_EQ(fan[i], 0) << "pause second " << i;
    EXPECT_EQ((std::vector<int>(fan.begin() + 120, fan.begin() + 131)),
              (std::vector<int>{50, 50, 50, 30, 30, 30, 30, 30, 30, 30, 0}));
    EXPECT_EQ((std::vector<int>(exhaust.begin(), exhaust.begin() + 5)), (std::vector<int>{50, 50, 50, 70, 70}));
    u.FANKEEP_USE = 0;
    r.automatic();
    EXPECT_EQ(r.s.fanPower, 0);
    EXPECT_EQ(r.s.countdown(kTAux7), 0) << "an unused puff is reset";
}

TEST(RoomThermostat, OrvenaPausesEverythingButStopManualAndPause) {
    for (int st : {kIgnition, kBurning, kBlowup, kFuelLoading, kAugerReverseTest}) {
        CombustionRig r;
        r.gas(30);
        r.water(20);
        r.state(st);
        r.s.boardInputs = kInRoomThermostat;
        r.automatic();
        EXPECT_EQ(r.s.burnerState, kPause) << st;
        EXPECT_EQ(r.s.fanPower, 0);
    }
    CombustionRig r;
    r.state(kManualIgnition);
    r.s.boardInputs = kInRoomThermostat;
    r.automatic();
    EXPECT_EQ(r.s.burnerState, kManualIgnition);
    r.s.burnerState = kStop;
    r.automatic();
    EXPECT_EQ(r.s.burnerState, kStop);
    // Paused, the input holds it; cleared, the water decides.
    r.state(kPause);
    r.water(40);
    r.automatic(3);
    EXPECT_EQ(r.s.burnerState, kPause);
    r.s.boardInputs = 0;
    r.automatic();
    EXPECT_EQ(r.s.burnerState, kBurning);
}

TEST(RoomThermostat, KestraloPauseModeLetsIgnitionFinish) {
    CombustionRig r(Variant::Kestralo);
    r.s.usr.THERMOSTAT_RESPONSE = 2;
    r.gas(30);
    r.water(20);
    r.state(kIgnition);
    r.s.boardInputs = kInRoomThermostat;
    r.automatic();
    EXPECT_EQ(r.s.burnerState, kIgnition);
    r.state(kBlowup);
    r.automatic();
    EXPECT_EQ(r.s.burnerState, kPause);
    for (int mode : {0, 1, 3}) {
        r.s.usr.THERMOSTAT_RESPONSE = mode;
        r.state(kBlowup);
        r.automatic();
        EXPECT_NE(r.s.burnerState, kPause) << "mode " << mode;
    }
}

TEST(RoomThermostat, KestraloSetpointShiftGivesBackWhatItTook) {
    CombustionRig r(Variant::Kestralo);
    UserParams& u = r.s.usr;
    u.THERMOSTAT_RESPONSE = 0;
    u.RESPONSE_ON_TMSTAT_TWAT_UST_DECREASE = 20;
    u.TWAT_UST = 70;  // limits 60 .. 85
    r.automatic();
    r.s.boardInputs = kInRoomThermostat;
    r.automatic(3);
    EXPECT_EQ(u.TWAT_UST, 60) << "lowered once, not below TWAT_UST_LIMIT_MIN";
    r.s.boardInputs = 0;
    r.automatic(3);
    EXPECT_EQ(u.TWAT_UST, 70) << "only the 10 degrees taken come back";
    for (int i = 0; i < 5; ++i) {
        r.s.boardInputs = kInRoomThermostat;
        r.automatic();
        r.s.boardInputs = 0;
        r.automatic();
    }
    EXPECT_EQ(u.TWAT_UST, 70) << "no creep over thermostat cycles";

    u.TWAT_UST = 84;
    r.s.boardInputs = kInRoomThermostat;
    r.automatic();
    EXPECT_EQ(u.TWAT_UST, 64);
    u.TWAT_UST_LIMIT_MAX = 80;
    r.s.boardInputs = 0;
    r.automatic();
    EXPECT_EQ(u.TWAT_UST, 80) << "not above TWAT_UST_LIMIT_MAX";

    // A switch to the pump or pause response forgets the pending shift.
    r.s.boardInputs = kInRoomThermostat;
    r.automatic();
    EXPECT_EQ(u.TWAT_UST, 60);
    u.THERMOSTAT_RESPONSE = 1;
    r.automatic();
    u.THERMOSTAT_RESPONSE = 0;
    r.s.boardInputs = 0;
    r.automatic();
    EXPECT_EQ(u.TWAT_UST, 60);

    // ORVENA leaves TWAT_UST alone.
    CombustionRig o;
    o.s.boardInputs = kInRoomThermostat;
    o.automatic(2);
    EXPECT_EQ(o.s.usr.TWAT_UST, 75);
}

TEST(RoomThermostat, KestraloMaintenanceMode) {
    CombustionRig r(Variant::Kestralo);
    r.s.usr.THERMOSTAT_RESPONSE = 3;
    r.s.sensors[kSensorAir] = kInvalidTemp;
    r.gas(150);
    r.water(60);
    r.state(kBurning);
    r.s.combustion.water.iCommitted = 25600;
    r.automatic();
    EXPECT_EQ(r.s.burner.keepMode, 0);
    r.s.boardInputs = kInRoomThermostat;
    r.s.combustion.water.iCommitted = 25600;
    r.automatic();
    EXPECT_EQ(r.s.burner.keepMode, 1);
    EXPECT_EQ(r.s.burnerState, kBurning);
    r.s.boardInputs = 0;
    r.s.combustion.water.iCommitted = 25600;
    r.automatic();
    EXPECT_EQ(r.s.burner.keepMode, 0);
}

TEST(GasSensorOff, FireJudgedByWaterEveryFadeTimeout) {
    // Starts at 23:50: the check falls after midnight.
    CombustionRig r(Variant::Orvena, {2026, 3, 1, 9, 23, 50, 0, 0});
    r.s.usr.GAS_TEMP_SENSOR_ENABLE = 0;
    r.s.usr.GAS_TEMP_SENSOR_FADE_TOUT = 30;
    r.s.usr.ANTI_JAM_DAY = 0;
    r.s.sensors[kSensorAir] = kInvalidTemp;
    r.gas(150);
    r.water(35);
    r.state(kBurning);
    r.automatic(29 * 60 + 59);
    EXPECT_EQ(r.s.burnerState, kBurning);
    r.automatic(2);
    EXPECT_EQ(r.s.burnerState, kStop);
    EXPECT_EQ(r.s.usr.ANTI_JAM_DAY, antiJamDayNumber(r.clock.localTime()));

    CombustionRig w;
    w.s.usr.GAS_TEMP_SENSOR_ENABLE = 0;
    w.s.sensors[kSensorAir] = kInvalidTemp;
    w.gas(150);
    w.water(40);
    w.state(kBurning);
    w.automatic(2 * 30 * 60 + 5);
    EXPECT_EQ(w.s.burnerState, kBurning) << "40 degrees is warm enough";
}

TEST(ManualIgnition, ScreenOperations) {
    CombustionRig r;
    r.state(kManualIgnition);
    manualSetIgniter(r.ctx, true);
    EXPECT_TRUE(r.s.controlFlags & kFlagIgniter);
    manualSetBlower(r.ctx, true);
    EXPECT_EQ(r.s.fanPower, r.s.svc.FAN_BURNUP);
    manualSetAuger(r.ctx, true);
    EXPECT_EQ(r.s.augerOn, 1);
    r.automatic(10);
    EXPECT_EQ(r.s.fanPower, r.s.svc.FAN_BURNUP) << "the step leaves the outputs to the screen";
    manualSetAuger(r.ctx, false);
    EXPECT_EQ(r.s.augerOn, 0);
    EXPECT_EQ(r.s.augerStopPulse, 1) << "firmware 2.2.1.4 needs the explicit stop";
    EXPECT_EQ(r.fedMs, 10000);
    r.s.augerStopPulse = 0;
    r.s.boardVersion = 0x2200;
    manualSetAuger(r.ctx, true);
    manualSetAuger(r.ctx, false);
    EXPECT_EQ(r.s.augerStopPulse, 0);
    manualSetAuger(r.ctx, true);
    r.automatic(31);
    EXPECT_EQ(r.s.augerOn, 0) << "one 30 s run";
}

TEST(ManualIgnition, AutoAcceptedOnlyWithAHotFlueAndALink) {
    CombustionRig r;
    r.water(40);  // threshold 50
    r.state(kManualIgnition);
    r.s.controlFlags |= kFlagIgniter | kFlagBlowupFromBurning;
    manualSetAuger(r.ctx, true);
    r.gas(49);
    EXPECT_EQ(manualAccept(r.ctx), 0);
    r.gas(kInvalidTemp);
    EXPECT_EQ(manualAccept(r.ctx), 0);
    r.gas(50);
    r.s.linkOk = 0;
    EXPECT_EQ(manualAccept(r.ctx), 0);
    EXPECT_EQ(r.s.burnerState, kManualIgnition);
    r.s.linkOk = 1;
    EXPECT_EQ(manualAccept(r.ctx), 1);
    EXPECT_EQ(r.s.burnerState, kBlowup);
    EXPECT_FALSE(r.s.controlFlags & (kFlagIgniter | kFlagBlowupFromBurning));
    EXPECT_FALSE(r.pulse.running());
}

TEST(ManualIgnition, CancelStopsEverything) {
    CombustionRig r;
    r.state(kManualIgnition);
    manualSetIgniter(r.ctx, true);
    manualSetBlower(r.ctx, true);
    manualSetAuger(r.ctx, true);
    manualCancel(r.ctx);
    EXPECT_EQ(r.s.burnerState, kStop);
    EXPECT_FALSE(r.s.controlFlags & kFlagIgniter);
    EXPECT_EQ(r.s.fanPower, 0);
    EXPECT_EQ(r.s.augerOn, 0);
    EXPECT_EQ(r.s.augerStopPulse, 1);
}

TEST(ManualIgnition, KestraloExhaustFanDrawsInModeOne) {
    for (Variant v : {Variant::Orvena, Variant::Kestralo}) {
        CombustionRig r(v);
        r.s.usr.EXFAN_MODE = 1;
        r.s.usr.EXFAN_UST = 10;
        r.state(kManualIgnition);
        r.automatic();
        EXPECT_EQ(r.s.exhaustFanPower, isKestralo(v) ? r.s.svc.FAN_MIN[0] : 0);
    }
}

TEST(ReverseTest, RunsThirtySecondsAndEndsItself) {
    CombustionRig r;
    AugerReverseTest test(r.ctx);
    r.s.burnerState = kBurning;
    EXPECT_EQ(test.start(), 0) << "only from stop";
    r.s.burnerState = kStop;
    r.s.controlFlags |= kFlagDhwOnlyPause | kFlagAugerReverseEnd;
    EXPECT_EQ(test.start(), 1);
    EXPECT_EQ(r.s.burnerState, kAugerReverseTest);
    EXPECT_TRUE(r.s.controlFlags & kFlagAugerReverse);
    EXPECT_FALSE(r.s.controlFlags & (kFlagDhwOnlyPause | kFlagAugerReverseEnd));
    EXPECT_EQ(r.s.augerOn, 1);
    r.clock.advance(29000);
    EXPECT_EQ(r.s.burnerState, kAugerReverseTest);
    r.clock.advance(2000);
    EXPECT_EQ(r.s.burnerState, kStop) << "the check timer ended it";
    EXPECT_FALSE(r.s.controlFlags & kFlagAugerReverse);
    EXPECT_FALSE(test.running());
    EXPECT_EQ(r.timers.pending(), 1u) << "check timer gone";
}

TEST(ReverseTest, StoppedByHand) {
    CombustionRig r;
    r.s.boardVersion = 0x2215;
    AugerReverseTest test(r.ctx);
    ASSERT_EQ(test.start(), 1);
    r.clock.advance(5000);
    test.stop();
    EXPECT_EQ(r.s.burnerState, kStop);
    EXPECT_EQ(r.s.augerOn, 0);
    EXPECT_EQ(r.s.augerStopPulse, 1);
    EXPECT_FALSE(r.s.controlFlags & kFlagAugerReverse);
    EXPECT_EQ(r.fedMs, 5000);
    EXPECT_EQ(r.timers.pending(), 1u);
}

TEST(SemiAutomatic, IgnitionTimesOut) {
    CombustionRig r;
    r.s.usr.BURN_MODE = 1;
    r.water(20);
    r.gas(50);  // threshold SA_GAS_BURNUP 100
    r.s.usr.ANTI_JAM_DAY = 0;
    r.pulse.start(10, 10, -1);
    r.state(kIgnition);
    r.semiAutomatic();
    EXPECT_FALSE(r.pulse.running()) << "the auger never runs in this mode";
    EXPECT_EQ(r.s.fanPower, r.s.usr.SA_FAN_BUP);
    r.semiAutomatic(60 * 60 - 1);
    EXPECT_EQ(r.s.burnerState, kIgnition);
    r.semiAutomatic(2);
    EXPECT_EQ(r.s.burnerState, kStop);
    EXPECT_TRUE(r.s.warnings & kWentOut);
    EXPECT_EQ(r.s.usr.ANTI_JAM_DAY, antiJamDayNumber(r.clock.localTime()));
    r.semiAutomatic();
    EXPECT_EQ(r.s.fanPower, 0);
}

TEST(SemiAutomatic, IgnitionToBurningAndFadeOut) {
    CombustionRig r;
    ServiceParams& g = r.s.svc;
    r.s.usr.BURN_MODE = 1;
    r.s.usr.ANTI_JAM_DAY = 0;
    r.s.pumpCh = 1;
    r.water(30);
    r.gas(99);
    r.state(kIgnition);
    r.semiAutomatic(5);
    r.gas(100);
    r.semiAutomatic();
    ASSERT_EQ(r.s.burnerState, kBurning);
    r.semiAutomatic(g.SA_BLOW_TIME * 60 + 1);
    EXPECT_EQ(r.s.fanPower, 100) << "cold water: full blower at the end of the ramp";

    // The charge burns out: cool flue gas with the blower at full.
    r.gas(g.SA_GAS_BURNUP - 5);
    r.semiAutomatic();
    EXPECT_EQ(r.s.burner.fadeLatch, 1);
    r.semiAutomatic(10 * 60);
    r.gas(g.SA_GAS_BURNUP - 4);
    r.semiAutomatic();
    EXPECT_EQ(r.s.burner.fadeLatch, 0) << "a flicker of heat restarts the wait";
    r.gas(g.SA_GAS_BURNUP - 5);
    r.semiAutomatic(g.SA_FADE_TIME * 60);
    EXPECT_EQ(r.s.burnerState, kBurning);
    r.semiAutomatic();
    EXPECT_EQ(r.s.burnerState, kStop);
    EXPECT_TRUE(r.s.warnings & kWentOut);
    EXPECT_EQ(r.s.usr.ANTI_JAM_DAY, antiJamDayNumber(r.clock.localTime()));
}

TEST(SemiAutomatic, FuelLoadingHoldsTheBlower) {
    CombustionRig r;
    r.s.usr.BURN_MODE = 1;
    r.s.pumpCh = 1;
    r.water(30);
    r.gas(150);
    r.state(kBurning);
    r.semiAutomatic(3);
    EXPECT_GT(r.s.fanPower, 0);
    ASSERT_EQ(commandBurner(r.s, kCmdFuelLoadBegin), 1);
    r.semiAutomatic();
    EXPECT_EQ(r.s.fanPower, 0);
    ASSERT_EQ(commandBurner(r.s, kCmdFuelLoadEnd), 1);
    r.semiAutomatic();
    EXPECT_GT(r.s.fanPower, 0) << "burning goes on where it was";
}

}  // namespace
}  // namespace vesk::test
