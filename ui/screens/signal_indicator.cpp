// SignalIndicator: bars by level, the event flash on a 300 ms timer.
#include "ui/screens/signal_indicator.h"

#include "ui/screens/home_rules.h"
#include "ui/toolkit/app_frame.h"
#include "ui/toolkit/resources.h"

namespace vesk {

namespace {
constexpr int kEventPicture = 241;
}

void SignalIndicator::place(int x, int y) {
    const Bitmap& b = frame_->resources().keyed(signalPicture(0));
    rect_ = Rect::ofSize(x, y, b.width(), b.height());
}

int SignalIndicator::picture() const {
    if (flashing_) return flashOn_ ? kEventPicture : 0;
    return signalPicture(level_);
}

void SignalIndicator::update(bool present, int level, bool event) {
    setVisible(present, true);
    if (event && !flashing_) {
        flashing_ = true;
        flashOn_ = true;
        ticks_ = 0;
        frame_->startTimer(this, kSignalFlashMs);
        level_ = level;
        redraw();
        return;
    }
    if (signalPicture(level) != signalPicture(level_)) {
        level_ = level;
        if (!flashing_) redraw();
    }
    level_ = level;
}

void SignalIndicator::timerTick() {
    if (++ticks_ >= kSignalFlashTicks) {
        flashing_ = false;
        frame_->stopTimer(this);
        if (flashDone_) flashDone_();
    } else {
        flashOn_ = !flashOn_;
    }
    redraw();
}

void SignalIndicator::hide() {
    Control::hide();
    // The flash goes on when the page is back; the event is still set.
    if (flashing_) {
        frame_->stopTimer(this);
        flashing_ = false;
    }
}

void SignalIndicator::redraw() {
    if (!visible_ || !parent_) return;
    // The blank phase shows what lies beneath.
    restoreBackground();
    repaint();
}

void SignalIndicator::paint(Painter& p) {
    if (const int pic = picture()) p.drawBitmap(frame_->resources().keyed(pic), rect_.left, rect_.top);
}

}  // namespace vesk
