// Start and stop from the menu entry, and the stop confirmation.
#include "ui/screens/start_stop.h"

#include <mutex>

#include "control/burner_commands.h"
#include "control/control_steps.h"
#include "ui/screens/manual_ignition_screen.h"
#include "ui/screens/state_snapshot.h"
#include "ui/toolkit/app_frame.h"
#include "ui/toolkit/message_box.h"

namespace vesk {

namespace {

constexpr int kBoxBackground = 193;
constexpr int kButtonNormal = 173;
constexpr int kButtonPressed = 172;
constexpr Color kCaptionBlue = 0xC37C00;

// Pop the menu, push the screen, delete the menu.
void replaceMenu(AppFrame& frame, Widget* menu, Widget* screen) {
    if (menu && frame.top() == menu) frame.pop();
    frame.push(screen);
    if (menu) frame.deleteLater(menu);
}

void closeMenu(AppFrame& frame, Widget* menu) {
    if (!menu) return;
    if (frame.top() == menu) frame.pop();
    frame.deleteLater(menu);
}

void openManualIgnition(AppFrame& frame, ScreenContext& ctx, Widget* menu) {
    // A refused command leaves the menu where it is.
    if (commandBurner(ctx.state(), kCmdManualIgnition) != 1) return;
    replaceMenu(frame, menu, new ManualIgnitionScreen(&frame, ctx));
}

}  // namespace

void stopBurnerFromScreen(ControlContext& c) {
    ControllerState& s = c.s;
    std::lock_guard<std::recursive_mutex> g(s.stateLock);
    commandBurner(s, kCmdStop);
    if (s.boardVersion == 0x2214 || s.boardVersion == 0x2215) s.augerStopPulse = 1;
    stopAugerPulse(c);
    s.fanPower = 0;
}

StopConfirmation::StopConfirmation(AppFrame* frame, ScreenContext& ctx) : Screen(frame), ctx_(ctx) {
    setBackground(kBoxBackground, false);
    text_ = new Label(this);
    text_->setBounds(10, 80, 300, 85, 0, "Вы действительно хотите остановить котел?");
    text_->setFont(12, true);
    text_->setTextFormat(kDtCenter | kDtWordBreak);
    addChild(text_);
    auto button = [&](int x, const char* caption) {
        auto* b = new Button(this);
        b->setBitmaps(x, 175, kButtonNormal, kButtonPressed);
        b->setText(caption);
        b->setFont(20, true);
        b->setTextColor(kCaptionBlue);
        b->setPressedTextColor(kWhite);
        b->setClickHandler([this](Widget& s) { onButton(s); });
        addChild(b);
        return b;
    };
    ok_ = button(44, "ОК");
    cancel_ = button(182, "ОТМЕНА");
}

void StopConfirmation::onButton(Widget& sender) {
    if (&sender == ok_) stopBurnerFromScreen(ctx_.control);
    if (frame_->top() == this) frame_->pop();
    frame_->deleteLater(this);
}

void startStopBoiler(AppFrame& frame, ScreenContext& ctx, Widget* menu,
                     const std::function<Widget*()>& semiAutomatic) {
    const StateSnapshot v = takeSnapshot(ctx.state());
    const int mode = v.usr().BURN_MODE;
    if (mode == 1) {
        if (semiAutomatic)
            if (Widget* screen = semiAutomatic()) replaceMenu(frame, menu, screen);
        return;
    }
    if (mode != 0) return;
    if (v.burnerState != kStop) {
        replaceMenu(frame, menu, new StopConfirmation(&frame, ctx));
        return;
    }
    if (v.usr().FUEL == 0 || v.usr().FUEL == 1) {
        openManualIgnition(frame, ctx, menu);
        return;
    }
    auto* box = new MessageBox(&frame);
    ControllerState& s = ctx.state();
    box->buildIgnitionChoice("", "\n\nВыберите тип розжига", "РУЧНОЙ", "АВТО",
                             {[&s] {
                                  std::lock_guard<std::recursive_mutex> g(s.stateLock);
                                  return s.usr.EN_AUTOHEATER;
                              },
                              [&s](int32_t on) {
                                  std::lock_guard<std::recursive_mutex> g(s.stateLock);
                                  s.usr.EN_AUTOHEATER = on;
                              }});
    box->setSaveSettings([&ctx] { ctx.saveUserSettings(); });
    box->setResultHandler([&frame, &ctx, menu](bool cancelled) {
        if (!cancelled) {
            openManualIgnition(frame, ctx, menu);
        } else {
            commandBurner(ctx.state(), kCmdStartIgnition);
            closeMenu(frame, menu);
        }
    });
    frame.push(box);
}

}  // namespace vesk
