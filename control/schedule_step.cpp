// Thermostat schedule evaluation for the control cycle.
#include "control/control_context.h"
#include "control/control_steps.h"

namespace vesk {

void evaluateScheduleStep(ControlContext&) {}

}  // namespace vesk
