// A button whose action needs a long press: it fires only when the pen is
// lifted after at least 5 s and before 10 s of holding.
#pragma once
#include "ui/toolkit/button.h"

namespace vesk {

constexpr int kHoldArmMs = 5000;

class HoldButton : public Button {
public:
    explicit HoldButton(Widget* parent) : Button(parent) {}

    bool armed() const { return armed_; }

    void penDown(Point local) override;
    void penUp(Point local) override;
    void cancelPress() override;
    void timerTick() override;

private:
    bool armed_ = false;
};

}  // namespace vesk
