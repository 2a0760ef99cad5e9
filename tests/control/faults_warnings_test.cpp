// Warning word: dead bands, sensor warnings, the variants' own bits and the
// two reminder cycles over virtual time.
#include <gtest/gtest.h>

#include <string>

#include "control/faults.h"
#include "protection_rig.h"

namespace vesk::test {
namespace {

constexpr Variant kBoth[] = {Variant::Orvena, Variant::Kestralo};

TEST(Warnings, HighFlueGasAndLowWaterBands) {
    for (Variant v : kBoth) {
        StepRig r(v);
        r.s.svc.GAS_CLEAN = 250;
        r.s.burnerState = kBurning;
        for (auto [gas, on] : {std::pair{249, false}, {250, true}, {225, true}, {224, false}, {300, true}}) {
            r.s.sensors[kSensorGas] = gas;
            r.evaluate();
            EXPECT_EQ((r.s.warnings & kWarnHighGas) != 0, on) << gas;
        }
        r.s.burnerState = kStop;
        r.evaluate();
        EXPECT_EQ(r.s.warnings & kWarnHighGas, 0u) << "only while the burner runs";

        r.s.usr.USE_LTWATW = 1;
        r.s.usr.LOW_TWATW = 40;
        for (auto [water, on] : {std::pair{41, false}, {40, true}, {44, true}, {45, false}, {41, false}}) {
            r.s.sensors[kSensorWater] = water;
            r.evaluate();
            EXPECT_EQ((r.s.warnings & kWarnLowWater) != 0, on) << water;
        }
    }
}

TEST(Warnings, SensorWarningsOnlyForSensorsInUse) {
    StepRig r;
    r.s.warnings = kWarnWentOut;  // the burner's own bit survives the pass
    for (int i : {kSensorDhw, kSensorValve1, kSensorValve2, kSensorValveAir, kSensorOutdoor})
        r.s.sensors[i] = kInvalidTemp;
    r.s.usr.HEAT_MODE = 0;
    r.s.usr.USE_WHETHER = 0;
    r.evaluate();
    EXPECT_EQ(r.s.warnings & 0xFFu, kWarnWentOut);

    r.s.usr.HEAT_MODE = 3;
    r.s.usr.VLV1.MODE = 1;
    r.s.usr.VLV1.USEWH = 1;  // weather curve: valve water and outdoor
    r.s.usr.VLV1.USEWATER = 0;
    r.s.usr.VLV1.USEAIR = 0;
    r.s.usr.VLV2.MODE = 2;
    r.s.usr.VLV2.USEWATER = 0;
    r.s.usr.VLV2.USEWH = 0;
    r.s.usr.VLV2.USEAIR = 1;  // room air only
    r.evaluate();
    EXPECT_EQ(r.s.warnings & 0xFFu,
              kWarnWentOut | kWarnDhwSensor | kWarnValve1Sensor | kWarnValveAirSensor | kWarnOutdoorSensor);
}

TEST(Warnings, OrvenaBunkerAndAugerSensorBits) {
    StepRig r(Variant::Orvena);
    r.s.controlFlags |= kFlagBunkerFillFailed;
    r.s.boardInputs = kInBunkerEmpty | kInWrongPhasing;
    r.evaluate();
    EXPECT_EQ(r.s.warnings & 0xF00u, kWarnBunkerNotFilled) << "input 0x08 is the bunker here";
    r.s.controlFlags &= ~kFlagBunkerFillFailed;
    r.s.usr.WORM_TEMP_SENSOR_ENABLE = 0;
    for (int i = 0; i < 2000; ++i) r.evaluate();
    EXPECT_EQ(r.s.warnings & 0xF00u, kWarnAugerSensorOff) << "shown all the time";
}

TEST(Warnings, KestraloPhasingAndAshAuger) {
    StepRig r(Variant::Kestralo);
    r.s.usr.LINE_WRONG_ENABLE = 1;
    r.s.controlFlags |= kFlagBunkerFillFailed;  // no bunker filling on this variant
    r.s.boardInputs = kInWrongPhasing;
    for (uint16_t fw : {0x1000, 0x1100, 0x2200, 0x2214, 0x2215}) {
        r.s.boardVersion = fw;
        r.evaluate();
        EXPECT_EQ(r.s.warnings & 0xF00u, fw >= 0x2200 ? kWarnWrongPhasing : 0u) << std::hex << fw;
    }
    r.s.usr.LINE_WRONG_ENABLE = 0;
    r.evaluate();
    EXPECT_EQ(r.s.warnings & kWarnWrongPhasing, 0u);

    r.s.boardInputs = kInBunkerEmpty;  // 0x08: the ash-removal auger here
    r.evaluate();
    EXPECT_EQ(r.s.warnings & 0xF00u, kWarnAshJam);
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
}

// Evaluates once a second; per second 'F' for the reminder fault, 'W' for
// the reminder warning, '-' for neither.
std::string reminderTrace(StepRig& r, int seconds) {
    const uint32_t warn = reminderWarning(r.s.variant);
    std::string out;
    for (int i = 0; i < seconds; ++i) {
        r.evaluate();
        const bool f = r.s.faults & kFaultThermoSwitchOff;
        const bool w = r.s.warnings & warn;
        out += f ? (w ? '!' : 'F') : (w ? 'W' : '-');
        r.second();
    }
    return out;
}

TEST(Warnings, SafetyThermostatReminderAcrossMidnight) {
    for (Variant v : kBoth) {
        // 23:45:00: the first window crosses midnight.
        StepRig r(v, {2026, 3, 1, 9, 23, 45, 0, 0});
        r.s.usr.THERMO_SWITCH_ENABLE = 0;
        // The first window starts with ten seconds of fault; each later one
        // with the cycle that opens it and nine seconds of fault.
        std::string expected = std::string(10, 'F') + std::string(1790, 'W');
        expected += '-' + std::string(9, 'F') + std::string(1790, 'W');
        expected += '-' + std::string(9, 'F') + std::string(90, 'W');
        EXPECT_EQ(reminderTrace(r, 3700), expected);
        EXPECT_EQ(r.s.warnings & 0xC00u, reminderWarning(v)) << "the variant's own bit only";
        EXPECT_EQ(r.s.faults & kFaultThermoSwitchOff, 0u);
        r.clock.advance(1000 * (1800 - 100));
        r.evaluate();
        r.second();
        r.evaluate();
        EXPECT_NE(r.s.faults & ~kFaultsNotSuspending, 0u) << "the reminder suspends combustion";

        r.s.usr.THERMO_SWITCH_ENABLE = 1;
        r.evaluate();
        EXPECT_EQ(r.s.faults & kFaultThermoSwitchOff, 0u);
        EXPECT_EQ(r.s.warnings & reminderWarning(v), 0u);
    }
}

}  // namespace
}  // namespace vesk::test
