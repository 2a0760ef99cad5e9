// The burner state machine of the automatic mode: room-thermostat rules and
// the transitions between stop, ignition, blow-up, burning and pause.
#include "control/burner.h"

#include <algorithm>

#include "control/auger_pulse.h"
#include "control/control_context.h"
#include "control/control_steps.h"
#include "control/regulation.h"
#include "core/controller_state.h"
#include "core/refresh_sink.h"
#include "settings/user_table.h"

namespace vesk {

namespace {

bool roomSatisfied(const ControllerState& s) { return (s.boardInputs & kInRoomThermostat) != 0; }

// KESTRALO response 0 lowers TWAT_UST itself while the room is warm. The
// amount actually taken is given back, so the limits cannot make the
// set-point creep with every thermostat cycle.
void shiftWaterSetpoint(ControllerState& s) {
    UserParams& u = s.usr;
    CombustionRecords& r = s.combustion;
    const bool input = roomSatisfied(s);
    const int mode = u.THERMOSTAT_RESPONSE;
    if ((mode == 1 || mode == 2) && input) r.twatShift = 0;
    if (mode == 0) {
        if (input && !r.roomInputSeen) {
            const int lowered = std::max(u.TWAT_UST - u.RESPONSE_ON_TMSTAT_TWAT_UST_DECREASE, u.TWAT_UST_LIMIT_MIN);
            if (lowered < u.TWAT_UST) {
                r.twatShift += u.TWAT_UST - lowered;
                u.TWAT_UST = lowered;
            }
        } else if (!input && r.roomInputSeen && r.twatShift > 0) {
            u.TWAT_UST = std::max(u.TWAT_UST, std::min(u.TWAT_UST + r.twatShift, u.TWAT_UST_LIMIT_MAX));
            r.twatShift = 0;
        }
    }
    r.roomInputSeen = input;
}

// Whether a satisfied room thermostat sends this state to pause.
bool roomPauses(const ControllerState& s, int state) {
    if (!isKestralo(s.variant)) return state != kManualIgnition && state != kPause;
    if (s.usr.THERMOSTAT_RESPONSE != 2) return false;
    return state == kBurning || state == kBlowup || state == kFuelLoading || state == kAugerReverseTest;
}

}  // namespace

int burnupThreshold(const ControllerState& s, bool semiAutomatic) {
    int t = semiAutomatic ? s.svc.SA_GAS_BURNUP : s.svc.GAS_BURNUP;
    const int water = s.readSensor(kSensorWater);
    if (isValidTemp(water) && t < water + 10) t = water + 10;
    return t;
}

void enterState(ControlContext& c, int state, uint32_t flags) {
    // Every stop starts the pumps' standstill count afresh.
    if (state == kStop) markStandstillDay(c.s);
    c.s.burnerState = state;
    c.s.controlFlags |= kFlagStateEntry | flags;
    c.refresh.postRefresh();
}

bool takeEntry(ControllerState& s) {
    if (!(s.controlFlags & kFlagStateEntry)) return false;
    s.controlFlags &= ~kFlagStateEntry;
    return true;
}

void markStandstillDay(ControllerState& s) { s.usr.ANTI_JAM_DAY = antiJamDayNumber(s.localTime); }

int augerPulseRunning(ControlContext& c) { return c.pulse && c.pulse->running() ? 1 : 0; }

void startAugerPulse(ControlContext& c, int onTenths, int offTenths, int count) {
    if (c.pulse) c.pulse->start(onTenths, offTenths, count);
}

void stopActions(ControlContext& c) {
    stopAugerPulse(c);
    c.s.controlFlags &= ~kFlagIgniter;
    setBlower(c.s, 0);
    c.s.controlFlags |= kFlagStateEntry;
}

void automaticStep(ControlContext& c) {
    ControllerState& s = c.s;
    if (isKestralo(s.variant)) shiftWaterSetpoint(s);
    if (roomSatisfied(s)) {
        if (s.burnerState == kStop) {
            stopActions(c);
            return;
        }
        if (roomPauses(s, s.burnerState)) enterState(c, kPause);
    }

    switch (s.burnerState) {
    case kStop:
        stopActions(c);
        break;
    case kIgnition:
        switch (ignitionSequence(c)) {
        case Outcome::Done:
            s.controlFlags &= ~kFlagBlowupFromBurning;
            enterState(c, kBlowup);
            break;
        case Outcome::Failed:
            s.warnings |= kWarnWentOut;
            enterState(c, kStop);
            break;
        case Outcome::Running: break;
        }
        break;
    case kBurning:
        switch (burningSequence(c)) {
        case BurningOutcome::FlameLost:
            if (isKestralo(s.variant)) s.controlFlags &= ~kFlagIgniter;
            enterState(c, kBlowup, kFlagBlowupFromBurning);
            break;
        case BurningOutcome::PauseWanted: enterState(c, kPause); break;
        case BurningOutcome::WentOutStopped:
        case BurningOutcome::Left:
        case BurningOutcome::Running: break;
        }
        break;
    case kBlowup:
        switch (blowupSequence(c)) {
        case Outcome::Done: enterState(c, kBurning); break;
        case Outcome::Failed: enterState(c, kIgnition, kFlagIgnitionFromBlowup); break;
        case Outcome::Running: break;
        }
        break;
    case kPause:
        if (pauseTest(c)) enterState(c, kBurning);
        break;
    case kManualIgnition:
        // KESTRALO draws the flue while the operator lights the fire.
        if (isKestralo(s.variant) && s.usr.EXFAN_MODE == 1)
            s.exhaustFanPower = std::max(s.usr.EXFAN_UST, s.svc.FAN_MIN[fuelIndex(s)]);
        break;
    default:
        // Fuel loading and the reverse test: the screens drive the outputs.
        break;
    }
}

bool pauseTest(ControlContext& c) {
    ControllerState& s = c.s;
    setBlower(s, 0);
    stopAugerPulse(c);
    if (roomSatisfied(s)) return false;
    const bool schedulePause = s.scheduleActive && s.activePeriod.pause;
    if (schedulePause) return false;
    if (s.usr.HEAT_MODE == 3 && s.readSensor(kSensorDhw) > s.usr.TDHW_UST - s.svc.DHW_HYST) return false;
    return s.readSensor(kSensorWater) <= waterTarget(s);
}

}  // namespace vesk
