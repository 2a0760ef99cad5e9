// Stopping the burner, then starting the service tool.
#include "ui/screens/menu/service_handover.h"

#include <mutex>

#include "platform/process.h"
#include "ui/screens/menu/menus.h"
#include "ui/screens/start_stop.h"
#include "ui/toolkit/app_frame.h"

namespace vesk {

ServiceHandover::ServiceHandover(AppFrame* frame, ScreenContext& ctx) : Widget(frame, 0, 0, 0, 0), ctx_(ctx) {
    ControllerState& s = ctx.state();
    {
        std::lock_guard<std::recursive_mutex> g(s.stateLock);
        // The stop is not recorded: after the service tool the panel comes
        // back in the state it had.
        s.persistInhibit = 1;
    }
    stopBurnerFromScreen(ctx.control);
    frame->startTimer(this, kHandoverDelayMs);
}

void ServiceHandover::timerTick() {
    frame_->stopTimer(this);
    if (done_) return;
    done_ = true;
    const std::string path = frame_->appDir() + kServiceToolName;
    const bool started = ctx_.startProgram ? ctx_.startProgram(path) : startProgram(path);
    if (started) frame_->quit();
}

void startServiceHandover(UserMenuScreen& menu, ScreenContext& ctx) {
    menu.setHandover(std::make_unique<ServiceHandover>(menu.frame(), ctx));
}

}  // namespace vesk
