// One pass of the control cycle: the steps in their fixed order.
#pragma once
#include "control/control_context.h"
#include "core/alarm_sound.h"

namespace vesk {

class ControlCycle {
public:
    explicit ControlCycle(ControlContext c) : c_(c), alarm_(c.sound) {}
    // Runs with stateLock held by the caller.
    void run();
    ControlContext& context() { return c_; }

private:
    ControlContext c_;
    AlarmSound alarm_;
};

}  // namespace vesk
