// The boiler picture per variant, the temperature panel and their small parts.
#include "tools/art/boiler.h"

#include <cmath>

#include "tools/art/boiler_parts.h"
#include "tools/art/draw.h"

namespace vesk::art {

namespace {
void keyBox(Surface& s, Box b) {
    cairo_surface_flush(s.get());
    for (int y = b.y; y < b.y + b.h; ++y)
        for (int x = b.x; x < b.x + b.w; ++x) s.set(x, y, kKey);
    cairo_surface_mark_dirty(s.get());
}

// A dark steel frame around an opening, one bevelled step wide.
void doorFrame(cairo_t* cr, Box b, int t) {
    fillRounded(cr, b.x - t, b.y - t, b.w + 2 * t, b.h + 2 * t, 2, hex(0x3A414A));
    cairo_rectangle(cr, b.x - 1, b.y - 1, b.w + 2, b.h + 2);
    setColour(cr, hex(0x14171B));
    cairo_fill(cr);
}

void bodyShell(cairo_t* cr, double x, double y, double w, double h) {
    fillRounded(cr, x, y, w, h, 6, kBodyEdge);
    fillRounded(cr, x + 1.5, y + 1.5, w - 3, h - 3, 5, kBody);
    // Light catches the front's left edge and the top cap.
    cairo_rectangle(cr, x + 3, y + 12, 2, h - 20);
    setColour(cr, hex(0x3E6594));
    cairo_fill(cr);
    roundedRect(cr, x + 1.5, y + 1.5, w - 3, 9, 5, 0);
    setVertical(cr, hex(0x4A74A6), hex(0x31598A), y, y + 10);
    cairo_fill(cr);
}

void chimney(cairo_t* cr, double x, double top, double bottom) {
    cairo_rectangle(cr, x, top + 3, 12, bottom - top - 3);
    setVertical(cr, kSteel, hex(0x8793A0), top, bottom);
    cairo_fill(cr);
    cairo_rectangle(cr, x, top + 3, 1, bottom - top - 3);
    cairo_rectangle(cr, x + 11, top + 3, 1, bottom - top - 3);
    setColour(cr, kSteelDark);
    cairo_fill(cr);
    fillRounded(cr, x - 2, top, 16, 4, 1, kSteelDark);
}

void bunker(cairo_t* cr, double x0, double x1, double top, double bottom, double funnelX0, double funnelX1,
            double funnelBottom) {
    // Lid, wall, then the funnel down to the auger.
    const double funnel[] = {x0, bottom, x1, bottom, funnelX1, funnelBottom, funnelX0, funnelBottom};
    polygon(cr, funnel, 4);
    setColour(cr, kBodyEdge);
    cairo_fill(cr);
    const double inner[] = {x0 + 2, bottom - 1, x1 - 2, bottom - 1, funnelX1 - 1.5, funnelBottom - 1.5,
                            funnelX0 + 1.5, funnelBottom - 1.5};
    polygon(cr, inner, 4);
    setVertical(cr, hex(0xD9E1E9), hex(0xB4C0CC), bottom, funnelBottom);
    cairo_fill(cr);
    fillRounded(cr, x0, top, x1 - x0, bottom - top + 1, 4, kBodyEdge);
    cairo_rectangle(cr, x0 + 2, top + 7, x1 - x0 - 4, bottom - top - 7);
    setColour(cr, kBunkerWall);
    cairo_fill(cr);
    roundedRect(cr, x0 + 1.5, top + 1.5, x1 - x0 - 3, 5, 3, 0);
    setVertical(cr, hex(0x4A74A6), kBody, top, top + 7);
    cairo_fill(cr);
    // No level gauge: a painted one would say "part full" whatever the
    // bunker holds.
}

void fanHousing(cairo_t* cr, Box fan) {
    disc(cr, fan.x + fan.w / 2.0, fan.y + fan.h / 2.0, fan.w / 2.0 + 2, kFanHousing);
}

void feet(cairo_t* cr, double x0, double x1, double y) {
    fillRounded(cr, x0, y, 10, 5, 1.5, kBodyEdge);
    fillRounded(cr, x1 - 10, y, 10, 5, 1.5, kBodyEdge);
}

// A blower standing on its own below the burner: a snail-shaped casing
// around the impeller whose outlet rises into the burner, and its motor
// on the far side, so it does not read as a wheel.
void blower(cairo_t* cr, Box fan, double outletTop) {
    const double cx = fan.x + fan.w / 2.0, cy = fan.y + fan.h / 2.0, r = fan.w / 2.0;
    const double outletX0 = cx - 3, outletX1 = cx + r + 3;
    // Motor: a finned block on the right of the casing, with its shaft.
    fillRounded(cr, cx + r + 2, cy - 6, 11, 12, 2, kSteelDark);
    for (int i = 0; i < 3; ++i) {
        cairo_rectangle(cr, cx + r + 4 + 3 * i, cy - 5, 1, 10);
        setColour(cr, hex(0x3B444E));
        cairo_fill(cr);
    }
    // Outlet duct up into the burner.
    cairo_rectangle(cr, outletX0, outletTop, outletX1 - outletX0, cy - outletTop);
    setColour(cr, kFanHousing);
    cairo_fill(cr);
    cairo_rectangle(cr, outletX0, outletTop, 1, cy - outletTop);
    cairo_rectangle(cr, outletX1 - 1, outletTop, 1, cy - outletTop);
    setColour(cr, kBodyEdge);
    cairo_fill(cr);
    // The volute: its wall widens round the impeller towards the outlet.
    cairo_new_path(cr);
    for (int a = 0; a <= 300; a += 10) {
        const double t = a * 3.14159265358979323846 / 180, rr = r + 1 + 3.0 * a / 300;
        const double x = cx + rr * std::cos(t + 1.5707963267948966), y = cy + rr * std::sin(t + 1.5707963267948966);
        if (a == 0)
            cairo_move_to(cr, x, y);
        else
            cairo_line_to(cr, x, y);
    }
    cairo_line_to(cr, outletX1, cy);
    cairo_line_to(cr, outletX1, cy + r + 1);
    cairo_close_path(cr);
    setColour(cr, kFanHousing);
    cairo_fill_preserve(cr);
    cairo_set_line_width(cr, 1);
    setColour(cr, kBodyEdge);
    cairo_stroke(cr);
}

void burnerFrame(cairo_t* cr) {
    Box w = kFuelWindow;
    fillRounded(cr, w.x - 3, w.y - 2, w.w + 6, w.h + 4, 2, hex(0x3A414A));
}

void orvena(cairo_t* cr, const BoilerLayout& l) {
    chimney(cr, 24, 0, 14);
    bodyShell(cr, 12, 12, 76, 154);
    feet(cr, 14, 86, 166);
    doorFrame(cr, l.fire, 3);
    burnerFrame(cr);
    bunker(cr, 98, 182, 10, 104, 144, 172, 137);
    fanHousing(cr, l.fan);
    // Air duct from the blower into the burner.
    cairo_rectangle(cr, 76, l.fan.y + 6, 12, 10);
    setColour(cr, kFanHousing);
    cairo_fill(cr);
    // The auger tube continues under the picture's own copy of frame 0.
    cairo_save(cr);
    cairo_translate(cr, l.auger.x, l.auger.y);
    paintAuger(cr, l.auger.w, 0, false);
    cairo_restore(cr);
    // Flanges where the tube leaves the burner and where it closes under the funnel.
    fillRounded(cr, l.auger.x - 4, l.auger.y - 2, 5, l.auger.h + 4, 1.5, kSteelDark);
    fillRounded(cr, l.auger.x + l.auger.w - 1, l.auger.y - 2, 6, l.auger.h + 4, 1.5, kSteelDark);
}

void kestralo(cairo_t* cr, const BoilerLayout& l) {
    // The bunker stands behind the body, so its wall starts right at the
    // body's edge where the label begins.
    bunker(cr, 76, 180, 16, 104, 140, 174, 131);
    chimney(cr, 20, 2, 16);
    bodyShell(cr, 10, 14, 75, 150);
    // The right foot stands clear of the blower.
    feet(cr, 12, 64, 164);
    doorFrame(cr, l.fire, 3);
    burnerFrame(cr);
    blower(cr, l.fan, l.auger.y + l.auger.h - 3);
    cairo_save(cr);
    cairo_translate(cr, l.auger.x, l.auger.y);
    paintAuger(cr, l.auger.w, 0, true);
    cairo_restore(cr);
}
}  // namespace

BoilerLayout boilerLayout(Variant v) {
    if (isKestralo(v))
        return {{15, 80, kFireW, kFireH}, {85, 30, 75, 30}, {13, 48, 46, 16},
                {78, 151, kFanSize, kFanSize}, {76, 131, 96, kAugerH}, true};
    return {{20, 83, kFireW, kFireH}, {103, 25, 74, 30}, {25, 67, 46, 16},
            {87, 114, kFanSize, kFanSize}, {60, 137, 110, kAugerH}, false};
}

Surface boilerPicture(Variant v) {
    BoilerLayout l = boilerLayout(v);
    Surface s = renderKeyed(kBoilerW, kBoilerH, [v, l](cairo_t* cr) {
        if (isKestralo(v))
            kestralo(cr, l);
        else
            orvena(cr, l);
        cairo_save(cr);
        cairo_translate(cr, l.fire.x, l.fire.y);
        paintFirebox(cr, 0.0);
        cairo_restore(cr);
        // The fan's own picture at rest, so the boiler reads whole even
        // before its animation is loaded.
        cairo_save(cr);
        cairo_translate(cr, l.fan.x, l.fan.y);
        paintFan(cr, 0);
        cairo_restore(cr);
        // The label area is plain bunker wall: a hidden label restores it.
        cairo_rectangle(cr, l.label.x, l.label.y, l.label.w, l.label.h);
        setColour(cr, kBunkerWall);
        cairo_fill(cr);
    });
    // The fuel icon shows through this window, and the left columns stay
    // clear for the label that reaches into the picture.
    keyBox(s, kFuelWindow);
    keyBox(s, {0, 0, kBoilerMargin, kBoilerH});
    return s;
}

Surface temperaturePanel() {
    constexpr int kW = 113, kH = 132;
    // Two rows of two cells: each a caption band over a framed value box,
    // with a thin divider between the cells. The captions fill nearly half
    // the panel's width, so no frame line runs beside them.
    struct Row {
        double y;
    };
    static const Row kRows[] = {{1}, {57}};
    constexpr double kBand = 18, kBox = 29, kDivider = 55;
    const Rgb band = hex(0xC9DCEF);
    auto shape = [](cairo_t* cr) {
        for (const Row& r : kRows) roundedRect(cr, 0, r.y, kW, kBand + kBox - 1, 4);
        roundedRect(cr, 0, 113, kW, 19, 4);
        cairo_set_source_rgb(cr, 0, 0, 0);
        cairo_fill(cr);
    };
    auto paint = [=](cairo_t* cr) {
        for (const Row& r : kRows) {
            roundedRect(cr, 0, r.y, kW, kBand, 4, 0);
            setColour(cr, band);
            cairo_fill(cr);
            const double top = r.y + kBand - 1;
            roundedRect(cr, 0, top, kW, kBox, 0, 4);
            setColour(cr, kNavy);
            cairo_fill(cr);
            roundedRect(cr, 1, top + 1, kW - 2, kBox - 2, 0, 3);
            setColour(cr, kWhite);
            cairo_fill(cr);
            cairo_rectangle(cr, kDivider, top + 1, 1, kBox - 2);
            cairo_rectangle(cr, kDivider, r.y + 3, 1, kBand - 6);
            setColour(cr, kPlateBorder);
            cairo_fill(cr);
        }
        fillRounded(cr, 0, 113, kW, 19, 4, kNavy);
        roundedRect(cr, 1, 114, kW - 2, 17, 3);
        setColour(cr, kWhite);
        cairo_fill(cr);
    };
    return renderKeyed(kW, kH, shape, paint);
}

Surface fluePlate() {
    FaceShape s{46, 16, 3, 3};
    return renderKeyed(46, 16, [s](cairo_t* cr) { faceSilhouette(cr, s); },
                       [s](cairo_t* cr) {
                           paintFace(cr, s, {kWhite, hex(0xE6EBF0), hex(0x0A1A30), 0});
                       },
                       kBody);
}

Surface powerBar(bool full) {
    constexpr int kW = 47, kH = 12;
    Surface s(kW, kH, CAIRO_FORMAT_RGB24);
    cairo_surface_flush(s.get());
    for (int y = 0; y < kH; ++y) {
        for (int x = 0; x < kW; ++x) {
            bool corner = (x == 0 || x == kW - 1) && (y == 0 || y == kH - 1);
            Rgb c;
            if (corner)
                c = kKey;
            else if (y == 0 || y == kH - 1)
                c = kNavy;
            else if (!full)
                c = mix(hex(0xE3E9EF), hex(0xC9D3DD), (y - 1) / double(kH - 3));
            else {
                // Warm from yellow to red along the bar, with a lighter top.
                Rgb along = mix(hex(0xFFC933), hex(0xF0461E), x / double(kW - 1));
                c = mix(along, kWhite, y <= 3 ? 0.35 - 0.1 * y : 0.0);
            }
            s.set(x, y, c);
        }
    }
    cairo_surface_mark_dirty(s.get());
    return s;
}

}  // namespace vesk::art
