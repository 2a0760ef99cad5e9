// ToggleButton: the handler hears every pen-down, toggling or not.
#include "ui/toolkit/toggle_button.h"

namespace vesk {

void ToggleButton::penDown(Point) {
    if (toggling_) setPressed(!pressed_, true);
    click();
}

void ToggleButton::penUp(Point) {}

}  // namespace vesk
