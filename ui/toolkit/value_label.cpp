// ValueLabel: caption and value boxes follow the bounds.
#include "ui/toolkit/value_label.h"

namespace vesk {

void ValueLabel::setBounds(int x, int y, int width, int height, int bitmapResource, std::string text) {
    Label::setBounds(x, y, width, height, bitmapResource, std::move(text));
    valueBox_ = {rect_.right - 46, rect_.top + 4, rect_.right - 4, rect_.bottom - 4};
    captionBox_ = {rect_.left, rect_.top, rect_.right - 46, rect_.bottom};
}

void ValueLabel::setValueText(std::string text, bool redraw) {
    valueText_ = std::move(text);
    if (redraw) repaint();
}

void ValueLabel::paint(Painter& p) {
    paintUnderlay(p);
    paintText(p, captionBox_, text_, style(), margins_);
    if (!valueText_.empty()) p.drawText(valueText_, valueBox_, valueFont_, color_, valueFormat_);
}

}  // namespace vesk
