// Hot water: the DHW-only pause request and the weekly anti-legionella run.
#include "control/burner.h"
#include "control/burner_commands.h"
#include "control/control_context.h"
#include "control/control_steps.h"
#include "control/pumps.h"
#include "control/schedule_eval.h"
#include "core/controller_state.h"

namespace vesk {

namespace {

constexpr int kMinutesPerWeek = 7 * 1440;

// Minutes since the start of this week's anti-legionella window.
int legionMinutes(const ControllerState& s) {
    const LocalTime& t = s.localTime;
    const int day = mondayFirstDay(t.dayOfWeek);
    int e = ((day - s.usr.ANTI_LEGION_DAY) * 24 + t.hour) * 60 + t.minute - s.usr.ANTI_LEGION_CLOCK;
    if (e < 0) e += kMinutesPerWeek;
    return e;
}

bool inLegionWindow(const ControllerState& s) {
    if (mondayFirstDay(s.localTime.dayOfWeek) < 0) return false;
    return legionMinutes(s) < s.usr.ANTI_LEGION_DURATION * 60;
}

// A stopped burner is taken to manual ignition; with a fire still hot
// enough it goes straight on to burning.
void startLegionRun(ControlContext& c) {
    ControllerState& s = c.s;
    PumpRecord& p = s.pumps;
    if (commandBurner(s, kCmdManualIgnition) != 1) return;
    const int gas = s.sensors[kSensorGas];
    if (isValidTemp(gas) && gas >= burnupThreshold(s, s.usr.BURN_MODE == 1) && s.linkOk == 1) {
        commandBurner(s, kCmdAuto);
        stopAugerPulse(c);
        p.legionStarted = 1;
        p.legionManual = 0;
        s.burnerState = kBurning;
    } else {
        p.legionManual = 1;
    }
}

// The run's end gives back a burner it started, and one it left sitting
// in manual ignition, which nothing else would ever leave.
void endLegionRun(ControlContext& c, bool stopStarted) {
    ControllerState& s = c.s;
    PumpRecord& p = s.pumps;
    if (p.legionStarted && stopStarted) {
        commandBurner(s, kCmdStop);
        s.burnerState = kStop;
    } else if (p.legionManual && s.burnerState == kManualIgnition) {
        commandBurner(s, kCmdStop);
    }
    p.legionStarted = 0;
    p.legionManual = 0;
}

}  // namespace

void dhwOptimisationStep(ControlContext& c) {
    ControllerState& s = c.s;
    PumpRecord& p = s.pumps;
    const int dhw = s.readSensor(kSensorDhw);
    const int lowAt = s.usr.TDHW_UST - s.usr.DHW_OPT_DELTA;
    if (!isValidTemp(dhw)) {
        s.controlFlags &= ~kFlagDhwOnlyPause;
        p.dhwOptStep = 0;
        return;
    }
    if (p.dhwOptStep == 0) {
        s.controlFlags &= ~kFlagDhwOnlyPause;
        if (s.pumpDhw || dhw <= lowAt) return;
        s.setCountdown(kTDhwPause, s.usr.DHW_OPT_PAUSE * 60);
        p.dhwOptStep = 1;
        return;
    }
    if (dhw <= lowAt) {
        p.dhwOptStep = 0;
        s.controlFlags &= ~kFlagDhwOnlyPause;
        return;
    }
    if (s.countdown(kTDhwPause) == 0) s.controlFlags |= kFlagDhwOnlyPause;
}

void antiLegionellaStep(ControlContext& c) {
    ControllerState& s = c.s;
    PumpRecord& p = s.pumps;
    const bool kestralo = isKestralo(s.variant);
    if (s.usr.ANTI_LEGION_ENABLE != 1 || s.usr.HEAT_MODE == 0) {
        // Switched off mid-run: a burner the run started burns on as the
        // user's own, but one parked in manual ignition is released.
        endLegionRun(c, false);
        p.legionActive = 0;
        return;
    }
    if (inLegionWindow(s)) {
        p.legionActive = 1;
        if (!kestralo && s.burnerState == kStop) startLegionRun(c);
        return;
    }
    if (!p.legionActive) return;
    p.legionActive = 0;
    endLegionRun(c, true);
}

}  // namespace vesk
