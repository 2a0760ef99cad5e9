// The one look every button-like widget shares: a keyed face picture and
// its text laid out inside the margins.
#pragma once
#include <string>

#include "ui/toolkit/bitmap.h"
#include "ui/toolkit/painter.h"

namespace vesk {

struct Margins {
    int left = 0, top = 0, right = 0, bottom = 0;
};

struct TextStyle {
    Font font;
    Color color = kBlack;
    unsigned format = kDtCenter | kDtVCenter;
};

// Face at the top-left of `rect`, then `text` in `rect` shrunk by `m`.
void paintButtonFace(Painter& p, const Rect& rect, const Bitmap& face, const std::string& text, const TextStyle& style,
                     const Margins& m);
// Text only, in `rect` shrunk by `m`.
void paintText(Painter& p, const Rect& rect, const std::string& text, const TextStyle& style, const Margins& m);

}  // namespace vesk
