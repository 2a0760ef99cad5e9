// ManualIgnitionScreen: its buttons drive the burner through the manual
// ignition operations of the combustion control.
#include "ui/screens/manual_ignition_screen.h"

#include "control/burner_manual.h"
#include "ui/screens/boiler_page.h"
#include "ui/toolkit/app_frame.h"

namespace vesk {

namespace {

constexpr int kHomeBackground = 167;
constexpr int kTabNormal = 171;
constexpr int kTabPressed = 170;
constexpr int kCheckOff = 219;
constexpr int kCheckOn = 218;

constexpr const char* kOrvenaText =
    "Заполните горелку топливом. Разожгите огонь. Включите поддув. Когда огонь разгорится, нажмите АВТО и "
    "котел перейдет в автоматический режим";
constexpr const char* kKestraloText =
    "Заполните горелку топливом. Разожгите огонь. Включите поддув. Перейдите в авторежим.";

// Fuels that are lit by the heating element.
bool igniterFuel(int fuel) { return fuel == 2 || fuel == 5; }

}  // namespace

ManualIgnitionScreen::ManualIgnitionScreen(AppFrame* frame, ScreenContext& ctx)
    : Screen(frame), ctx_(ctx), snapshot_(takeSnapshot(ctx.state())) {
    setBackground(kHomeBackground, false);
    const bool kestralo = isKestralo(snapshot_.variant);

    fuel_ = adopt(this, new Picture(this));
    fuel_->setPicture(171, 134, coalFuel(snapshot_.usr().FUEL) ? 291 : 292);
    boiler_ = adopt(this, new BoilerPicture(this, 132, 13, snapshot_));

    text_ = adopt(this, new Label(this));
    text_->setBounds(10, 10, 112, kestralo ? 180 : 150, 0, kestralo ? kKestraloText : kOrvenaText);
    text_->setFont(12, true);
    text_->setMargins(0, 0, 0, 0);
    text_->setTextFormat(kDtWordBreak);

    auto handler = [this](Widget& s) { onButton(s); };
    auto button = [&](Button* b, int x, const char* caption) {
        b->setBitmaps(x, 200, kTabNormal, kTabPressed);
        b->setText(caption);
        b->setClickHandler(handler);
        addChild(b);
    };
    auger_ = new ToggleButton(this);
    button(auger_, 0, "ШНЕК");
    blower_ = new ToggleButton(this);
    button(blower_, 80, "ПОДДУВ");
    auto_ = new Button(this);
    button(auto_, 160, "АВТО");
    cancel_ = new Button(this);
    button(cancel_, 240, "ОТМЕНА");

    if (!kestralo && igniterFuel(snapshot_.usr().FUEL)) {
        heater_ = adopt(this, new ToggleButton(this));
        heater_->setBitmaps(5, 165, kCheckOff, kCheckOn);
        heater_->setPressed((snapshot_.controlFlags & kFlagIgniter) != 0, false);
        heater_->setClickHandler(handler);
        heaterLabel_ = adopt(this, new Label(this));
        heaterLabel_->setBounds(40, 170, 100, 30, 0, "ВКЛЮЧИТЬ ТЭН");
        heaterLabel_->setFont(11, true);
        heaterLabel_->setTextFormat(kDtCenter | kDtWordBreak);
    }
}

void ManualIgnitionScreen::show() {
    Screen::show();
    boiler_->update();
}

void ManualIgnitionScreen::close() {
    if (frame_->top() == this) frame_->pop();
    frame_->deleteLater(this);
}

void ManualIgnitionScreen::refresh() {
    snapshot_ = takeSnapshot(ctx_.state());
    if (snapshot_.burnerState != kManualIgnition) {
        close();
        return;
    }
    boiler_->update();
    if (snapshot_.augerOn == 0 && auger_->on()) auger_->setPressed(false, true);
}

void ManualIgnitionScreen::onButton(Widget& sender) {
    ControlContext& c = ctx_.control;
    if (&sender == heater_) {
        manualSetIgniter(c, heater_->on());
    } else if (&sender == auger_) {
        manualSetAuger(c, auger_->on());
    } else if (&sender == blower_) {
        manualSetBlower(c, blower_->on());
        snapshot_ = takeSnapshot(ctx_.state());
        boiler_->update();
    } else if (&sender == auto_) {
        if (manualAccept(c)) close();
    } else if (&sender == cancel_) {
        manualCancel(c);
        close();
    }
}

}  // namespace vesk
