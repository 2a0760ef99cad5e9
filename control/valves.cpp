// Mixing valves driven by timed motor steps.
#include "control/control_context.h"
#include "control/control_steps.h"

namespace vesk {

void valveStep(ControlContext&, int) {}

}  // namespace vesk
