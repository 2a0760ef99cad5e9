// Bits of the fault and warning words and where the variants place the
// warnings whose bits differ.
#pragma once
#include <cstdint>

#include "core/variant.h"

namespace vesk {

// faults: any bit but kFaultAirSensor and kFaultChSensor suspends combustion.
inline constexpr uint32_t kFaultFuse = 0x001;
inline constexpr uint32_t kFaultOverheat = 0x002;
inline constexpr uint32_t kFaultWaterSensor = 0x004;
inline constexpr uint32_t kFaultGasSensor = 0x008;
inline constexpr uint32_t kFaultInverterOverheat = 0x010;
inline constexpr uint32_t kFaultAugerJam = 0x020;
inline constexpr uint32_t kFaultEmergencyThermostat = 0x040;
inline constexpr uint32_t kFaultAirSensor = 0x080;
inline constexpr uint32_t kFaultChSensor = 0x100;
inline constexpr uint32_t kFaultAugerOverheat = 0x200;
inline constexpr uint32_t kFaultAugerSensor = 0x400;
inline constexpr uint32_t kFaultThermoSwitchOff = 0x800;
inline constexpr uint32_t kFaultSweepBurning = 0x1000;
inline constexpr uint32_t kFaultSweepHot = 0x2000;

// warnings bits shared by both variants.
inline constexpr uint32_t kWarnWentOut = 0x001;
inline constexpr uint32_t kWarnHighGas = 0x002;
inline constexpr uint32_t kWarnLowWater = 0x004;
inline constexpr uint32_t kWarnDhwSensor = 0x008;
inline constexpr uint32_t kWarnValve1Sensor = 0x010;
inline constexpr uint32_t kWarnValve2Sensor = 0x020;
inline constexpr uint32_t kWarnValveAirSensor = 0x040;
inline constexpr uint32_t kWarnOutdoorSensor = 0x080;

// ORVENA warnings.
inline constexpr uint32_t kWarnBunkerNotFilled = 0x100;
inline constexpr uint32_t kWarnAugerSensorOff = 0x200;
inline constexpr uint32_t kWarnReminder = 0x400;

// KESTRALO warnings.
inline constexpr uint32_t kWarnWrongPhasing = 0x100;
inline constexpr uint32_t kWarnAshJam = 0x200;
inline constexpr uint32_t kWarnAugerSensorOffK = 0x400;
inline constexpr uint32_t kWarnReminderK = 0x800;

// The warning that reminds of a disabled safety thermostat.
inline uint32_t reminderWarning(Variant v) { return isKestralo(v) ? kWarnReminderK : kWarnReminder; }
// The warning that the auger-tube sensor is switched off.
inline uint32_t augerSensorOffWarning(Variant v) {
    return isKestralo(v) ? kWarnAugerSensorOffK : kWarnAugerSensorOff;
}

// Length of the reminder's half-hour window and of its fault phase, s.
constexpr int kReminderWindowS = 1800;
constexpr int kReminderFaultS = 10;

}  // namespace vesk
