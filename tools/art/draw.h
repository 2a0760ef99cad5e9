// Small cairo helpers shared by every picture: colours, paths, faces.
#pragma once
#include <cairo.h>

#include "tools/art/style.h"

namespace vesk::art {

Rgb mix(Rgb a, Rgb b, double t);
void setColour(cairo_t* cr, Rgb c, double alpha = 1.0);
// Vertical gradient source from `top` at y0 to `bottom` at y1.
void setVertical(cairo_t* cr, Rgb top, Rgb bottom, double y0, double y1);

// Rectangle path with separately rounded top and bottom corners.
void roundedRect(cairo_t* cr, double x, double y, double w, double h, double rTop, double rBottom);
inline void roundedRect(cairo_t* cr, double x, double y, double w, double h, double r) {
    roundedRect(cr, x, y, w, h, r, r);
}
void fillRounded(cairo_t* cr, double x, double y, double w, double h, double r, Rgb c);
void polygon(cairo_t* cr, const double* xy, int points);
void disc(cairo_t* cr, double cx, double cy, double r, Rgb c);

// The colours of one button or plate face.
struct FaceColours {
    Rgb top, bottom;  // gradient of the face
    Rgb border;
    double shine = 0.0;  // strength of the light line under the top edge
};

enum class Face {
    Dark,       // navy, white caption
    Light,      // light, blue caption
    Blue,       // pressed light face: blue, white caption
    White,      // pressed dark face: white, black caption
    Amber,      // warning blink
    Red,        // fault blink
    Highlight,  // selected value field
    MidLight,   // medium-light pressed face
    Plate,      // text plates and readouts: near white, black text
    Grey,       // inactive indicator
};

FaceColours faceColours(Face f);

struct FaceShape {
    double w, h;
    double rTop, rBottom;
};

// Silhouette and face of a rounded button or plate.
void faceSilhouette(cairo_t* cr, const FaceShape& s);
void paintFace(cairo_t* cr, const FaceShape& s, const FaceColours& c);

}  // namespace vesk::art
