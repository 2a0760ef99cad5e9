// The cycle's own decisions: what a suspending fault does, firewood mode and
// the burner state copy for the status report.
#include <gtest/gtest.h>

#include "control/control_cycle.h"
#include "protection_rig.h"

namespace vesk::test {
namespace {

class CycleRig : public StepRig {
public:
    explicit CycleRig(Variant v) : StepRig(v) {}
    ControlCycle cycle{ctx};
};

TEST(ControlCycle, SuspendingFaultKeepsStateButStopsEveryHeatSource) {
    for (Variant v : {Variant::Orvena, Variant::Kestralo}) {
        CycleRig r(v);
        r.s.burnerState = kManualIgnition;
        r.s.controlFlags |= kFlagIgniter;
        r.s.fanPower = 60;
        r.s.exhaustFanPower = 40;
        r.s.sensors[kSensorWater] = kInvalidTemp;  // water sensor fault
        r.cycle.run();
        EXPECT_TRUE(r.s.faults & 0x004);
        EXPECT_EQ(r.s.burnerState, kManualIgnition) << "the state is kept";
        EXPECT_TRUE(r.s.controlFlags & kFlagStateEntry);
        EXPECT_FALSE(r.s.controlFlags & kFlagIgniter) << "even a hand-lit igniter goes off";
        EXPECT_EQ(r.s.fanPower, 0);
        EXPECT_EQ(r.s.exhaustFanPower, 0);
        EXPECT_EQ(r.s.augerOn, 0);
    }
}

TEST(ControlCycle, AirAndChSensorFaultsDoNotSuspend) {
    CycleRig r(Variant::Orvena);
    r.s.usr.USE_HYDROSEP = 1;
    r.s.sensors[kSensorAir] = kInvalidTemp;
    r.s.sensors[kSensorCh] = kInvalidTemp;
    r.s.burnerState = kBurning;
    r.s.controlFlags = 0;
    r.cycle.run();
    EXPECT_EQ(r.s.faults & 0x180, 0x180u);
    EXPECT_FALSE(r.s.controlFlags & kFlagStateEntry) << "burning went on";
}

// An output the cycle switches and takes back within itself is no change:
// the link is woken only for what a cycle leaves different.
TEST(ControlCycle, WakesTheLinkOnlyForOutputsThatChanged) {
    CycleRig r(Variant::Kestralo);
    r.s.burnerState = kPause;
    r.s.usr.THERMOSTAT_RESPONSE = 1;
    r.s.boardInputs = kInRoomThermostat;
    r.cycle.run();
    r.second();
    r.wakes = 0;
    for (int i = 0; i < 5; ++i) {
        r.cycle.run();
        r.second();
        ASSERT_EQ(r.s.pumpCh, 0);
    }
    EXPECT_EQ(r.wakes, 0) << "the CH pump is switched on and off inside each cycle";
    r.s.boardInputs = 0;
    r.cycle.run();
    EXPECT_EQ(r.s.pumpCh, 1);
    EXPECT_EQ(r.wakes, 1) << "a real change goes out at once";
    r.second();
    r.cycle.run();
    EXPECT_EQ(r.wakes, 1);
}

// With the auger-tube protection installed, reading 9 is the tube: valve 2
// is not driven, whether the protection is switched on or not.
TEST(ControlCycle, NoValveTwoOnTheAugerTubeSensor) {
    for (Variant v : {Variant::Orvena, Variant::Kestralo}) {
        for (int emstart : {0, 1}) {
            CycleRig r(v);
            r.s.boardVersion = 0x1100;
            r.s.boardVersionCopy = 0x1100;
            r.s.svc.EMSTART_ENABLE = emstart;
            r.s.usr.WORM_TEMP_SENSOR_ENABLE = 0;
            r.s.usr.VLV2.MODE = 2;
            r.s.usr.VLV2.USEWATER = 1;
            r.s.usr.VLV2.USEWH = 0;
            r.s.sensors[kSensorValve2] = 30;
            for (int i = 0; i < 3; ++i) {
                r.cycle.run();
                r.second();
            }
            const bool driven = r.s.outputFlags & (kOutValve2Open | kOutValve2Close);
            EXPECT_EQ(driven, emstart == 0) << "EMSTART_ENABLE " << emstart;
        }
    }
}

TEST(ControlCycle, KestraloCopiesStateAndThermostatStopsChPump) {
    CycleRig r(Variant::Kestralo);
    r.s.burnerState = kPause;
    r.s.usr.THERMOSTAT_RESPONSE = 1;
    r.s.boardInputs = kInRoomThermostat;
    r.cycle.run();
    EXPECT_EQ(r.s.reportedBurnerState, r.s.burnerState);
    EXPECT_EQ(r.s.pumpCh, 0);
}

}  // namespace
}  // namespace vesk::test
