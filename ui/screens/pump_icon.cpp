// PumpIcon: still pictures or the running animation in one place.
#include "ui/screens/pump_icon.h"

#include "ui/toolkit/app_frame.h"
#include "ui/toolkit/resources.h"

namespace vesk {

void PumpIcon::place(int x, int y) {
    unused_ = frame_->resources().keyed(202);
    ready_ = frame_->resources().keyed(203);
    load("pumpon.mbm", x, y, kAnimKeyed);
    // Without the animation file the still pictures give the size.
    if (rect_.empty()) rect_ = Rect::ofSize(x, y, ready_.width(), ready_.height());
}

void PumpIcon::setState(int state) {
    const bool changed = state != state_;
    state_ = state;
    // Restarted here too: leaving the screen stopped the timer.
    if (state_ == 2)
        start();
    else
        stop();
    if (changed) repaint();
}

void PumpIcon::paint(Painter& p) {
    if (state_ == 2 && frameCount() > 0)
        Animation::paint(p);
    else
        p.drawBitmap(state_ == 0 ? unused_ : ready_, rect_.left, rect_.top);
}

}  // namespace vesk
