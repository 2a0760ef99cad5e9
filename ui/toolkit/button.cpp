// Button: press look on pen-down, click on pen-up.
#include "ui/toolkit/button.h"

#include "ui/toolkit/app_frame.h"
#include "ui/toolkit/resources.h"

namespace vesk {

Button::Button(Widget* parent) : Control(parent) {}

void Button::setBitmaps(int x, int y, int normalResource, int pressedResource) {
    normalFace_ = frame_->resources().keyed(normalResource);
    pressedFace_ = frame_->resources().keyed(pressedResource);
    rect_ = Rect::ofSize(x, y, normalFace_.width(), normalFace_.height());
}

void Button::setText(std::string text) { text_ = std::move(text); }

void Button::setFont(int size, bool bold) { font_ = {size, bold}; }

void Button::setMargins(int left, int top, int right, int bottom) { margins_ = {left, top, right, bottom}; }

void Button::setPressed(bool pressed, bool redraw) {
    pressed_ = pressed;
    if (redraw) repaint();
}

TextStyle Button::textStyle() const { return {font_, pressed_ ? pressedTextColor_ : textColor_, format_}; }

void Button::paint(Painter& p) { paintButtonFace(p, rect_, currentFace(), text_, textStyle(), margins_); }

void Button::penDown(Point) {
    if (!enabled_) return;
    setPressed(true, true);
}

void Button::penUp(Point) {
    if (!pressed_) return;
    setPressed(false, true);
    click();
}

void Button::cancelPress() { pressed_ = false; }

}  // namespace vesk
