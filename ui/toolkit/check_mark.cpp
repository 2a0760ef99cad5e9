// CheckMark: the box is drawn, so it needs no picture.
#include "ui/toolkit/check_mark.h"

namespace vesk {

void CheckMark::setOn(bool on, bool redraw) {
    if (on == on_) return;
    on_ = on;
    if (redraw) repaint();
}

void CheckMark::paint(Painter& p) {
    Label::paint(p);
    const int top = rect_.top + (rect_.height() - kBoxSize) / 2;
    const Rect box = Rect::ofSize(rect_.left + 2, top, kBoxSize, kBoxSize);
    p.fillRect(box, color_);
    p.fillRect(box.shrunk(1, 1, 1, 1), kWhite);
    if (on_) p.fillRect(box.shrunk(3, 3, 3, 3), color_);
}

}  // namespace vesk
