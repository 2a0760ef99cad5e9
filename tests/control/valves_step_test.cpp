// Mixing valve step on manual time: closing runs, intervals, corrections,
// circuit pump hysteresis and the choice of target and source.
#include <gtest/gtest.h>

#include "control/control_context.h"
#include "control/control_steps.h"
#include "control/valves.h"
#include "core/controller_state.h"
#include "core/countdown_service.h"
#include "core/refresh_sink.h"
#include "core/sound_player.h"
#include "platform/manual_clock.h"
#include "platform/manual_timer_service.h"
#include "settings/schedule.h"
#include "settings/service_table.h"
#include "settings/user_table.h"

namespace vesk::test {
namespace {

constexpr int kTopen = 30;
constexpr int kInt = 12;
constexpr int kStep = 5;

// Both valves set up alike and stepped once a second with the real
// countdown service; the boiler is burning with water at 70.
struct ValveRig {
    explicit ValveRig(Variant v = Variant::Orvena) : s(v) {
        serviceDefaults(s.settings, v, true);
        userDefaults(s.settings, v, false, 0);
        s.sensors.fill(20);
        s.sensors[kSensorWater] = 70;
        s.sensors[kSensorCh] = kInvalidTemp;
        s.sensors[kSensorOutdoor] = 0;
        s.sensors[kSensorValve1] = 30;
        s.sensors[kSensorValve2] = 30;
        s.sensors[kSensorValveAir] = 20;
        s.burnerState = kBurning;
        for (ValveParams* p : {&s.usr.VLV1, &s.usr.VLV2}) {
            p->MODE = 2;
            p->USEWATER = 1;
            p->USEAIR = 0;
            p->USEWH = 0;
            p->WATER = 45;
            p->AIR = 22;
            p->TOPEN = kTopen;
            p->INT = kInt;
            p->STEP = kStep;
        }
        countdowns.start();
    }

    ValveParams& params(int valve) { return valve == 0 ? s.usr.VLV1 : s.usr.VLV2; }
    int& water(int valve) { return s.sensors[valve == 0 ? kSensorValve1 : kSensorValve2]; }
    ValveMotor motor(int valve) const { return valveMotor(s, valve); }

    // One control cycle of this valve, then one second passes.
    void cycle(int valve) {
        valveStep(ctx, valve);
        clock.advance(1000);
    }
    // Cycles until the motor shows `m`; the number of cycles it took
    // (the cycle that set it counts), or -1.
    int cyclesUntil(int valve, ValveMotor m, int limit) {
        for (int i = 1; i <= limit; ++i) {
            valveStep(ctx, valve);
            if (motor(valve) == m) {
                clock.advance(1000);
                return i;
            }
            clock.advance(1000);
        }
        return -1;
    }
    // From a fresh start through the first closing run.
    void closeFully(int valve) {
        ASSERT_EQ(cyclesUntil(valve, ValveMotor::Close, 1), 1);
        ASSERT_EQ(cyclesUntil(valve, ValveMotor::Stop, kTopen + 2), kTopen);
        ASSERT_EQ(s.valves[valve].closedLatch, 1);
    }

