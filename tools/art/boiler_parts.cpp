// The boiler's moving parts, drawn alike in the still picture and in the animations.
#include "tools/art/boiler_parts.h"

#include <cmath>

#include "tools/art/draw.h"

namespace vesk::art {

namespace {
constexpr double kPi = 3.14159265358979323846;

// Fixed flicker table: deterministic, no random source.
constexpr double kFlicker[6][5] = {
    {1.00, 0.80, 0.95, 0.70, 0.90}, {0.85, 0.95, 0.75, 0.90, 0.80}, {0.95, 0.70, 1.00, 0.80, 0.75},
    {0.80, 0.90, 0.85, 1.00, 0.70}, {0.90, 0.75, 0.90, 0.75, 1.00}, {0.75, 1.00, 0.80, 0.85, 0.85}};
}  // namespace

void paintFirebox(cairo_t* cr, double glow) {
    cairo_rectangle(cr, 0, 0, kFireW, kFireH);
    Rgb top = mix(kFireboxCold, hex(0x5A2A12), glow);
    Rgb bottom = mix(hex(0x24282E), hex(0xA2461A), glow);
    setVertical(cr, top, bottom, 0, kFireH);
    cairo_fill(cr);
    // Fire-brick courses on the back wall.
    Rgb joint = mix(hex(0x2B3038), hex(0x7A3A18), glow);
    setColour(cr, joint);
    for (int y = 8; y < kFireH - 6; y += 8) {
        cairo_rectangle(cr, 0, y, kFireW, 1);
        int off = (y / 8) % 2 ? 8 : 0;
        for (int x = off; x < kFireW; x += 16) cairo_rectangle(cr, x, y - 8 + 1, 1, 7);
    }
    cairo_fill(cr);
    // The grate across the bottom.
    cairo_rectangle(cr, 0, kFireH - 5, kFireW, 2);
    setColour(cr, mix(hex(0x3A4048), hex(0x5A3020), glow));
    cairo_fill(cr);
    for (int x = 3; x < kFireW; x += 6) cairo_rectangle(cr, x, kFireH - 3, 3, 3);
    setColour(cr, mix(hex(0x30353C), hex(0x4A2818), glow));
    cairo_fill(cr);
}

void paintFire(cairo_t* cr, int frame) {
    paintFirebox(cr, 1.0);
    const double* f = kFlicker[frame % 6];
    static const double kX[5] = {4, 15, 26, 38, 49};
    for (int i = 0; i < 5; ++i) {
        double h = 30 * f[i], w = 14;
        double x = kX[i], y = kFireH - 4 - h;
        double lean = std::sin((frame + i * 2) * kPi / 3) * 2.5;
        // Outer tongue, then the bright core.
        cairo_move_to(cr, x + w / 2 + lean, y);
        cairo_curve_to(cr, x + w + 1, y + h * 0.5, x + w, y + h, x + w / 2, y + h);
        cairo_curve_to(cr, x, y + h, x - 1, y + h * 0.5, x + w / 2 + lean, y);
        setVertical(cr, hex(0xE0401A), hex(0xFF9A1E), y, y + h);
        cairo_fill(cr);
        double ch = h * 0.6, cy = y + h - ch;
        cairo_move_to(cr, x + w / 2 + lean * 0.6, cy);
        cairo_curve_to(cr, x + w - 2, cy + ch * 0.5, x + w - 3, cy + ch, x + w / 2, cy + ch);
        cairo_curve_to(cr, x + 3, cy + ch, x + 2, cy + ch * 0.5, x + w / 2 + lean * 0.6, cy);
        setVertical(cr, hex(0xFFB52A), hex(0xFFF09A), cy, cy + ch);
        cairo_fill(cr);
    }
    // Glowing fuel bed on the grate.
    cairo_rectangle(cr, 0, kFireH - 5, kFireW, 2);
    setColour(cr, hex(0xFFB040));
    cairo_fill(cr);
}

void paintSmoke(cairo_t* cr, int frame) {
    paintFirebox(cr, 0.25);
    // Embers on the grate pulse slowly.
    for (int i = 0; i < 9; ++i) {
        double x = 4 + i * 7, pulse = 0.5 + 0.5 * std::sin((frame + i * 1.7) * kPi / 3);
        roundedRect(cr, x, kFireH - 8, 6, 4, 2);
        setColour(cr, mix(hex(0x8A1E08), hex(0xFF7A1A), pulse));
        cairo_fill(cr);
    }
    // Wisps drift upwards; each frame moves them a sixth of their climb.
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    for (int i = 0; i < 3; ++i) {
        double x = 14 + i * 18;
        for (int k = 0; k < 2; ++k) {
            double t = std::fmod((frame + k * 3 + i) / 6.0, 1.0);
            double y = kFireH - 10 - t * 24;
            double sway = std::sin((t * 2 + i) * kPi) * 4;
            cairo_move_to(cr, x + sway, y + 6);
            cairo_curve_to(cr, x + sway - 4, y + 3, x + sway + 4, y, x + sway, y - 4);
            cairo_set_line_width(cr, 3.5 - t * 1.5);
            setColour(cr, hex(0x9AA3AD), 0.75 * (1 - t) + 0.15);
            cairo_stroke(cr);
        }
    }
}

void paintFan(cairo_t* cr, double degrees) {
    const double c = kFanSize / 2.0;
    disc(cr, c, c, c, kNavyDeep);
    cairo_new_sub_path(cr);
    cairo_arc(cr, c, c, c - 1.6, 0, 2 * kPi);
    setVertical(cr, hex(0x3A4550), hex(0x262E37), 0, kFanSize);
    cairo_fill(cr);
    // A centrifugal impeller: a light ring of curved vanes around the inlet
    // eye, the way a blower looks, not a propeller.
    cairo_save(cr);
    cairo_translate(cr, c, c);
    cairo_rotate(cr, degrees * kPi / 180);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_width(cr, 1.8);
    setColour(cr, hex(0xD6DEE7));
    const int vanes = static_cast<int>(360 / kFanVanePitch);
    for (int i = 0; i < vanes; ++i) {
        cairo_save(cr);
        cairo_rotate(cr, i * kFanVanePitch * kPi / 180);
        cairo_move_to(cr, 0, -4.2);
        cairo_curve_to(cr, 2.2, -5.5, 3.6, -7.2, 3.4, -8.6);
        cairo_stroke(cr);
        cairo_restore(cr);
    }
    cairo_restore(cr);
    disc(cr, c, c, 3.6, hex(0x8C99A7));
    disc(cr, c, c, 2.0, kNavyDeep);
}

void augerSilhouette(cairo_t* cr, double w) {
    roundedRect(cr, 0, 0, w, kAugerH, 5);
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_fill(cr);
}

void paintAuger(cairo_t* cr, double w, double shift, bool closedEnds) {
    // Tube wall.
    if (closedEnds)
        roundedRect(cr, 0, 0, w, kAugerH, 5);
    else
        cairo_rectangle(cr, 0, 0, w, kAugerH);
    setColour(cr, kSteelDark);
    cairo_fill(cr);
    if (closedEnds)
        roundedRect(cr, 1, 1, w - 2, kAugerH - 2, 4);
    else
        cairo_rectangle(cr, 0, 1, w, kAugerH - 2);
    setVertical(cr, hex(0xD3DAE2), hex(0x8793A0), 1, kAugerH - 1);
    cairo_fill(cr);
    // Cut-away window showing the screw inside.
    double wx0 = closedEnds ? 6 : 0, wx1 = closedEnds ? w - 6 : w;
    cairo_save(cr);
    cairo_rectangle(cr, wx0, 5, wx1 - wx0, kAugerH - 10);
    cairo_clip(cr);
    cairo_rectangle(cr, wx0, 5, wx1 - wx0, kAugerH - 10);
    setColour(cr, hex(0x2A2E33));
    cairo_fill(cr);
    cairo_rectangle(cr, wx0, kAugerH / 2.0 - 1, wx1 - wx0, 2);
    setColour(cr, hex(0x6E7884));
    cairo_fill(cr);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    for (double x = -kAugerPitch + std::fmod(shift, kAugerPitch); x < w + kAugerPitch; x += kAugerPitch) {
        cairo_move_to(cr, x, 4);
        cairo_line_to(cr, x + 7, kAugerH - 4);
        cairo_set_line_width(cr, 3.2);
        setColour(cr, hex(0xC8D0D9));
        cairo_stroke_preserve(cr);
        cairo_set_line_width(cr, 1.0);
        setColour(cr, kWhite);
        cairo_stroke(cr);
    }
    cairo_restore(cr);
    // Window frame lines.
    cairo_rectangle(cr, wx0, 4, wx1 - wx0, 1);
    cairo_rectangle(cr, wx0, kAugerH - 5, wx1 - wx0, 1);
    setColour(cr, kSteelDark);
    cairo_fill(cr);
}

}  // namespace vesk::art
