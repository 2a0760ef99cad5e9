// Shared button face drawing.
#include "ui/toolkit/button_look.h"

namespace vesk {

void paintText(Painter& p, const Rect& rect, const std::string& text, const TextStyle& style, const Margins& m) {
    if (text.empty()) return;
    p.drawText(text, rect.shrunk(m.left, m.top, m.right, m.bottom), style.font, style.color, style.format);
}

void paintButtonFace(Painter& p, const Rect& rect, const Bitmap& face, const std::string& text, const TextStyle& style,
                     const Margins& m) {
    p.drawBitmap(face, rect.left, rect.top);
    paintText(p, rect, text, style, m);
}

}  // namespace vesk
