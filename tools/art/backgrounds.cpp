// The three full-screen backgrounds: home, list menu, editor and message.
#include "tools/art/backgrounds.h"

#include "tools/art/draw.h"

namespace vesk::art {

namespace {
constexpr int kW = 320, kH = 240;

// Texts are drawn straight onto these fields and hidden widgets are restored
// from them pixel for pixel, so the fields stay flat.
void field(cairo_t* cr) {
    cairo_rectangle(cr, 0, 0, kW, kH);
    setColour(cr, kField);
    cairo_fill(cr);
}
}  // namespace

Surface homeBackground() {
    // Flat everywhere: the manual ignition screen sets its text and the
    // boiler picture on it too, so a rule under the tabs would cross them.
    return renderOpaque(kW, kH, field);
}

Surface menuBackground() {
    return renderOpaque(kW, kH, [](cairo_t* cr) {
        field(cr);
        // A quiet divider between the list and the button column.
        cairo_rectangle(cr, 206, 12, 1, 216);
        setColour(cr, kRule);
        cairo_fill(cr);
    });
}

Surface editorBackground() {
    return renderOpaque(kW, kH, [](cairo_t* cr) {
        field(cr);
        cairo_rectangle(cr, 0, 0, kW, 24);
        setVertical(cr, hex(0xDCE8F4), kTitleBand, 0, 24);
        cairo_fill(cr);
        cairo_rectangle(cr, 0, 24, kW, 1);
        setColour(cr, kNavy);
        cairo_fill(cr);
    });
}

}  // namespace vesk::art
