// Heating, hot-water and recirculation pumps with their protections.
#include "control/control_context.h"
#include "control/control_steps.h"

namespace vesk {

void antiLegionellaStep(ControlContext&) {}
void pumpStep(ControlContext&) {}
void dhwOptimisationStep(ControlContext&) {}
void bufferTankLoadingStep(ControlContext&) {}

}  // namespace vesk
