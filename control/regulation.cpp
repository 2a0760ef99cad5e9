// Power regulation: water trend, regulators, blower and auger drive.
#include "control/control_context.h"
#include "control/control_steps.h"

namespace vesk {

void initRegulators(ControllerState&) {}
void waterTrendStep(ControlContext&) {}

}  // namespace vesk
