// Fault word: thresholds, input latches, chimney sweep, firewood and the
// auger-tube sensor fault in both variants.
#include <gtest/gtest.h>

#include "control/faults.h"
#include "protection_rig.h"

namespace vesk::test {
namespace {

constexpr Variant kBoth[] = {Variant::Orvena, Variant::Kestralo};

bool suspends(uint32_t faults) { return (faults & ~kFaultsNotSuspending) != 0; }

TEST(Faults, BoilerOverheatAbove96OnlyWithThermoSwitch) {
    for (Variant v : kBoth) {
        StepRig r(v);
        r.s.usr.THERMO_SWITCH_ENABLE = 1;
        r.s.sensors[kSensorWater] = 96;
        r.evaluate();
        EXPECT_EQ(r.s.faults & kFaultOverheat, 0u) << "96 is no overheat";
        r.s.sensors[kSensorWater] = 97;
        r.evaluate();
        EXPECT_NE(r.s.faults & kFaultOverheat, 0u);
        r.s.sensors[kSensorWater] = 96;
        r.evaluate();
        EXPECT_EQ(r.s.faults & kFaultOverheat, 0u) << "no latch";

        // Firmware 0x2215 reports tenths: 96.9 is still 96.
        r.s.boardVersionCopy = 0x2215;
        r.s.sensors[kSensorWater] = 969;
        r.evaluate();
        EXPECT_EQ(r.s.faults & kFaultOverheat, 0u);
        r.s.sensors[kSensorWater] = 970;
        r.evaluate();
        EXPECT_NE(r.s.faults & kFaultOverheat, 0u);

        r.s.sensors[kSensorWater] = kInvalidTemp;
        r.evaluate();
        EXPECT_EQ(r.s.faults & kFaultOverheat, 0u) << "an error code is not a temperature";
        EXPECT_NE(r.s.faults & kFaultWaterSensor, 0u);

        r.s.boardVersionCopy = 0x2214;
        r.s.usr.THERMO_SWITCH_ENABLE = 0;
        r.s.sensors[kSensorWater] = 110;
        r.evaluate();
        EXPECT_EQ(r.s.faults & kFaultOverheat, 0u) << "the overheat check belongs to the thermo switch";
    }
}

TEST(Faults, FuseKeepsTheEmergencyThermostatBit) {
    StepRig r;
    r.s.usr.THERMO_SWITCH_ENABLE = 1;
    r.s.boardInputs = kInEmergencyThermostat;
    r.evaluate();
    EXPECT_EQ(r.s.faults & (kFaultFuse | kFaultEmergencyThermostat), kFaultEmergencyThermostat);

    // With the fuse gone the thermostat input reads clear, yet the bit stays.
    r.s.boardInputs = kInFuse;
    r.evaluate();
    EXPECT_EQ(r.s.faults & (kFaultFuse | kFaultEmergencyThermostat), kFaultFuse | kFaultEmergencyThermostat);
    r.s.boardInputs = kInFuse | kInEmergencyThermostat;
    r.evaluate();
    EXPECT_NE(r.s.faults & kFaultEmergencyThermostat, 0u);

    r.s.boardInputs = 0;
    r.evaluate();
    EXPECT_EQ(r.s.faults & (kFaultFuse | kFaultEmergencyThermostat), 0u);

    // A fuse blowing first does not raise a thermostat fault that was clear.
    r.s.boardInputs = kInFuse | kInEmergencyThermostat;
    r.evaluate();
    EXPECT_EQ(r.s.faults & kFaultEmergencyThermostat, 0u);
}

TEST(Faults, SeparatorSensorsNeverSuspend) {
    StepRig r;
    r.s.sensors[kSensorAir] = kInvalidTemp;
    r.s.sensors[kSensorCh] = kInvalidTemp;
    r.evaluate();
    EXPECT_EQ(r.s.faults, 0u) << "not read without the separator";
    r.s.usr.USE_HYDROSEP = 1;
    r.evaluate();
    EXPECT_EQ(r.s.faults, kFaultAirSensor | kFaultChSensor);
    EXPECT_FALSE(suspends(r.s.faults));
}

TEST(Faults, ChimneySweepRefusedWhileBurningOrHot) {
    for (Variant v : kBoth) {
        StepRig r(v);
        r.s.usr.EXFAN_MODE = 3;
        r.s.burnerState = kStop;
        r.s.sensors[kSensorGas] = 100;
        r.evaluate();
        EXPECT_EQ(r.s.faults & (kFaultSweepBurning | kFaultSweepHot), kFaultSweepHot);
        r.s.sensors[kSensorGas] = 99;
        r.evaluate();
        EXPECT_EQ(r.s.faults & (kFaultSweepBurning | kFaultSweepHot), 0u);

        r.s.sensors[kSensorGas] = 300;
        r.s.burnerState = kBurning;
        r.evaluate();
        EXPECT_EQ(r.s.faults & (kFaultSweepBurning | kFaultSweepHot), kFaultSweepBurning) << "at most one";

        r.s.burnerState = kStop;
        r.s.sensors[kSensorGas] = kInvalidTemp;
        r.evaluate();
        EXPECT_NE(r.s.faults & kFaultSweepHot, 0u) << "an unreadable flue gas is not known to be cool";
    }
}

TEST(Faults, FirewoodModeNeverHoldsAFault) {
    for (Variant v : kBoth) {
        StepRig r(v);
        r.s.usr.BURN_MODE = 2;
        r.s.usr.THERMO_SWITCH_ENABLE = 0;  // the reminder would raise 0x800
        r.s.usr.EXFAN_MODE = 3;
        r.s.boardInputs = kInFuse | kInEmergencyThermostat | kInInverterOverheat | kInAugerJam;
        for (int& t : r.s.sensors) t = kInvalidTemp;
        for (int i = 0; i < 20; ++i) {
            r.evaluate();
            ASSERT_EQ(r.s.faults, 0u) << i;
            r.second();
        }
    }
}

TEST(Faults, AugerTubeSensorFaultFollowsTheProtectionSwitches) {
    for (Variant v : kBoth) {
        StepRig r(v);
        r.s.sensors[kSensorValve2] = kInvalidTemp;
        r.s.svc.EMSTART_ENABLE = 1;
        r.s.usr.WORM_TEMP_SENSOR_ENABLE = 1;
        r.evaluate();
        EXPECT_NE(r.s.faults & kFaultAugerSensor, 0u);
        EXPECT_TRUE(suspends(r.s.faults));

        // KESTRALO drops the fault with the sensor switched off; ORVENA keeps
        // judging the sensor as long as the emergency start is on.
        r.s.usr.WORM_TEMP_SENSOR_ENABLE = 0;
        r.evaluate();
        EXPECT_EQ((r.s.faults & kFaultAugerSensor) != 0, v == Variant::Orvena);

        // Without the emergency start sensor 9 is a valve sensor: a fault
        // from before must not hold the burner.
        r.s.usr.WORM_TEMP_SENSOR_ENABLE = 1;
        r.evaluate();
        ASSERT_NE(r.s.faults & kFaultAugerSensor, 0u);
        r.s.svc.EMSTART_ENABLE = 0;
        r.evaluate();
        EXPECT_EQ(r.s.faults & kFaultAugerSensor, 0u);

        r.s.svc.EMSTART_ENABLE = 1;
        r.s.sensors[kSensorValve2] = 30;
        r.evaluate();
        EXPECT_EQ(r.s.faults & kFaultAugerSensor, 0u);
    }
}

}  // namespace
}  // namespace vesk::test
