// DrawText-like captions for the mock-up screens: pixel heights, Arial through
// fontconfig, a GDI-style rectangle with centring and word wrap.
#pragma once
#include <cairo.h>

#include "tools/art/style.h"

namespace vesk::art {

enum TextFormat { kLeft = 0, kCentre = 1, kVCentre = 4, kWrap = 16 };

void mockText(cairo_t* cr, const char* s, double x, double y, double w, double h, int px, bool bold, Rgb c,
              int format);

}  // namespace vesk::art
