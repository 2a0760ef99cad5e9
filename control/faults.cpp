// Fault and warning evaluation, once per control cycle: warnings first (with
// the safety-thermostat reminder), then faults.
#include "control/faults.h"

#include "control/control_context.h"
#include "control/control_steps.h"
#include "control/fuel_path.h"
#include "core/controller_state.h"

namespace vesk {

namespace {

constexpr uint8_t kInAshJamK = kInBunkerEmpty;  // KESTRALO wiring of input 0x08
constexpr int kOverheatC = 96;
constexpr int kHighGasBandK = 25;
constexpr int kLowWaterBandK = 5;
constexpr int kSweepHotC = 100;
constexpr int kSecondsPerDay = 86400;
constexpr int kAugerSensorShowCycles = 30;
constexpr int kAugerSensorHideCycles = 1800;

uint32_t put(uint32_t word, uint32_t bit, bool on) { return on ? (word | bit) : (word & ~bit); }

// A latch with a dead band: set and clear conditions, kept between them.
uint32_t band(uint32_t word, uint32_t bit, bool set, bool clear) {
    if (set) return word | bit;
    if (clear) return word & ~bit;
    return word;
}

bool invalid(const ControllerState& s, int index) { return !isValidTemp(s.readSensor(index)); }

int secondsOfDay(const LocalTime& t) { return t.hour * 3600 + t.minute * 60 + t.second; }

// With the safety thermostat switched off, combustion stops for the first
// ten seconds of every half hour so that nobody forgets it.
void thermoSwitchReminder(ControllerState& s) {
    const uint32_t warn = reminderWarning(s.variant);
    int& start = s.protection.reminderStart;
    if (s.usr.THERMO_SWITCH_ENABLE == 1) {
        s.faults &= ~kFaultThermoSwitchOff;
        s.warnings &= ~warn;
        return;
    }
    const int now = secondsOfDay(s.localTime);
    if (start < 0) {
        start = now;
        s.faults |= kFaultThermoSwitchOff;
        return;
    }
    int elapsed = now - start;
    if (elapsed < 0) elapsed += kSecondsPerDay;
    if (elapsed < kReminderFaultS) {
        s.faults |= kFaultThermoSwitchOff;
        s.warnings &= ~warn;
    } else if (elapsed < kReminderWindowS) {
        s.faults &= ~kFaultThermoSwitchOff;
        s.warnings |= warn;
    } else {
        start = now;
        s.faults &= ~kFaultThermoSwitchOff;
        s.warnings &= ~warn;
    }
}

// KESTRALO shows its disabled auger sensor for 30 cycles in every 1831.
void augerSensorOffReminder(ControllerState& s) {
    const uint32_t warn = augerSensorOffWarning(s.variant);
    if (s.usr.WORM_TEMP_SENSOR_ENABLE == 1) {
        s.warnings &= ~warn;
        return;
    }
    int& n = s.protection.augerSensorCounter;
    if (--n <= -(kAugerSensorShowCycles + 1)) n = kAugerSensorHideCycles;
    s.warnings = put(s.warnings, warn, n < 0);
}

}  // namespace

void evaluateWarnings(ControlContext& c) {
    ControllerState& s = c.s;
    const UserParams& u = s.usr;
    const ValveParams& v1 = u.VLV1;
    const ValveParams& v2 = u.VLV2;
    uint32_t w = s.warnings;

    const int gas = s.sensors[kSensorGas];
    if (isValidTemp(gas) && u.BURN_MODE == 0 && s.burnerState != kStop)
        w = band(w, kWarnHighGas, gas >= s.svc.GAS_CLEAN, gas < s.svc.GAS_CLEAN - kHighGasBandK);
    else
        w &= ~kWarnHighGas;

    w = put(w, kWarnDhwSensor, invalid(s, kSensorDhw) && u.HEAT_MODE >= 1 && u.HEAT_MODE <= 3);

    const int water = s.readSensor(kSensorWater);
    if (isValidTemp(water) && u.USE_LTWATW == 1)
        w = band(w, kWarnLowWater, water <= u.LOW_TWATW, water >= u.LOW_TWATW + kLowWaterBandK);
    else
        w &= ~kWarnLowWater;

    w = put(w, kWarnValve1Sensor, v1.MODE != 0 && (v1.USEWATER || v1.USEWH) && invalid(s, kSensorValve1));
    w = put(w, kWarnValve2Sensor, v2.MODE != 0 && (v2.USEWATER || v2.USEWH) && invalid(s, kSensorValve2));
    w = put(w, kWarnValveAirSensor,
            ((v1.MODE != 0 && v1.USEAIR) || (v2.MODE != 0 && v2.USEAIR)) && invalid(s, kSensorValveAir));
    w = put(w, kWarnOutdoorSensor,
            invalid(s, kSensorOutdoor) &&
                (u.USE_WHETHER || (v1.MODE != 0 && v1.USEWH) || (v2.MODE != 0 && v2.USEWH)));

    if (isKestralo(s.variant)) {
        // The first boards cannot sense the mains phasing.
        const bool phasingSensed = s.boardVersion != 0x1000 && s.boardVersion != 0x1100;
        w = put(w, kWarnWrongPhasing,
                (s.boardInputs & kInWrongPhasing) && phasingSensed && u.LINE_WRONG_ENABLE == 1);
        w = put(w, kWarnAshJam, s.boardInputs & kInAshJamK);
        s.warnings = w;
        augerSensorOffReminder(s);
    } else {
        w = put(w, kWarnBunkerNotFilled, s.controlFlags & kFlagBunkerFillFailed);
        w = put(w, kWarnAugerSensorOff, u.WORM_TEMP_SENSOR_ENABLE == 0);
        s.warnings = w;
    }
    thermoSwitchReminder(s);
}

void evaluateFaults(ControlContext& c) {
    ControllerState& s = c.s;
    const UserParams& u = s.usr;

    if (!emergencyStartEnabled(s)) releaseEmergencyStart(s);
    if (u.BURN_MODE == 2) {
        // Firewood is tended by hand: nothing to suspend, nothing to sound.
        s.faults = 0;
        return;
    }
    uint32_t f = s.faults;
    const int water = s.readSensor(kSensorWater);
    const int gas = s.sensors[kSensorGas];

    f = put(f, kFaultWaterSensor, !isValidTemp(water));
    f = put(f, kFaultGasSensor, !isValidTemp(gas));
    // Only a sensor the auger protection relies on can fail it; a stale bit
    // would otherwise hold the burner after the protection is switched off.
    const bool augerSensorUsed =
        isKestralo(s.variant) ? emergencyStartEnabled(s) : s.svc.EMSTART_ENABLE == 1;
    f = put(f, kFaultAugerSensor, augerSensorUsed && invalid(s, kSensorValve2));
    f = put(f, kFaultOverheat, u.THERMO_SWITCH_ENABLE == 1 && isValidTemp(water) && water > kOverheatC);

    if (s.boardInputs & kInFuse) {
        // A blown fuse also cuts the thermostat's input: keep what it said.
        f |= kFaultFuse;
    } else {
        f &= ~kFaultFuse;
        f = put(f, kFaultEmergencyThermostat,
                u.THERMO_SWITCH_ENABLE == 1 && (s.boardInputs & kInEmergencyThermostat));
    }
    f = put(f, kFaultInverterOverheat, s.boardInputs & kInInverterOverheat);
    f = put(f, kFaultAugerJam, s.boardInputs & kInAugerJam);

    const bool hydrosep = u.USE_HYDROSEP == 1;
    f = put(f, kFaultAirSensor, hydrosep && invalid(s, kSensorAir));
    f = put(f, kFaultChSensor, hydrosep && invalid(s, kSensorCh));

    f &= ~(kFaultSweepBurning | kFaultSweepHot);
    if (u.EXFAN_MODE == 3) {
        // An unreadable flue gas cannot show that the fire has cooled.
        if (s.burnerState != kStop)
            f |= kFaultSweepBurning;
        else if (gas >= kSweepHotC)
            f |= kFaultSweepHot;
    }
    s.faults = f;
}

}  // namespace vesk
