// Buttons, tabs, plates, value fields, arrows and check boxes.
#include "tools/art/faces.h"

#include <algorithm>

namespace vesk::art {

namespace {
double radiusFor(int w, int h) { return std::clamp(std::min(w, h) / 6.0, 3.0, 7.0); }

void valueBox(cairo_t* cr, double x0, double y0, double x1, double y1, Rgb border) {
    // The border sits just outside the box, so the box itself is plain white.
    cairo_rectangle(cr, x0 - 1, y0 - 1, x1 - x0 + 2, y1 - y0 + 2);
    setColour(cr, border);
    cairo_fill(cr);
    cairo_rectangle(cr, x0, y0, x1 - x0, y1 - y0);
    setColour(cr, kWhite);
    cairo_fill(cr);
    // A faint inner shadow along the top makes the box read as sunken.
    cairo_rectangle(cr, x0, y0, x1 - x0, 1);
    setColour(cr, hex(0xDCE3EA));
    cairo_fill(cr);
}
}  // namespace

Surface buttonFace(int w, int h, double rTop, double rBottom, Face face) {
    FaceShape s{double(w), double(h), rTop, rBottom};
    return renderKeyed(w, h, [s](cairo_t* cr) { faceSilhouette(cr, s); },
                       [s, face](cairo_t* cr) { paintFace(cr, s, faceColours(face)); });
}

Surface buttonFace(int w, int h, double r, const FaceColours& colours) {
    FaceShape s{double(w), double(h), r, r};
    return renderKeyed(w, h, [s](cairo_t* cr) { faceSilhouette(cr, s); },
                       [s, colours](cairo_t* cr) { paintFace(cr, s, colours); });
}

Surface valueField(int w, int h, bool selected) {
    FaceShape s{double(w), double(h), 5, 5};
    FaceColours c = faceColours(selected ? Face::Highlight : Face::Light);
    Rgb boxBorder = selected ? kBlue : kLightBorder;
    return renderKeyed(w, h, [s](cairo_t* cr) { faceSilhouette(cr, s); },
                       [=](cairo_t* cr) {
                           paintFace(cr, s, c);
                           if (selected) {
                               // A second border line makes the selection plain at a glance.
                               roundedRect(cr, 1.5, 1.5, w - 3, h - 3, 4);
                               setColour(cr, kBlue);
                               cairo_set_line_width(cr, 1);
                               cairo_stroke(cr);
                           }
                           valueBox(cr, w - 47, 6, w - 6, 30, boxBorder);
                       });
}

Surface valueRowPlate(int w, int h) {
    FaceShape s{double(w), double(h), 4, 4};
    return renderKeyed(w, h, [s](cairo_t* cr) { faceSilhouette(cr, s); },
                       [=](cairo_t* cr) {
                           paintFace(cr, s, faceColours(Face::Plate));
                           valueBox(cr, w - 46, 4, w - 4, h - 4, kPlateBorder);
                       });
}

Surface arrowButton(int w, int h, Arrow dir, bool pressed, double arrowW, double arrowH) {
    FaceShape s{double(w), double(h), radiusFor(w, h), radiusFor(w, h)};
    Face face = pressed ? Face::Blue : Face::Light;
    Rgb ink = pressed ? kWhite : kBlue;
    return renderKeyed(w, h, [s](cairo_t* cr) { faceSilhouette(cr, s); },
                       [=](cairo_t* cr) {
                           paintFace(cr, s, faceColours(face));
                           // An upward triangle, turned to point where the arrow goes;
                           // arrowW runs across the pointing direction, arrowH along it.
                           static const double kQuarterTurns[] = {0, 2, 3, 1};  // up, down, left, right
                           cairo_translate(cr, w / 2.0, h / 2.0);
                           cairo_rotate(cr, kQuarterTurns[int(dir)] * 1.5707963267948966);
                           const double pts[] = {0, -arrowH / 2, arrowW / 2, arrowH / 2, -arrowW / 2, arrowH / 2};
                           polygon(cr, pts, 3);
                           setColour(cr, ink);
                           cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
                           cairo_set_line_width(cr, 2);
                           cairo_fill_preserve(cr);
                           cairo_stroke(cr);
                       });
}

Surface checkBox(bool ticked) {
    constexpr int kSize = 32;
    FaceShape s{kSize, kSize, 6, 6};
    return renderKeyed(kSize, kSize, [s](cairo_t* cr) { faceSilhouette(cr, s); },
                       [=](cairo_t* cr) {
                           FaceColours c = ticked ? faceColours(Face::Blue)
                                                  : FaceColours{kWhite, hex(0xE9EFF5), kNavy, 0};
                           paintFace(cr, s, c);
                           // A second ring keeps the box firm on the light field.
                           roundedRect(cr, 1.5, 1.5, kSize - 3, kSize - 3, 5);
                           setColour(cr, ticked ? hex(0x00466F) : kNavy);
                           cairo_set_line_width(cr, 1);
                           cairo_stroke(cr);
                           if (!ticked) return;
                           cairo_move_to(cr, 8, 16.5);
                           cairo_line_to(cr, 13.5, 22);
                           cairo_line_to(cr, 24, 10);
                           cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
                           cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
                           cairo_set_line_width(cr, 4);
                           setColour(cr, kWhite);
                           cairo_stroke(cr);
                       });
}

}  // namespace vesk::art