    ControllerState s;
    ManualClock clock;
    ManualTimerService timers{clock};
    CountdownService countdowns{s, timers};
    CountingRefreshSink refresh;
    RecordingSoundPlayer sound;
    ScheduleStore schedule;
    ControlContext ctx{s, clock, timers, refresh, sound, schedule, [] {}};
};

TEST(ValveStep, DriveBitsOfEachValveStayApart) {
    ValveRig rig;
    rig.s.outputFlags = kOutBunkerFiller | kOutAshRemover;
    rig.cycle(0);
    EXPECT_EQ(rig.s.outputFlags, kOutBunkerFiller | kOutAshRemover | kOutValve1Close);
    rig.cycle(1);
    EXPECT_EQ(rig.s.outputFlags, kOutBunkerFiller | kOutAshRemover | kOutValve1Close | kOutValve2Close);
    rig.params(0).MODE = 0;
    rig.cycle(0);
    EXPECT_EQ(rig.s.outputFlags, kOutBunkerFiller | kOutAshRemover | kOutValve2Close);
}

TEST(ValveStep, ClosingRunThenFirstCorrectionAnIntervalLater) {
    for (int valve : {0, 1}) {
        ValveRig rig;
        rig.closeFully(valve);
        // Water 30 below target 45 with the source at 70: the first
        // correction opens, exactly INT seconds after the run ended.
        EXPECT_EQ(rig.cyclesUntil(valve, ValveMotor::Open, kInt + 5), kInt) << valve;
        EXPECT_EQ(rig.s.valves[valve].closedLatch, 0);
        EXPECT_EQ(rig.cyclesUntil(valve, ValveMotor::Stop, kStep + 2), kStep) << valve;
        // Then another full interval before the next move.
        EXPECT_EQ(rig.cyclesUntil(valve, ValveMotor::Open, kInt + 5), kInt + 1) << valve;
    }
}

TEST(ValveStep, NewModeRestartsWithFullClosingRun) {
    for (int valve : {0, 1}) {
        ValveRig rig;
        rig.closeFully(valve);
        ASSERT_EQ(rig.cyclesUntil(valve, ValveMotor::Open, kInt + 5), kInt);
        rig.cycle(valve);
        // Underfloor now, half-way through an opening step.
        rig.params(valve).MODE = 1;
        rig.cycle(valve);
        EXPECT_EQ(rig.motor(valve), ValveMotor::Close);
        EXPECT_EQ(rig.s.valves[valve].lastMode, 1);
        EXPECT_EQ(rig.cyclesUntil(valve, ValveMotor::Stop, kTopen + 2), kTopen);
        EXPECT_EQ(rig.s.valves[valve].closedLatch, 1);
    }
}

TEST(ValveStep, CircuitPumpHysteresisOnWaterAndAir) {
    ValveRig rig;
    rig.closeFully(0);
    ValveRecord& r = rig.s.valves[0];
    rig.water(0) = 10;
    rig.cycle(0);
    EXPECT_EQ(r.circuitPump, 0) << "a closed valve keeps its pump off";
    rig.water(0) = 30;
    ASSERT_EQ(rig.cyclesUntil(0, ValveMotor::Open, kInt + 5), kInt - 1);

    const int b = rig.params(0).WATER;
    rig.water(0) = b;
    rig.cycle(0);
    EXPECT_EQ(r.circuitPump, 0);
    rig.water(0) = b - 2;
    rig.cycle(0);
    EXPECT_EQ(r.circuitPump, 0) << "B - 2 keeps the pump off";
    rig.water(0) = b - 3;
    rig.cycle(0);
    EXPECT_EQ(r.circuitPump, 1) << "B - 3 turns it on";
    rig.water(0) = b - 1;
    rig.cycle(0);
    EXPECT_EQ(r.circuitPump, 1) << "B - 1 keeps it on";

    // Air control too: both must be cold enough to turn it on.
    rig.params(0).USEAIR = 1;
    rig.water(0) = b - 5;
    rig.s.sensors[kSensorValveAir] = rig.params(0).AIR;
    rig.cycle(0);
    EXPECT_EQ(r.circuitPump, 0);
    rig.s.sensors[kSensorValveAir] = rig.params(0).AIR - 1;
    rig.cycle(0);
    EXPECT_EQ(r.circuitPump, 0) << "AIR - 1 keeps it off";
    rig.s.sensors[kSensorValveAir] = rig.params(0).AIR - 2;
    rig.cycle(0);
    EXPECT_EQ(r.circuitPump, 1) << "AIR - 2 turns it on";
}

TEST(ValveStep, CorrectionsByWaterAgainstTarget) {
    ValveRig rig;
    rig.closeFully(0);
    const int b = rig.params(0).WATER;
    ASSERT_EQ(rig.cyclesUntil(0, ValveMotor::Open, kInt + 5), kInt);
    ASSERT_EQ(rig.cyclesUntil(0, ValveMotor::Stop, kStep + 2), kStep);

    // Above the target: a closing step of STEP seconds.
    rig.water(0) = b + 1;
    EXPECT_EQ(rig.cyclesUntil(0, ValveMotor::Close, kInt + 5), kInt + 1);
    EXPECT_EQ(rig.cyclesUntil(0, ValveMotor::Stop, kStep + 2), kStep);
    EXPECT_EQ(rig.s.valves[0].closedLatch, 0) << "a step does not make it closed";

    // On the target: no move over several intervals.
    rig.water(0) = b;
    EXPECT_EQ(rig.cyclesUntil(0, ValveMotor::Open, 3 * kInt), -1);
    rig.water(0) = b;
    EXPECT_EQ(rig.cyclesUntil(0, ValveMotor::Close, 3 * kInt), -1);

    // Source less than 2 above the circuit: opening would not help.
    rig.water(0) = b - 5;
    rig.s.sensors[kSensorWater] = b - 4;
    EXPECT_EQ(rig.cyclesUntil(0, ValveMotor::Open, 3 * kInt), -1);
    rig.s.sensors[kSensorWater] = b - 3;
    EXPECT_GT(rig.cyclesUntil(0, ValveMotor::Open, 3 * kInt), 0);
}

TEST(ValveStep, MixedWaterAtSourceClosesFullyBeforeRegulating) {
    ValveRig rig;
    rig.closeFully(0);
    ASSERT_EQ(rig.cyclesUntil(0, ValveMotor::Open, kInt + 5), kInt);
    ASSERT_EQ(rig.cyclesUntil(0, ValveMotor::Stop, kStep + 2), kStep);

    // The boiler cooled to the circuit's temperature.
    rig.s.sensors[kSensorWater] = 40;
    rig.water(0) = 40;
    const int toClose = rig.cyclesUntil(0, ValveMotor::Close, kInt + 5);
    ASSERT_GT(toClose, 0);
    EXPECT_EQ(rig.s.valves[0].valveStep, 1) << "a full closing run, not a step";
    rig.s.sensors[kSensorWater] = 70;
    rig.water(0) = 30;
    EXPECT_EQ(rig.cyclesUntil(0, ValveMotor::Stop, kTopen + 2), kTopen);
    EXPECT_EQ(rig.s.valves[0].closedLatch, 1);
    EXPECT_EQ(rig.cyclesUntil(0, ValveMotor::Open, kInt + 5), kInt);

    // Known to be closed already: the same condition only waits.
    ValveRig closed;
    closed.closeFully(0);
    closed.s.sensors[kSensorWater] = 30;
    EXPECT_EQ(closed.cyclesUntil(0, ValveMotor::Close, 3 * kInt), -1);
}

TEST(ValveStep, WeatherLineTargetAndItsFallback) {
    ValveRig rig;
    ValveParams& p = rig.params(0);
    p.USEWH = 1;
    p.AIRL_CH = 20, p.WATL_CH = 20, p.AIRH_CH = -30, p.WATH_CH = 80;
    p.AIRL_FL = 20, p.WATL_FL = 20, p.AIRH_FL = -30, p.WATH_FL = 40;
    rig.s.sensors[kSensorOutdoor] = 0;
    rig.cycle(0);
    EXPECT_EQ(rig.s.valves[0].curveTarget, 44);
    rig.s.sensors[kSensorOutdoor] = -45;  // beyond the cold end
    rig.cycle(0);
    EXPECT_EQ(rig.s.valves[0].curveTarget, rig.s.usr.TWAT_UST_LIMIT_MAX);
    rig.s.sensors[kSensorOutdoor] = 30;   // beyond the mild end
    rig.cycle(0);
    EXPECT_EQ(rig.s.valves[0].curveTarget, 20);
    p.MODE = 1;
    p.WATH_FL = 60;
    rig.s.sensors[kSensorOutdoor] = -50;
    rig.cycle(0);
    EXPECT_EQ(rig.s.valves[0].curveTarget, 60) << "underfloor is held to 60";
    rig.s.sensors[kSensorOutdoor] = -5;
    rig.cycle(0);
    EXPECT_EQ(rig.s.valves[0].curveTarget, 40);

    // The weather line alone makes water control possible.
    p.USEWATER = 0;
    rig.cycle(0);
    EXPECT_EQ(rig.s.valves[0].valveStep, 1) << "still closing";

    // Outdoor sensor lost: back to WATER, which needs USEWATER.
    rig.s.sensors[kSensorOutdoor] = kInvalidTemp;
    rig.cycle(0);
    EXPECT_EQ(rig.s.valves[0].curveTarget, 255);
    EXPECT_EQ(rig.motor(0), ValveMotor::Stop);
    EXPECT_EQ(rig.s.valves[0].valveStep, 0);
    p.USEWATER = 1;
    rig.cycle(0);
    EXPECT_EQ(rig.motor(0), ValveMotor::Close);
}

TEST(ValveStep, ConditionsThatStopTheValve) {
    struct Case {
        const char* what;
        void (*set)(ValveRig&);
    };
    const Case cases[] = {
        {"burner stopped, pumps idle mode 2",
         [](ValveRig& r) {
             r.s.burnerState = kStop;
             r.s.usr.PUMPS_IDLE_MODE = 2;
         }},
        {"source sensor failed", [](ValveRig& r) { r.s.sensors[kSensorWater] = kInvalidTemp; }},
        {"not used", [](ValveRig& r) { r.params(0).MODE = 0; }},
        {"underfloor without its water sensor",
         [](ValveRig& r) {
             r.params(0).MODE = 1;
             r.params(0).USEAIR = 1;
             r.water(0) = kInvalidTemp;
         }},
        {"heating with neither sensor",
         [](ValveRig& r) {
             r.params(0).USEAIR = 1;
             r.water(0) = kInvalidTemp;
             r.s.sensors[kSensorValveAir] = kInvalidTemp;
         }},
    };
    for (const Case& c : cases) {
        ValveRig rig;
        rig.closeFully(0);
        ASSERT_EQ(rig.cyclesUntil(0, ValveMotor::Open, kInt + 5), kInt);
        rig.s.valves[0].circuitPump = 1;
        c.set(rig);
        rig.cycle(0);
        EXPECT_EQ(rig.motor(0), ValveMotor::Stop) << c.what;
        EXPECT_EQ(rig.s.valves[0].circuitPump, 0) << c.what;
        EXPECT_EQ(rig.s.valves[0].valveStep, 0) << c.what;
    }

    // Idle mode 2 stops the valve only while the burner is stopped; heating
    // runs on room air alone when the water sensor is gone.
    ValveRig rig;
    rig.s.burnerState = kStop;
    rig.s.usr.PUMPS_IDLE_MODE = 1;
    rig.cycle(0);
    EXPECT_EQ(rig.motor(0), ValveMotor::Close);
    rig.params(1).USEAIR = 1;
    rig.water(1) = kInvalidTemp;
    rig.cycle(1);
    EXPECT_EQ(rig.motor(1), ValveMotor::Close);
}

TEST(ValveStep, SourceIsTheSeparatorWhenItIsRead) {
    for (Variant v : {Variant::Orvena, Variant::Kestralo}) {
        ValveRig rig(v);
        rig.s.usr.USE_HYDROSEP = 1;
        rig.s.sensors[kSensorWater] = 70;
        rig.s.sensors[kSensorCh] = 31;  // separator barely warmer than the circuit
        rig.closeFully(0);
        EXPECT_EQ(rig.cyclesUntil(0, ValveMotor::Open, 3 * kInt), -1);
        // Separator reading lost: the boiler water is the source again.
        rig.s.sensors[kSensorCh] = kInvalidTemp;
        EXPECT_GT(rig.cyclesUntil(0, ValveMotor::Open, 3 * kInt), 0);
        // Without the separator the CH reading is not looked at.
        ValveRig plain(v);
        plain.s.sensors[kSensorCh] = 31;
        plain.closeFully(0);
        EXPECT_EQ(plain.cyclesUntil(0, ValveMotor::Open, kInt + 5), kInt);
    }
}

}  // namespace
}  // namespace vesk::test
