// Protections of the fuel path: auger-tube emergency start, ash remover,
// bunker filling and the fuel-level record.
#include "control/fuel_path.h"

#include <mutex>

#include "control/control_context.h"
#include "control/control_steps.h"
#include "control/faults.h"
#include "core/controller_state.h"

namespace vesk {

namespace {

enum EmergencyStep : uint8_t { kEmIdle = 0, kEmFeeding = 1, kEmPausing = 2 };
enum EmergencyMode : int { kEmNone = 0, kEmFeed = 1, kEmHold = 2 };

void wake(ControlContext& c) {
    if (c.sendNow) c.sendNow();
}

// Sets or clears one output bit; true when the bit changed.
bool setOutput(ControllerState& s, uint16_t bit, bool on) {
    const uint16_t before = s.outputFlags;
    s.outputFlags = on ? static_cast<uint16_t>(before | bit) : static_cast<uint16_t>(before & ~bit);
    return s.outputFlags != before;
}

void endEmergency(ControllerState& s) {
    s.emergencyMode = kEmNone;
    s.faults &= ~kFaultAugerOverheat;
    s.protection.emergencyStep = kEmIdle;
}

void startFeed(ControllerState& s, int seconds) {
    s.emergencyMode = kEmFeed;
    s.setCountdown(kTAux5, seconds);
    s.protection.emergencyStep = kEmFeeding;
}

void startPause(ControllerState& s, int seconds, int temp) {
    s.emergencyMode = kEmHold;
    s.setCountdown(kTAux5, seconds);
    s.protection.emergencyLastTemp = static_cast<int16_t>(temp);
    s.protection.emergencyStep = kEmPausing;
}

bool ashAllowed(const ControllerState& s) {
    switch (s.burnerState) {
    case kIgnition:
    case kBurning:
    case kBlowup:
    case kFuelLoading: return true;
    case kAugerReverseTest: return !isKestralo(s.variant);
    default: return false;
    }
}

}  // namespace

bool emergencyStartEnabled(const ControllerState& s) {
    return s.svc.EMSTART_ENABLE == 1 && s.usr.WORM_TEMP_SENSOR_ENABLE == 1;
}

void releaseEmergencyStart(ControllerState& s) {
    if (s.protection.emergencyStep != kEmIdle || s.emergencyMode != kEmNone) endEmergency(s);
}

void emergencyStartStep(ControlContext& c) {
    ControllerState& s = c.s;
    ProtectionRecords& p = s.protection;
    const int t = s.readSensor(kSensorValve2);
    const int start = s.svc.EMSTART_TEMP;
    const int end = s.svc.EMSTART_TEMP - s.svc.EMSTART_DELTA;

    if (p.emergencyStep == kEmIdle) {
        if (isValidTemp(t) && t >= start) {
            s.faults |= kFaultAugerOverheat;
            startFeed(s, s.svc.EMSTART_TIMEON);
        }
        return;
    }

    // A lost reading neither ends the protection nor counts as a trend; the
    // link drops the override until the sensor reads again.
    if (!isValidTemp(t)) {
        s.faults |= kFaultAugerOverheat;
        return;
    }
    if (t <= end) {
        endEmergency(s);
        return;
    }
    // Kept up every cycle: firewood mode clears the whole fault word.
    s.faults |= kFaultAugerOverheat;
    if (s.countdown(kTAux5) != 0) return;

    if (p.emergencyStep == kEmFeeding) {
        startPause(s, s.svc.EMSTART_TIMEOFF, t);
    } else if (t > p.emergencyLastTemp) {
        // Still rising after the pause: a shorter second feed.
        startFeed(s, s.svc.EMSTART_TIMEON / 2);
        p.emergencyLastTemp = static_cast<int16_t>(t);
    } else {
        // Steady: the long pause is counted in minutes.
        startPause(s, s.svc.EMSTART_TIMEOFF * 60, t);
    }
}

void ashRemoverStep(ControlContext& c) {
    ControllerState& s = c.s;
    ProtectionRecords& p = s.protection;
    if (s.usr.USE_ASH != 1 || !ashAllowed(s)) {
        // The countdown runs on, so a restart still waits out the pause.
        if (setOutput(s, kOutAshRemover, false)) wake(c);
        p.ashOn = 0;
        return;
    }
    if (s.countdown(kTAux2) != 0) return;
    if (p.ashOn == 0) {
        setOutput(s, kOutAshRemover, true);
        wake(c);
        s.setCountdown(kTAux2, s.usr.ASH_TIME_ON);
        p.ashOn = 1;
    } else {
        setOutput(s, kOutAshRemover, false);
        wake(c);
        s.setCountdown(kTAux2, s.usr.ASH_TIME_OFF * 60);
        p.ashOn = 0;
    }
}

void bunkerFillingStep(ControlContext& c) {
    ControllerState& s = c.s;
    ProtectionRecords& p = s.protection;
    std::lock_guard<std::mutex> g(s.bunkerLock);

    if (s.controlFlags & kFlagBunkerRestart) {
        s.controlFlags &= ~kFlagBunkerRestart;
        p.bunkerStep = 0;
    }
    if (p.manualFill) {
        if (s.usr.USE_FULL_SENS == 1 && (s.boardInputs & kInBunkerFull)) p.manualFill = 0;
        if (setOutput(s, kOutBunkerFiller, p.manualFill != 0)) wake(c);
        if (p.manualFill) return;
    }
    if (s.usr.BURN_MODE == 2) {
        p.bunkerStep = 0;
        if (setOutput(s, kOutBunkerFiller, false)) wake(c);
        return;
    }
    const bool empty = s.usr.USE_EMPTY_SENS == 1 && (s.boardInputs & kInBunkerEmpty);
    const bool full = s.usr.USE_FULL_SENS == 1 && (s.boardInputs & kInBunkerFull);

    if (s.usr.BUNK_AUTOFILL != 1) {
        // Without automatic filling the filler simply runs while the bunker
        // reads empty, stopped early by a full sensor.
        s.controlFlags &= ~kFlagBunkerFillFailed;
        const bool run = empty && !full;
        if (setOutput(s, kOutBunkerFiller, run)) wake(c);
        p.bunkerStep = run ? 1 : 0;
        return;
    }

    switch (p.bunkerStep) {
    case 0:
        if (empty) {
            setOutput(s, kOutBunkerFiller, true);
            p.bunkerStep = 1;
            wake(c);
            s.setCountdown(kTAux3, s.usr.BUNK_TOUT);
        } else if (setOutput(s, kOutBunkerFiller, false)) {
            wake(c);
        }
        break;
    case 1:
        if (s.countdown(kTAux3) == 0 || full) {
            setOutput(s, kOutBunkerFiller, false);
            wake(c);
            if (empty) {
                s.controlFlags |= kFlagBunkerFillFailed;
                p.bunkerStep = 2;
            } else {
                p.bunkerStep = 0;
            }
        }
        break;
    default:
        // Leaving re-arms the filling; the failure flag itself stays set.
        if (!(empty && (s.controlFlags & kFlagBunkerFillFailed))) p.bunkerStep = 0;
        break;
    }
}


}  // namespace vesk
