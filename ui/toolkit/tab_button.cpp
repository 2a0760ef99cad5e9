// TabButton: text at the top with a 7-pixel margin.
#include "ui/toolkit/tab_button.h"

namespace vesk {

TabButton::TabButton(Widget* parent) : Button(parent) {
    format_ = kDtCenter;
    margins_.top = 7;
}

void TabButton::penDown(Point) {
    if (!enabled_) return;
    setPressed(true, true);
    click();
}

void TabButton::penUp(Point) {}

}  // namespace vesk
