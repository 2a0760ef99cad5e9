// Warning word: dead bands, sensor warnings, the variants' own bits and the
// two reminder cycles over virtual time.
#include <gtest/gtest.h>

#include <string>

#include "control/faults.h"
#include "protection_rig.h"

namespace vesk::test {
namespace {

constexpr Variant kBoth[] = {Variant::Orvena, Variant::Kestralo};

TEST(Warnings, HighFlueGasBandWhileBurning) {
    for (Variant v : kBoth) {
        StepRig r(v);
        r.s.svc.GAS_CLEAN = 250;
        r.s.usr.BURN_MODE = 0;
        r.s.burnerState = kBurning;
        const std::pair<int, bool> steps[] = {
            {249, false}, {250, true}, {226, true}, {225, true}, {224, false}, {249, false}, {300, true},
        };
        for (auto [gas, on] : steps) {
            r.s.sensors[kSensorGas] = gas;
            r.evaluate();
            EXPECT_EQ((r.s.warnings & kWarnHighGas) != 0, on) << gas;
        }
        // Set, then the conditions go away: cleared at once.
        r.s.burnerState = kStop;
        r.evaluate();
        EXPECT_EQ(r.s.warnings & kWarnHighGas, 0u) << "stopped";
        r.s.burnerState = kBurning;
        r.evaluate();
        r.s.usr.BURN_MODE = 1;
        r.evaluate();
        EXPECT_EQ(r.s.warnings & kWarnHighGas, 0u) << "semi-automatic";
        r.s.usr.BURN_MODE = 0;
        r.evaluate();
        r.s.sensors[kSensorGas] = kInvalidTemp;
        r.evaluate();
        EXPECT_EQ(r.s.warnings & kWarnHighGas, 0u) << "invalid reading";
    }
}

TEST(Warnings, LowBoilerWaterBand) {
    StepRig r;
    r.s.usr.USE_LTWATW = 1;
    r.s.usr.LOW_TWATW = 40;
    const std::pair<int, bool> steps[] = {{41, false}, {40, true}, {44, true}, {45, false}, {41, false}, {35, true}};
    for (auto [water, on] : steps) {
        r.s.sensors[kSensorWater] = water;
        r.evaluate();
        EXPECT_EQ((r.s.warnings & kWarnLowWater) != 0, on) << water;
    }
    r.s.usr.USE_LTWATW = 0;
    r.evaluate();
    EXPECT_EQ(r.s.warnings & kWarnLowWater, 0u);
}

TEST(Warnings, SensorWarningsOnlyForSensorsInUse) {
    for (Variant v : kBoth) {
        StepRig r(v);
        r.s.usr.USE_WHETHER = 0;
        for (int i : {kSensorDhw, kSensorValve1, kSensorValve2, kSensorValveAir, kSensorOutdoor})
            r.s.sensors[i] = kInvalidTemp;
        r.s.usr.HEAT_MODE = 0;
        r.evaluate();
        const uint32_t sensorBits =
            kWarnDhwSensor | kWarnValve1Sensor | kWarnValve2Sensor | kWarnValveAirSensor | kWarnOutdoorSensor;
        EXPECT_EQ(r.s.warnings & sensorBits, 0u);

        for (int mode : {1, 2, 3}) {
            r.s.usr.HEAT_MODE = mode;
            r.evaluate();
            EXPECT_NE(r.s.warnings & kWarnDhwSensor, 0u) << mode;
        }

        // A valve in use needs the sensors its mode reads.
        r.s.usr.VLV1.MODE = 1;
        r.s.usr.VLV1.USEWATER = 0;
        r.s.usr.VLV1.USEWH = 0;
        r.s.usr.VLV1.USEAIR = 0;
        r.evaluate();
        EXPECT_EQ(r.s.warnings & (kWarnValve1Sensor | kWarnValveAirSensor | kWarnOutdoorSensor), 0u);
        r.s.usr.VLV1.USEWH = 1;
        r.evaluate();
        EXPECT_EQ(r.s.warnings & (kWarnValve1Sensor | kWarnOutdoorSensor), kWarnValve1Sensor | kWarnOutdoorSensor);
        r.s.usr.VLV2.MODE = 2;
        r.s.usr.VLV2.USEWATER = 1;
        r.s.usr.VLV2.USEAIR = 1;
        r.evaluate();
        EXPECT_NE(r.s.warnings & kWarnValve2Sensor, 0u);
        EXPECT_NE(r.s.warnings & kWarnValveAirSensor, 0u);
        r.s.usr.VLV1.MODE = 0;
        r.s.usr.VLV2.MODE = 0;
        r.s.usr.USE_WHETHER = 1;
        r.evaluate();
        EXPECT_EQ(r.s.warnings & (kWarnValve1Sensor | kWarnValve2Sensor | kWarnValveAirSensor), 0u);
        EXPECT_NE(r.s.warnings & kWarnOutdoorSensor, 0u) << "weather compensation reads outdoors";
        r.s.sensors[kSensorOutdoor] = -5;
        r.evaluate();
        EXPECT_EQ(r.s.warnings & kWarnOutdoorSensor, 0u);
    }
}

TEST(Warnings, WentOutIsLeftToTheBurner) {
    for (Variant v : kBoth) {
        StepRig r(v);
        r.s.warnings = kWarnWentOut;
        r.evaluate();
        EXPECT_NE(r.s.warnings & kWarnWentOut, 0u);
        r.s.warnings = 0;
        r.evaluate();
        EXPECT_EQ(r.s.warnings & kWarnWentOut, 0u);
    }
}

TEST(Warnings, OrvenaBunkerAndAugerSensorBits) {
    StepRig r(Variant::Orvena);
    r.s.controlFlags |= kFlagBunkerFillFailed;
    r.s.boardInputs = kInBunkerEmpty | kInWrongPhasing;
    r.s.usr.WORM_TEMP_SENSOR_ENABLE = 1;
    r.evaluate();
    EXPECT_EQ(r.s.warnings & 0xF00u, kWarnBunkerNotFilled) << "input 0x08 is the bunker here";
    r.s.controlFlags &= ~kFlagBunkerFillFailed;
    r.s.usr.WORM_TEMP_SENSOR_ENABLE = 0;
    for (int i = 0; i < 3000; i += 500) {
        r.evaluate();
        EXPECT_EQ(r.s.warnings & 0xF00u, kWarnAugerSensorOff) << "ORVENA shows it all the time";
        for (int k = 0; k < 500; ++k) r.second();
    }
}

TEST(Warnings, KestraloPhasingAndAshAuger) {
    StepRig r(Variant::Kestralo);
    r.s.usr.WORM_TEMP_SENSOR_ENABLE = 1;
    r.s.usr.LINE_WRONG_ENABLE = 1;
    r.s.controlFlags |= kFlagBunkerFillFailed;  // no bunker filling on this variant
    r.s.boardInputs = kInWrongPhasing;
    for (uint16_t fw : {0x2200, 0x2214, 0x2215}) {
        r.s.boardVersion = fw;
        r.evaluate();
        EXPECT_EQ(r.s.warnings & 0xF00u, kWarnWrongPhasing) << std::hex << fw;
    }
    for (uint16_t fw : {0x1000, 0x1100}) {
        r.s.boardVersion = fw;
        r.evaluate();
        EXPECT_EQ(r.s.warnings & kWarnWrongPhasing, 0u) << "old boards cannot tell " << std::hex << fw;
    }
    r.s.boardVersion = 0x2214;
    r.s.usr.LINE_WRONG_ENABLE = 0;
    r.evaluate();
    EXPECT_EQ(r.s.warnings & kWarnWrongPhasing, 0u);

    r.s.boardInputs = kInBunkerEmpty;  // 0x08: the ash-removal auger here
    r.evaluate();
    EXPECT_EQ(r.s.warnings & 0xF00u, kWarnAshJam);
    r.s.boardInputs = 0;
    r.evaluate();
    EXPECT_EQ(r.s.warnings & 0xF00u, 0u);
}

TEST(Warnings, KestraloDisabledAugerSensorShows30In1831Cycles) {
    StepRig r(Variant::Kestralo);
    r.s.usr.WORM_TEMP_SENSOR_ENABLE = 0;
    std::string pattern;
    for (int i = 0; i < 2 * 1831; ++i) {
        r.evaluate();
        pattern += (r.s.warnings & kWarnAugerSensorOffK) ? '1' : '0';
    }
    const std::string period = std::string(30, '1') + std::string(1801, '0');
    EXPECT_EQ(pattern, period + period);

    r.s.usr.WORM_TEMP_SENSOR_ENABLE = 1;
    r.evaluate();
    EXPECT_EQ(r.s.warnings & kWarnAugerSensorOffK, 0u);
}

// Evaluates once a second and records, per second, 'F' for the reminder
// fault, 'W' for the reminder warning, '-' for neither.
std::string reminderTrace(StepRig& r, int seconds) {
    const uint32_t warn = reminderWarning(r.s.variant);
    std::string out;
    for (int i = 0; i < seconds; ++i) {
        r.evaluate();
        const bool f = r.s.faults & kFaultThermoSwitchOff;
        const bool w = r.s.warnings & warn;
        EXPECT_FALSE(f && w) << i;
        out += f ? 'F' : (w ? 'W' : '-');
        r.second();
    }
    return out;
}

TEST(Warnings, SafetyThermostatReminderAcrossMidnight) {
    for (Variant v : kBoth) {
        // 23:45:00: the first window crosses midnight.
        StepRig r(v, {2026, 3, 1, 9, 23, 45, 0, 0});
        r.s.usr.THERMO_SWITCH_ENABLE = 0;
        const std::string trace = reminderTrace(r, 3700);
        // The first window starts with ten seconds of fault; each later one
        // starts with the cycle that opens it and nine seconds of fault.
        std::string expected = std::string(10, 'F') + std::string(1790, 'W');
        expected += '-' + std::string(9, 'F') + std::string(1790, 'W');
        expected += '-' + std::string(9, 'F');
        expected += std::string(3700 - expected.size(), 'W');
        EXPECT_EQ(trace, expected);
        EXPECT_EQ(r.s.warnings & ~reminderWarning(v) & 0xC00u, 0u) << "the variant's other bit stays clear";

        // The reminder fault suspends combustion and survives the fault pass.
        StepRig q(v, {2026, 3, 1, 9, 0, 0, 5, 0});
        q.s.usr.THERMO_SWITCH_ENABLE = 0;
        q.evaluate();
        EXPECT_NE(q.s.faults & kFaultThermoSwitchOff, 0u);
        EXPECT_NE(q.s.faults & ~kFaultsNotSuspending, 0u);

        q.s.usr.THERMO_SWITCH_ENABLE = 1;
        q.evaluate();
        EXPECT_EQ(q.s.faults & kFaultThermoSwitchOff, 0u);
        for (int i = 0; i < 20; ++i) q.second();
        q.s.usr.THERMO_SWITCH_ENABLE = 0;
        q.evaluate();
        EXPECT_EQ(q.s.warnings & reminderWarning(v), reminderWarning(v)) << "the old window goes on";
    }
}

TEST(Warnings, ReminderWindowSurvivesAClockJump) {
    StepRig r(Variant::Orvena, {2026, 3, 1, 9, 12, 0, 0, 0});
    r.s.usr.THERMO_SWITCH_ENABLE = 0;
    r.evaluate();
    // The clock is set back by an hour: the elapsed time wraps past a day and
    // a new window starts.
    r.clock.setLocalTime({2026, 3, 1, 9, 11, 0, 0, 0});
    r.evaluate();
    EXPECT_EQ(r.s.faults & kFaultThermoSwitchOff, 0u);
    EXPECT_EQ(r.s.protection.reminderStart, 11 * 3600);
    r.second();
    r.evaluate();
    EXPECT_NE(r.s.faults & kFaultThermoSwitchOff, 0u);
}

}  // namespace
}  // namespace vesk::test
