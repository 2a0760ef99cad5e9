// One pass of the control cycle: the steps in their fixed order.
#pragma once
#include "control/control_context.h"
#include "core/alarm_sound.h"

namespace vesk {

class ControlCycle {
public:
    explicit ControlCycle(ControlContext c);
    ControlCycle(const ControlCycle&) = delete;
    ControlCycle& operator=(const ControlCycle&) = delete;
    // Runs with stateLock held by the caller. The steps' requests to wake
    // the board link are held until the cycle ends and passed on only when
    // the outputs differ from where they began: an output switched and
    // taken back within one cycle sends nothing.
    void run();
    // The context as given, for callers outside the cycle (the screens).
    ControlContext& context() { return outside_; }

private:
    ControlContext outside_;
    ControlContext c_;  // the steps' copy: its sendNow only notes the wish
    bool wakeWanted_ = false;
    AlarmSound alarm_;
};

}  // namespace vesk
