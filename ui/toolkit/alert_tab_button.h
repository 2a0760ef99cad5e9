// A tab that blinks a warning or fault picture every 500 ms while an alert
// level is set and the tab is not the selected one.
#pragma once
#include "ui/toolkit/tab_button.h"

namespace vesk {

constexpr int kAlertBlinkMs = 500;

class AlertTabButton : public TabButton {
public:
    explicit AlertTabButton(Widget* parent) : TabButton(parent) {}

    void setAlertBitmaps(int warningResource, int faultResource);
    // 0 none, 1 warning, 2 fault.
    void setAlert(int level);
    int alertLevel() const { return level_; }
    bool blinkPhase() const { return phase_; }

    void paint(Painter& p) override;
    void timerTick() override;
    void hide() override;

private:
    int level_ = 0;
    Bitmap warningFace_;
    Bitmap faultFace_;
    bool blinking_ = false;
    bool phase_ = false;
};

}  // namespace vesk
