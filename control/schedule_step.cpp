// Thermostat schedule evaluation for the control cycle.
#include "control/control_context.h"
#include "control/control_steps.h"
#include "control/schedule_eval.h"
#include "core/controller_state.h"

namespace vesk {

void evaluateScheduleStep(ControlContext& c) {
    ControllerState& s = c.s;
    Period period;
    s.scheduleActive = evaluateSchedule(c.schedule, s.localTime, period);
    // Readers test scheduleActive first; a cleared copy keeps an ended
    // period's targets from lingering where a reader might look.
    s.activePeriod = s.scheduleActive ? period : Period{};
}

}  // namespace vesk
