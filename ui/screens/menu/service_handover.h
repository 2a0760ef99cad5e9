// The hand-over to the service tool after the service code: the burner is
// stopped without that stop being stored, and 1500 ms later the service
// tool "Tavrik" is started from the program folder; once it runs, the
// controller's message loop ends (the program then closes its threads and
// files and exits 0). When it cannot be started the panel goes on with the
// boiler stopped, without a message.
#pragma once
#include "ui/screens/screen_context.h"
#include "ui/toolkit/widget.h"

namespace vesk {

class UserMenuScreen;

constexpr int kHandoverDelayMs = 1500;
constexpr const char* kServiceToolName = "Tavrik";

// The wait before the start, on a window timer. Owned by the user menu, so
// it goes when the menu goes.
class ServiceHandover : public Widget {
public:
    ServiceHandover(AppFrame* frame, ScreenContext& ctx);
    void timerTick() override;
    bool done() const { return done_; }

private:
    ScreenContext& ctx_;
    bool done_ = false;
};

void startServiceHandover(UserMenuScreen& menu, ScreenContext& ctx);

}  // namespace vesk
