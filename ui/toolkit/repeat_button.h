// A button that repeats its click while held: at once, after the first
// delay, then at a period that shortens by a step down to above the floor.
#pragma once
#include "ui/toolkit/button.h"

namespace vesk {

class RepeatButton : public Button {
public:
    explicit RepeatButton(Widget* parent) : Button(parent) {}

    void setTiming(int firstDelayMs, int repeatPeriodMs, int shortestPeriodMs, int periodStepMs);

    void penDown(Point local) override;
    void penUp(Point local) override;
    void cancelPress() override;
    void timerTick() override;

private:
    int firstDelayMs_ = 500;
    int repeatPeriodMs_ = 200;
    int shortestPeriodMs_ = 50;
    int periodStepMs_ = 10;
    bool inFirstDelay_ = false;
    int repeatCount_ = 0;
};

}  // namespace vesk
