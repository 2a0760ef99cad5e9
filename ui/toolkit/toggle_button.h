// An on/off button (check boxes too): flips on pen-down, nothing on pen-up.
#pragma once
#include "ui/toolkit/button.h"

namespace vesk {

class ToggleButton : public Button {
public:
    explicit ToggleButton(Widget* parent) : Button(parent) {}

    void setToggling(bool enabled) { toggling_ = enabled; }
    bool on() const { return pressed_; }

    void penDown(Point local) override;
    void penUp(Point local) override;

private:
    bool toggling_ = true;
};

}  // namespace vesk
