// TwoLineButton and the two-line text placement shared with caption fields.
#include "ui/toolkit/two_line_button.h"

namespace vesk {

void paintTwoLines(Painter& p, const Rect& rect, const std::string& first, const std::string& second, int offset,
                   const TextStyle& style, const Margins& m) {
    if (second.empty()) {
        paintText(p, rect, first, style, m);
        return;
    }
    const Rect box = rect.shrunk(m.left, m.top, m.right, m.bottom);
    Rect one = box, two = box;
    if (style.format & kDtVCenter) {
        one = box.offset(0, -offset / 2);
        two = box.offset(0, offset - offset / 2);
    } else {
        two = box.offset(0, offset);
    }
    // The shifted boxes may reach past the widget; keep both lines inside it.
    p.save();
    p.clip(box);
    if (!first.empty()) p.drawText(first, one, style.font, style.color, style.format);
    p.drawText(second, two, style.font, style.color, style.format);
    p.restore();
}

void TwoLineButton::paint(Painter& p) {
    p.drawBitmap(currentFace(), rect_.left, rect_.top);
    paintTwoLines(p, rect_, text_, second_, offset_, textStyle(), margins_);
}

}  // namespace vesk
