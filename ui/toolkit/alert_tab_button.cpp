// AlertTabButton: blink timer and the face chosen by level and phase.
#include "ui/toolkit/alert_tab_button.h"

#include "ui/toolkit/app_frame.h"
#include "ui/toolkit/resources.h"

namespace vesk {

void AlertTabButton::setAlertBitmaps(int warningResource, int faultResource) {
    warningFace_ = frame_->resources().keyed(warningResource);
    faultFace_ = frame_->resources().keyed(faultResource);
}

void AlertTabButton::setAlert(int level) {
    const bool changed = level != level_;
    level_ = level;
    if (level == 1 || level == 2) {
        if (!blinking_) {
            frame_->startTimer(this, kAlertBlinkMs);
            blinking_ = true;
        }
    } else if (level == 0) {
        if (blinking_) {
            frame_->stopTimer(this);
            blinking_ = false;
        }
        phase_ = false;
    }
    if (changed) repaint();
}

void AlertTabButton::timerTick() {
    phase_ = !phase_;
    if (!pressed_) repaint();
}

void AlertTabButton::hide() {
    TabButton::hide();
    if (blinking_) {
        frame_->stopTimer(this);
        blinking_ = false;
    }
}

void AlertTabButton::paint(Painter& p) {
    const Bitmap* face = &normalFace_;
    if (pressed_)
        face = &pressedFace_;
    else if (level_ == 2 && phase_)
        face = &faultFace_;
    else if (level_ == 1 && phase_)
        face = &warningFace_;
    paintButtonFace(p, rect_, *face, text_, textStyle(), margins_);
}

}  // namespace vesk
