// DrawText-like captions for the mock-up screens: pixel heights, Arial through
// fontconfig, a GDI-style rectangle with centring and word wrap.
#include "tools/art/mock_text.h"

#include <pango/pangocairo.h>

#include "tools/art/draw.h"

namespace vesk::art {

void mockText(cairo_t* cr, const char* s, double x, double y, double w, double h, int px, bool bold, Rgb c,
              int format) {
    PangoLayout* layout = pango_cairo_create_layout(cr);
    PangoFontDescription* d = pango_font_description_from_string("Arial");
    pango_font_description_set_absolute_size(d, px * PANGO_SCALE);
    pango_font_description_set_weight(d, bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
    pango_layout_set_font_description(layout, d);
    pango_layout_set_text(layout, s, -1);
    pango_layout_set_width(layout, int(w * PANGO_SCALE));
    pango_layout_set_wrap(layout, PANGO_WRAP_WORD);
    pango_layout_set_alignment(layout, format & kCentre ? PANGO_ALIGN_CENTER : PANGO_ALIGN_LEFT);
    PangoRectangle logical;
    pango_layout_get_pixel_extents(layout, nullptr, &logical);
    double top = format & kVCentre ? y + (h - logical.height) / 2.0 : y;
    setColour(cr, c);
    cairo_move_to(cr, x, top);
    pango_cairo_show_layout(cr, layout);
    pango_font_description_free(d);
    g_object_unref(layout);
}

}  // namespace vesk::art
