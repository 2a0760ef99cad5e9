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
