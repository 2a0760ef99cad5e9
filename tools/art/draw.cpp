// Small cairo helpers shared by every picture: colours, paths, faces.
#include "tools/art/draw.h"

#include <cmath>

namespace vesk::art {

Rgb mix(Rgb a, Rgb b, double t) {
    auto m = [t](uint8_t x, uint8_t y) { return uint8_t(std::lround(x + (y - x) * t)); };
    return {m(a.r, b.r), m(a.g, b.g), m(a.b, b.b)};
}

void setColour(cairo_t* cr, Rgb c, double alpha) {
    cairo_set_source_rgba(cr, c.r / 255.0, c.g / 255.0, c.b / 255.0, alpha);
}

void setVertical(cairo_t* cr, Rgb top, Rgb bottom, double y0, double y1) {
    cairo_pattern_t* p = cairo_pattern_create_linear(0, y0, 0, y1);
    cairo_pattern_add_color_stop_rgb(p, 0, top.r / 255.0, top.g / 255.0, top.b / 255.0);
    cairo_pattern_add_color_stop_rgb(p, 1, bottom.r / 255.0, bottom.g / 255.0, bottom.b / 255.0);
    cairo_set_source(cr, p);
    cairo_pattern_destroy(p);
}

void roundedRect(cairo_t* cr, double x, double y, double w, double h, double rTop, double rBottom) {
    constexpr double kPi = 3.14159265358979323846;
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - rTop, y + rTop, rTop, -kPi / 2, 0);
    cairo_arc(cr, x + w - rBottom, y + h - rBottom, rBottom, 0, kPi / 2);
    cairo_arc(cr, x + rBottom, y + h - rBottom, rBottom, kPi / 2, kPi);
    cairo_arc(cr, x + rTop, y + rTop, rTop, kPi, 3 * kPi / 2);
    cairo_close_path(cr);
}

void fillRounded(cairo_t* cr, double x, double y, double w, double h, double r, Rgb c) {
    roundedRect(cr, x, y, w, h, r);
    setColour(cr, c);
    cairo_fill(cr);
}

void polygon(cairo_t* cr, const double* xy, int points) {
    cairo_move_to(cr, xy[0], xy[1]);
    for (int i = 1; i < points; ++i) cairo_line_to(cr, xy[2 * i], xy[2 * i + 1]);
    cairo_close_path(cr);
}

void disc(cairo_t* cr, double cx, double cy, double r, Rgb c) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, cx, cy, r, 0, 2 * 3.14159265358979323846);
    setColour(cr, c);
    cairo_fill(cr);
}

FaceColours faceColours(Face f) {
    switch (f) {
    case Face::Dark: return {kNavyLight, kNavy, kNavyDeep, 0.22};
    case Face::Light: return {kWhite, kLightFaceLow, kLightBorder, 0.0};
    case Face::Blue: return {hex(0x1F95DA), kBlueDeep, hex(0x00466F), 0.25};
    case Face::White: return {kWhite, hex(0xE2EAF2), kNavy, 0.0};
    case Face::Amber: return {hex(0xE08A12), hex(0xA65C00), hex(0x6E3E00), 0.25};
    case Face::Red: return {hex(0xE24444), kRedDeep, hex(0x650B0B), 0.25};
    case Face::Highlight: return {hex(0xE4F3FD), hex(0xBFE0F6), kBlue, 0.0};
    case Face::MidLight: return {hex(0xCBD7E3), hex(0xAEBFD1), hex(0x5A7896), 0.0};
    case Face::Plate: return {kWhite, hex(0xF1F5F9), kPlateBorder, 0.0};
    case Face::Grey: return {hex(0xE4E7EA), hex(0xC9CED4), kGreyDark, 0.0};
    }
    return {};
}

void faceSilhouette(cairo_t* cr, const FaceShape& s) {
    roundedRect(cr, 0, 0, s.w, s.h, s.rTop, s.rBottom);
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_fill(cr);
}

void paintFace(cairo_t* cr, const FaceShape& s, const FaceColours& c) {
    // The border is the full face; the gradient sits one pixel inside it, so
    // the rim is crisp on every side.
    roundedRect(cr, 0, 0, s.w, s.h, s.rTop, s.rBottom);
    setColour(cr, c.border);
    cairo_fill(cr);
    roundedRect(cr, 1, 1, s.w - 2, s.h - 2, s.rTop > 1 ? s.rTop - 1 : 0, s.rBottom > 1 ? s.rBottom - 1 : 0);
    setVertical(cr, c.top, c.bottom, 1, s.h - 1);
    cairo_fill(cr);
    if (c.shine > 0) {
        cairo_save(cr);
        cairo_set_line_width(cr, 1);
        cairo_move_to(cr, 1 + s.rTop * 0.6, 1.5);
        cairo_line_to(cr, s.w - 1 - s.rTop * 0.6, 1.5);
        setColour(cr, kWhite, c.shine);
        cairo_stroke(cr);
        cairo_restore(cr);
    }
}

}  // namespace vesk::art
