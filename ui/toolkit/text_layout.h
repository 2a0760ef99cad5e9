// How the panel lays text out: DrawText's rules (alignment, vertical
// centre, word break) on pango, shared by the painter, the text cache and
// the screens that split a long text into pages.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "ui/toolkit/geometry.h"
#include "ui/toolkit/text_format.h"

typedef struct _cairo cairo_t;
typedef struct _PangoLayout PangoLayout;

namespace vesk {

// A layout for `cr` with the panel's font options (whole-pixel metrics).
PangoLayout* newPanelLayout(cairo_t* cr);

// Sets `text` and `font` on `l` as DrawText would lay them out in `r`
// (single line, word break, alignment) and returns where the layout's
// origin goes so that the text sits in `r` as the flags say.
Point placeText(PangoLayout* l, std::string_view text, const Rect& r, const Font& font, unsigned format);

// Lays messages out word-broken, each from a line of its own, on pages of
// `width` x `height`: a line never straddles two pages, and a message that
// fits a page is never split over two.
std::vector<std::string> pageMessages(const std::vector<std::string_view>& messages, int width, int height,
                                      const Font& font);

}  // namespace vesk
