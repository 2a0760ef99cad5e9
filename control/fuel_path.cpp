// Protections of the fuel path: auger-tube emergency start, ash remover,
// bunker filling and the fuel-level record.
#include "control/control_context.h"
#include "control/control_steps.h"

namespace vesk {

void emergencyStartStep(ControlContext&) {}
void bunkerFillingStep(ControlContext&) {}
void ashRemoverStep(ControlContext&) {}
void fuelLevelRecordStep(ControlContext&) {}

}  // namespace vesk
