// The burner state machine of the automatic and semi-automatic modes.
#include "control/control_context.h"
#include "control/control_steps.h"
#include "core/controller_state.h"

namespace vesk {

void automaticStep(ControlContext&) {}
void semiAutomaticStep(ControlContext&) {}

void initAugerPulse(ControllerState& s) {
    std::lock_guard<std::mutex> g(s.pulseLock);
    s.pulseActive = 0;
    s.pulseOnMs = 0;
    s.pulseOffMs = 60;
    s.pulseCount = -1;
}

void stopAugerPulse(ControlContext& c) { c.s.augerOn = 0; }

}  // namespace vesk
