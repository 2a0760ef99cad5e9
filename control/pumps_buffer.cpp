// Buffer-tank loading: the burner heats the tank in a blow-up and burning
// run, then keeps the fire low until the tank has cooled by the load delta.
#include "control/burner.h"
#include "control/control_context.h"
#include "control/control_steps.h"
#include "control/pumps.h"
#include "core/controller_state.h"

namespace vesk {

void bufferTankLoadingStep(ControlContext& c) {
    ControllerState& s = c.s;
    const UserParams& u = s.usr;
    PumpRecord& p = s.pumps;
    if (u.PRIME_LOOP_TYPE != 1 || u.USE_HYDROSEP != 1 || s.burnerState == kStop) return;
    const int water = s.readSensor(kSensorWater);
    if (!isValidTemp(water)) return;  // the pump step runs every pump then

    if (!p.tankLoading && water <= u.PRIME_LOOP_TANK_UST - u.PRIME_LOOP_TANK_LOAD_DELTA) {
        p.tankLoading = 1;
        s.burner.keepMode = 0;
        if (s.burnerState != kBlowup) enterState(c, kBlowup);
    } else if (water >= u.PRIME_LOOP_TANK_UST) {
        p.tankLoading = 0;
        s.pumpLoop = 0;
        // Only burning has a maintenance sub-mode; blow-up shares its
        // sub-state and must not be disturbed.
        if (s.burnerState == kBurning) s.burner.keepMode = 1;
    }
    if (p.tankLoading) s.pumpLoop = risingLatch(water, u.TRC_HSEP_ON, u.TRC_HSEP_OFF, s.pumpLoop);
}

}  // namespace vesk
