// Pump step protections and the stopped boiler: overheat dump, anti-freeze,
// anti-jam exercise across midnight, run-on and the idle modes, the loop
// pump rules and the release of the consumers.
#include <gtest/gtest.h>

#include "control/burner_commands.h"
#include "pumps_rig.h"
#include "settings/user_table.h"

namespace vesk::test {
namespace {

TEST(PumpStep, OverheatDumpAndFaultsRunEveryPump) {
    PumpRig r;
    const std::pair<int, Pumps> steps[] = {
        {91, {1, 0, 0}}, {92, {1, 1, 1}}, {91, {1, 1, 1}}, {90, {1, 0, 0}}, {91, {1, 0, 0}},
        {kInvalidTemp, {1, 1, 1}}, {60, {1, 0, 0}},
    };
    for (auto [w, want] : steps) {
        r.water(w);
        r.cycle();
        EXPECT_EQ(r.pumps(), want) << w;
    }
    for (uint32_t fault : {0x040u, 0x002u}) {
        r.s.faults = fault;
        r.cycle();
        EXPECT_EQ(r.pumps(), (Pumps{1, 1, 1})) << fault;
    }
    r.s.faults = 0x001;
    r.cycle();
    EXPECT_EQ(r.pumps(), (Pumps{1, 0, 0})) << "other faults leave the rules alone";

    // A stopped boiler dumps too, before any idle rule.
    r.s.faults = 0;
    r.s.burnerState = kStop;
    r.s.usr.PUMPS_IDLE_MODE = 2;
    r.water(95);
    r.cycle();
    EXPECT_EQ(r.pumps(), (Pumps{1, 1, 1}));
}

TEST(PumpStep, AntiFreezeWithStoppedBoiler) {
    for (int hydrosep : {0, 1}) {
        PumpRig r;
        r.s.burnerState = kStop;
        r.s.usr.PUMPS_IDLE_MODE = 2;
        r.s.usr.USE_HYDROSEP = hydrosep;
        r.s.usr.ANTI_FREEZE_TEMP = 6;
        const Pumps frost{1, 0, hydrosep};
        const std::pair<int, Pumps> steps[] = {
            {7, {0, 0, 0}}, {6, frost}, {7, frost}, {8, {0, 0, 0}}, {7, {0, 0, 0}}, {2, frost},
        };
        for (auto [w, want] : steps) {
            r.water(w);
            r.cycle();
            EXPECT_EQ(r.pumps(), want) << w << " hydrosep " << hydrosep;
        }
        r.s.usr.ANTI_FREEZE_ENABLE = 0;
        r.cycle();
        EXPECT_EQ(r.pumps(), (Pumps{0, 0, 0})) << "protection off";
    }
}

// A due exercise that starts at 23:50 runs its 30 minutes across midnight.
TEST(PumpStep, AntiJamExerciseAcrossMidnight) {
    PumpRig r(Variant::Orvena, {2026, 3, 2, 10, 23, 49, 0, 0});
    r.s.burnerState = kStop;
    r.s.usr.PUMPS_IDLE_MODE = 2;
    r.s.usr.ANTI_JAM_PERIOD = 30;
    r.s.usr.ANTI_JAM_DURATION = 30;
    const int startDay = antiJamDayNumber(r.clock.localTime());
    r.s.usr.ANTI_JAM_DAY = startDay - 29;
    r.cycle();
    EXPECT_EQ(r.pumps(), (Pumps{0, 0, 0})) << "29 days is not yet due";
    EXPECT_EQ(r.s.usr.ANTI_JAM_MIN, -1);

    r.s.usr.ANTI_JAM_DAY = startDay - 30;
    r.after(60);  // 23:50
    EXPECT_EQ(r.s.usr.ANTI_JAM_MIN, 23 * 60 + 50);
    int lastOn = -1;
    for (int minute = 1; minute <= 40; ++minute) {
        r.after(60);
        if (r.pumps() == Pumps{1, 1, 1}) lastOn = minute;
        else EXPECT_EQ(r.pumps(), (Pumps{0, 0, 0})) << minute;
    }
    EXPECT_EQ(lastOn, 30) << "on through 00:20, off from 00:21";
    EXPECT_EQ(r.s.usr.ANTI_JAM_MIN, -1);
    EXPECT_EQ(r.s.usr.ANTI_JAM_DAY, startDay + 1);

    r.s.usr.ANTI_JAM_DAY = -1;
    r.jump(40 * 86400);
    EXPECT_EQ(r.pumps(), (Pumps{0, 0, 0})) << "no standstill day recorded";
}

// An exercise cut short by a burner run must not leave its start behind
// for the next one, which would then end before it ran.
TEST(PumpStep, InterruptedExerciseDoesNotSpoilTheNextOne) {
    PumpRig r(Variant::Orvena, {2026, 3, 2, 10, 10, 0, 0, 0});
    r.s.burnerState = kStop;
    r.s.usr.PUMPS_IDLE_MODE = 2;
    r.s.usr.ANTI_JAM_PERIOD = 30;
    r.s.usr.ANTI_JAM_DAY = antiJamDayNumber(r.clock.localTime()) - 30;
    r.cycle();
    r.after(60);
    ASSERT_EQ(r.pumps(), (Pumps{1, 1, 1}));

    r.s.burnerState = kBurning;  // started by the user mid-exercise
    r.after(60);
    r.s.usr.PUMPS_IDLE_MODE = 2;
    commandBurner(r.s, kCmdStop);
    r.after(600);  // run-on over
    EXPECT_EQ(r.s.usr.ANTI_JAM_MIN, -1);

    // Thirty days later at another time of day the exercise runs in full.
    r.jump(30 * 86400 + 5 * 3600);
    r.after(60);
    EXPECT_EQ(r.pumps(), (Pumps{1, 1, 1}));
}

TEST(PumpStep, RunOnThenIdleModes) {
    struct Case {
        int idle, heatMode, hydrosep;
        Pumps idlePumps;
    } cases[] = {
        {2, 0, 0, {0, 0, 0}},
        {1, 3, 0, {0, 1, 0}},
        {1, 0, 1, {0, 0, 1}},
        {1, 0, 0, {1, 0, 0}},
        {0, 0, 0, {1, 0, 0}},
        {0, 0, 1, {1, 0, 1}},
    };
    for (const Case& k : cases) {
        PumpRig r;
        r.s.svc.PUMPS_TOUT = 2;
        r.s.usr.PUMPS_IDLE_MODE = k.idle;
        r.s.usr.HEAT_MODE = k.heatMode;
        r.s.usr.USE_HYDROSEP = k.hydrosep;
        r.s.usr.USE_RECIRC = 1;  // return 20: the loop pump runs while its rules apply
        r.dhw(70);
        r.water(65);
        r.cycle();
        const Pumps running = r.pumps();
        EXPECT_EQ(running[2], 1) << k.idle;
        r.s.burnerState = kStop;
        r.after(1);
        EXPECT_EQ(r.pumps(), running) << "run-on, idle " << k.idle;
        r.after(118);
        EXPECT_EQ(r.pumps(), running) << "run-on end, idle " << k.idle;
        r.after(2);
        EXPECT_EQ(r.pumps(), k.idlePumps) << "idle " << k.idle << " mode " << k.heatMode << " sep " << k.hydrosep;
    }
}

TEST(PumpStep, LoopPumpRules) {
    PumpRig r;
    r.s.usr.USE_HYDROSEP = 1;
    r.s.usr.TRC_HSEP_ON = 60;
    r.s.usr.TRC_HSEP_OFF = 55;
    for (auto [w, loop] : {std::pair{59, 0}, {60, 1}, {56, 1}, {55, 0}, {59, 0}}) {
        r.water(w);
        r.cycle();
        EXPECT_EQ(r.s.pumpLoop, loop) << "separator " << w;
    }

    r.s.usr.USE_HYDROSEP = 0;
    r.s.usr.USE_RECIRC = 1;
    r.s.usr.TRECIRC_ON = 50;
    r.s.usr.TRECIRC_OFF = 60;
    for (auto [ret, loop] : {std::pair{55, 0}, {50, 1}, {59, 1}, {60, 0}, {51, 0}, {45, 1}, {kInvalidTemp, 0}}) {
        r.s.sensors[kSensorReturn] = ret;
        r.cycle();
        EXPECT_EQ(r.s.pumpLoop, loop) << "return " << ret;
    }

    r.s.sensors[kSensorReturn] = 40;
    r.s.usr.USE_RECIRC = 0;
    r.s.pumpLoop = 1;
    r.cycle();
    EXPECT_EQ(r.s.pumpLoop, 0);

    // The buffer-tank loop pump belongs to its own step while burning, and
    // stops with a cool boiler once the burner has stopped.
    r.s.usr.PRIME_LOOP_TYPE = 1;
    r.s.usr.USE_HYDROSEP = 1;
    r.s.pumpLoop = 1;
    r.water(50);
    r.cycle();
    EXPECT_EQ(r.s.pumpLoop, 1);
    r.s.burnerState = kStop;
    r.cycle();
    EXPECT_EQ(r.s.pumpLoop, 0);
}

TEST(PumpStep, ConsumersWaitForWarmWater) {
    for (int hydrosep : {0, 1}) {
        PumpRig r;
        r.s.usr.HEAT_MODE = 2;
        r.s.usr.USE_HYDROSEP = hydrosep;
        r.s.usr.TPUMPS_ON = 40;
        r.s.usr.TPUMPS_ON_HSEP = 35;
        r.s.usr.TRC_HSEP_ON = 70;
        r.dhw(20);
        const int off = hydrosep ? 33 : 38;
        for (auto [w, on] : {std::pair{39, 0}, {40, 1}, {off + 1, 1}, {off, 0}, {off + 1, 0}, {40, 1}}) {
            r.water(w);
            r.cycle();
            EXPECT_EQ(r.s.pumps.pumpsEnabled, on) << w;
            EXPECT_EQ(r.s.pumpCh, on) << w;
            EXPECT_EQ(r.s.pumpDhw, on) << w;
        }
    }
}

}  // namespace
}  // namespace vesk::test
