// Control: the parent link and the click call.
#include "ui/toolkit/control.h"

namespace vesk {

Control::Control(Widget* parent) : Widget(parent ? parent->frame() : nullptr, 0, 0, 0, 0) { parent_ = parent; }

void Control::paint(Painter&) {}

void Control::click() {
    if (!onClick_) return;
    // The handler may replace itself (or the screen may drop it); call a copy.
    ClickHandler h = onClick_;
    h(*this);
}

}  // namespace vesk
