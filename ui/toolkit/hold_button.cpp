// HoldButton: one 5 s timer arms it, the next disarms it for good.
#include "ui/toolkit/hold_button.h"

#include "ui/toolkit/app_frame.h"

namespace vesk {

void HoldButton::penDown(Point local) {
    Button::penDown(local);
    armed_ = false;
    frame_->startTimer(this, kHoldArmMs);
}

void HoldButton::timerTick() {
    if (!armed_) {
        armed_ = true;
        frame_->startTimer(this, kHoldArmMs);
    } else {
        armed_ = false;
        frame_->stopTimer(this);
    }
}

void HoldButton::penUp(Point) {
    if (!pressed_) return;
    pressed_ = false;
    frame_->stopTimer(this);
    repaint();
    const bool fire = armed_;
    armed_ = false;
    if (fire) click();
}

void HoldButton::cancelPress() {
    pressed_ = false;
    armed_ = false;
    frame_->stopTimer(this);
}

}  // namespace vesk
