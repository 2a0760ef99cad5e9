// "ПУСК/СТОП КОТЛА" of the user menu: stop confirmation, ignition choice
// or manual ignition, by burning mode and burner state.
#pragma once
#include <functional>

#include "ui/screens/screen_context.h"
#include "ui/toolkit/button.h"
#include "ui/toolkit/label.h"
#include "ui/toolkit/screen.h"

namespace vesk {

class AppFrame;

// "Вы действительно хотите остановить котел?" with "ОК" (stop the burner)
// and "ОТМЕНА"; either closes it.
class StopConfirmation : public Screen {
public:
    StopConfirmation(AppFrame* frame, ScreenContext& ctx);

    Label* text() const { return text_; }
    Button* okButton() const { return ok_; }
    Button* cancelButton() const { return cancel_; }

private:
    void onButton(Widget& sender);

    ScreenContext& ctx_;
    Label* text_ = nullptr;
    Button* ok_ = nullptr;
    Button* cancel_ = nullptr;
};

// Stops the burner the way the stop confirmation and manual ignition's
// cancel do: stop command, auger stopped (explicitly on boards that need
// it), blower off. Takes stateLock.
void stopBurnerFromScreen(ControlContext& c);

// Acts for the entry from `menu` (the screen on top, or null): the stop
// confirmation or the manual ignition screen replace the menu, the ignition
// choice is pushed over it. Semi-automatic burning opens the screen that
// `semiAutomatic` makes in place of the menu; firewood does nothing.
void startStopBoiler(AppFrame& frame, ScreenContext& ctx, Widget* menu,
                     const std::function<Widget*()>& semiAutomatic = {});

}  // namespace vesk
