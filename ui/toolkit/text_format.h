// The DrawText format flags the screens use, with their GDI values.
#pragma once

namespace vesk {

enum TextFormat : unsigned {
    kDtTop = 0x00,
    kDtLeft = 0x00,
    kDtCenter = 0x01,
    kDtRight = 0x02,
    kDtVCenter = 0x04,
    kDtBottom = 0x08,
    kDtWordBreak = 0x10,
    kDtSingleLine = 0x20,
};

// Arial at a pixel character height (the LOGFONT height -size).
struct Font {
    int size = 12;
    bool bold = true;
    friend bool operator==(const Font&, const Font&) = default;
};

}  // namespace vesk
