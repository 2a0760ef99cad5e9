// RepeatButton timing: the timer is re-armed with each shorter period.
#include "ui/toolkit/repeat_button.h"

#include "ui/toolkit/app_frame.h"

namespace vesk {

void RepeatButton::setTiming(int firstDelayMs, int repeatPeriodMs, int shortestPeriodMs, int periodStepMs) {
    firstDelayMs_ = firstDelayMs;
    repeatPeriodMs_ = repeatPeriodMs;
    shortestPeriodMs_ = shortestPeriodMs;
    periodStepMs_ = periodStepMs;
}

void RepeatButton::penDown(Point) {
    setPressed(true, true);
    if (firstDelayMs_ != 0) {
        frame_->startTimer(this, firstDelayMs_);
        inFirstDelay_ = true;
    } else {
        frame_->startTimer(this, repeatPeriodMs_);
    }
    repeatCount_ = 0;
    click();
}

void RepeatButton::timerTick() {
    if (inFirstDelay_) {
        inFirstDelay_ = false;
        repeatCount_ = 0;
        frame_->startTimer(this, repeatPeriodMs_);
    } else {
        const int period = repeatPeriodMs_ - repeatCount_ * periodStepMs_;
        if (period > shortestPeriodMs_) {
            ++repeatCount_;
            frame_->startTimer(this, period);
        }
    }
    click();
}

void RepeatButton::penUp(Point) {
    pressed_ = false;
    inFirstDelay_ = false;
    repaint();
    frame_->stopTimer(this);
}

void RepeatButton::cancelPress() {
    inFirstDelay_ = false;
    repeatCount_ = 0;
    pressed_ = false;
    frame_->stopTimer(this);
}

}  // namespace vesk
