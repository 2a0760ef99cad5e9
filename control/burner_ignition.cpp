// Automatic ignition (feeds and igniter windows) and the blow-up that
// brings a fresh fire up to heat.
#include <algorithm>

#include "control/burner.h"
#include "control/control_context.h"
#include "control/control_steps.h"
#include "control/regulation.h"
#include "core/controller_state.h"

namespace vesk {

namespace {
constexpr int kIgnitionRiseC = 3;    // flue-gas rise that shows the fire took
constexpr int kBlowupMaxGasC = 100;  // hotter than this needs no blow-up
}  // namespace

Outcome ignitionSequence(ControlContext& c) {
    ControllerState& s = c.s;
    BurnerRecord& b = s.burner;
    if (takeEntry(s)) {
        b.ignitionTries = s.svc.BURNUP_TRY;
        b.ignitionStep = 0;
    }
    const int gas = s.sensors[kSensorGas];
    if (gas >= burnupThreshold(s, false)) {
        stopAugerPulse(c);
        return Outcome::Done;
    }
    switch (b.ignitionStep) {
    case 0: {
        s.controlFlags &= ~kFlagIgniter;
        setBlower(s, 0);
        stopAugerPulse(c);
        if (b.ignitionTries <= 0) return Outcome::Failed;
        // Each later attempt feeds less; after a failed blow-up the grate
        // still holds fuel, so the first feed is one portion shorter.
        int seconds = b.ignitionTries * s.svc.WORM_BURNUP;
        if (s.controlFlags & kFlagIgnitionFromBlowup) {
            seconds = std::max(0, seconds - s.svc.WORM_BURNUP);
            s.controlFlags &= ~kFlagIgnitionFromBlowup;
        }
        startAugerPulse(c, seconds * 10, 0, 1);
        b.ignitionStep = 1;
        break;
    }
    case 1:
        if (augerPulseRunning(c)) break;
        s.controlFlags |= kFlagIgniter;
        setBlower(s, s.svc.FAN_BURNUP);
        b.ignitionStartGas = static_cast<int16_t>(gas);
        s.setCountdown(kTIgnition, s.svc.BURNUP_TOUT * 60);
        b.ignitionStep = 2;
        break;
    default:
        if (s.countdown(kTIgnition) > 0) break;
        if (gas < b.ignitionStartGas + kIgnitionRiseC) {
            b.ignitionStep = 0;
            --b.ignitionTries;
        } else {
            // Warming but not there yet: another window from here.
            b.ignitionStep = 1;
        }
        break;
    }
    return Outcome::Running;
}

Outcome blowupSequence(ControlContext& c) {
    ControllerState& s = c.s;
    BurnerRecord& b = s.burner;
    if (takeEntry(s)) {
        b.subState = 0;
        stopAugerPulse(c);
    }
    const int gas = s.sensors[kSensorGas];
    const int minutes = s.svc.BLOWUP_TIME[fuelIndex(s)];
    if (gas <= kBlowupMaxGasC && minutes != 0) {
        if (b.subState == 0) {
            driveAuger(c, 50 * kPowerScale);
            setBlower(s, fanForPower(s, 100));
            s.setCountdown(kTBlowup, minutes * 60);
            b.subState = 1;
        }
        if (s.usr.PRIME_LOOP_TYPE == 1) {
            bufferTankLoadingStep(c);
            if (s.burnerState != kBlowup) return Outcome::Running;
        }
        if (s.countdown(kTBlowup) > 0) return Outcome::Running;
        if (burnupThreshold(s, false) - 5 >= gas) return Outcome::Failed;
    }
    s.controlFlags &= ~kFlagIgniter;
    return Outcome::Done;
}

}  // namespace vesk
