#include "service_tool/choice_buttons.h"

#include <algorithm>

namespace vesk {

Button* ChoiceButtons::add(int x, int y, std::string caption) {
    auto* b = new Button(parent_);
    b->setBitmaps(x, y, look_.normal, look_.pressed);
    b->setFont(look_.fontSize, true);
    b->setTextColor(look_.text);
    b->setPressedTextColor(look_.pressedText);
    b->setText(std::move(caption));
    const int index = count();
    // Button's own pen-up has unpressed it just before: mark again first.
    b->setClickHandler([this, index](Widget&) {
        mark(index, true);
        if (onChoose_) onChoose_(index);
    });
    parent_->addChild(b);
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
