#include "service_tool/tool_buttons.h"

#include <algorithm>

namespace vesk {

Button* addButton(Widget* parent, int x, int y, const ButtonLook& look, std::string caption, ClickHandler onClick) {
    auto* b = new Button(parent);
    b->setBitmaps(x, y, look.normal, look.pressed);
    b->setFont(look.fontSize, true);
    b->setTextColor(look.text);
    b->setPressedTextColor(look.pressedText);
    b->setText(std::move(caption));
    b->setClickHandler(std::move(onClick));
    parent->addChild(b);
    return b;
}

Button* ChoiceButtons::add(int x, int y, std::string caption) {
    const int index = count();
    // Button's own pen-up has unpressed it just before: mark again first.
    Button* b = addButton(parent_, x, y, look_, std::move(caption), [this, index](Widget&) {
        mark(index, true);
        if (onChoose_) onChoose_(index);
    });
    buttons_.push_back(b);
    return b;
}

void ChoiceButtons::mark(int i, bool redraw) {
    marked_ = i;
    for (int k = 0; k < count(); ++k) {
        Button* b = buttons_[size_t(k)];
        if (b->pressed() != (k == i)) b->setPressed(k == i, redraw && b->visible());
    }
}

void ChoiceButtons::showFirst(int n) {
    for (int k = 0; k < count(); ++k) buttons_[size_t(k)]->setVisible(k < n, false);
}

}  // namespace vesk
