// The semi-automatic mode: fuel loaded by hand, the blower lights it,
// ramps up, regulates and notices when the charge has burnt out.
#include "control/burner.h"
#include "control/control_context.h"
#include "control/control_steps.h"
#include "control/regulation.h"
#include "core/controller_state.h"

namespace vesk {

void semiAutomaticStep(ControlContext& c) {
    ControllerState& s = c.s;
    BurnerRecord& b = s.burner;
    const ServiceParams& g = s.svc;
    stopAugerPulse(c);
    const int gas = s.sensors[kSensorGas];

    switch (s.burnerState) {
    case kStop:
        s.controlFlags |= kFlagStateEntry;
        setBlower(s, 0);
        break;
    case kIgnition:
        if (takeEntry(s)) b.subState = 0;
        if (gas >= burnupThreshold(s, true)) {
            enterState(c, kBurning);
            break;
        }
        setBlower(s, s.usr.SA_FAN_BUP);
        if (b.subState == 0) {
            s.setCountdown(kTStage, g.SA_BUP_TIME * 60);
            b.subState = 1;
        } else if (s.countdown(kTStage) == 0) {
            s.warnings |= kWarnWentOut;
            enterState(c, kStop);
        }
        break;
    case kBurning:
        if (takeEntry(s)) {
            s.setCountdown(kTBlowup, g.SA_BLOW_TIME * 60);
            b.fadeLatch = 0;
        }
        semiAutomaticBlower(c, waterTarget(s));
        // A dying charge shows as cold flue gas with the blower at full.
        if (gas > g.SA_GAS_BURNUP - 5 || s.fanPower != 100) {
            b.fadeLatch = 0;
        } else if (!b.fadeLatch) {
            s.setCountdown(kTStage, g.SA_FADE_TIME * 60);
            b.fadeLatch = 1;
        } else if (s.countdown(kTStage) == 0) {
            s.warnings |= kWarnWentOut;
            enterState(c, kStop);
        }
        break;
    case kFuelLoading:
        setBlower(s, 0);
        break;
    default:
        break;
    }
}

}  // namespace vesk
