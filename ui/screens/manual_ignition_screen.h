// Manual ignition: the boiler picture with an instruction, the auger and
// blower switches, "АВТО" to hand the lit fire over to the automatic, and
// "ОТМЕНА". ORVENA with an igniter fuel also offers the heating element.
#pragma once
#include "ui/screens/boiler_picture.h"
#include "ui/screens/page.h"
#include "ui/screens/picture.h"
#include "ui/screens/screen_context.h"
#include "ui/toolkit/button.h"
#include "ui/toolkit/label.h"
#include "ui/toolkit/screen.h"
#include "ui/toolkit/toggle_button.h"

namespace vesk {

class ManualIgnitionScreen : public Screen {
public:
    ManualIgnitionScreen(AppFrame* frame, ScreenContext& ctx);

    void show() override;
    // While the burner stays in manual ignition: the picture follows the
    // state and "ШНЕК" goes off when its run has ended. Otherwise the
    // screen closes.
    void refresh() override;

    BoilerPicture* boiler() const { return boiler_; }
    Picture* fuelIcon() const { return fuel_; }
    Label* instruction() const { return text_; }
    ToggleButton* augerSwitch() const { return auger_; }
    ToggleButton* blowerSwitch() const { return blower_; }
    Button* autoButton() const { return auto_; }
    Button* cancelButton() const { return cancel_; }
    ToggleButton* heaterBox() const { return heater_; }  // null when not offered
    Label* heaterLabel() const { return heaterLabel_; }

private:
    void onButton(Widget& sender);
    void close();

    ScreenContext& ctx_;
    StateSnapshot snapshot_;
    Picture* fuel_ = nullptr;
    BoilerPicture* boiler_ = nullptr;
    Label* text_ = nullptr;
    ToggleButton* auger_ = nullptr;
    ToggleButton* blower_ = nullptr;
    Button* auto_ = nullptr;
    Button* cancel_ = nullptr;
    ToggleButton* heater_ = nullptr;
    Label* heaterLabel_ = nullptr;
};

}  // namespace vesk
