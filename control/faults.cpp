// Fault and warning evaluation.
#include "control/control_context.h"
#include "control/control_steps.h"

namespace vesk {

void evaluateWarnings(ControlContext&) {}
void evaluateFaults(ControlContext&) {}

}  // namespace vesk
