// The boiler's moving parts, drawn alike in the still picture and in the animations.
#pragma once
#include <cairo.h>

#include "tools/art/style.h"

namespace vesk::art {

constexpr int kFireW = 64, kFireH = 36;
constexpr int kFanSize = 22;
// The blower's impeller has eight vanes: a turn of one vane pitch repeats.
constexpr double kFanVanePitch = 45.0;
constexpr int kAugerH = 20;
constexpr int kAugerPitch = 16;

// Colours the picture and the animations must agree on.
constexpr Rgb kBody = hex(0x24476F);
constexpr Rgb kBodyEdge = hex(0x0E213D);
constexpr Rgb kSteel = hex(0xA7B3C0);
constexpr Rgb kSteelDark = hex(0x5D6976);
constexpr Rgb kFanHousing = hex(0x56616D);
constexpr Rgb kBunkerWall = hex(0xF2F5F8);
constexpr Rgb kFireboxCold = hex(0x1C1F24);

// Firebox interior in a kFireW x kFireH box at the origin. glow 0 is cold,
// 1 a burning fire's warm light on the bricks.
void paintFirebox(cairo_t* cr, double glow);
// Flickering flames; frame selects one of the fire frames.
void paintFire(cairo_t* cr, int frame);
// Embers with smoke wisps rising from them.
void paintSmoke(cairo_t* cr, int frame);
// Round blower casing with its impeller of curved vanes turned by `degrees`.
void paintFan(cairo_t* cr, double degrees);
// Auger tube of width w with the screw flight shifted by `shift` pixels.
// A closed tube has rounded ends (it is keyed); an open one fills the box.
void paintAuger(cairo_t* cr, double w, double shift, bool closedEnds);
void augerSilhouette(cairo_t* cr, double w);

}  // namespace vesk::art
