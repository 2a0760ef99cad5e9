// The boiler picture per variant, the temperature panel and their small parts.
#include "tools/art/boiler.h"

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
    // A fuel-level sight glass low on the wall.
    double gx = x1 - 12, gy = bottom - 40;
    fillRounded(cr, gx, gy, 6, 34, 3, hex(0x8CA0B5));
    fillRounded(cr, gx + 1, gy + 14, 4, 19, 2, hex(0xB8874A));
}

void fanHousing(cairo_t* cr, Box fan) {
    disc(cr, fan.x + fan.w / 2.0, fan.y + fan.h / 2.0, fan.w / 2.0 + 2, kFanHousing);
}

void feet(cairo_t* cr, double x0, double x1, double y) {
    fillRounded(cr, x0, y, 10, 5, 1.5, kBodyEdge);
    fillRounded(cr, x1 - 10, y, 10, 5, 1.5, kBodyEdge);
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
    feet(cr, 12, 83, 164);
    doorFrame(cr, l.fire, 3);
    burnerFrame(cr);
    fanHousing(cr, l.fan);
    cairo_save(cr);
    cairo_translate(cr, l.auger.x, l.auger.y);
    paintAuger(cr, l.auger.w, 0, true);
    cairo_restore(cr);
    // A duct from the blower up into the auger's burner end.
    cairo_rectangle(cr, l.fan.x + 7, l.auger.y + l.auger.h - 2, 8, 4);
    setColour(cr, kFanHousing);
    cairo_fill(cr);
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
    // Four cards, caption strip over value area, and the mode/power card.
    struct Card {
        double x, y, w, h, strip;
    };
    static const Card kCards[] = {
        {1, 1, 54, 46, 18}, {57, 1, 55, 46, 18}, {1, 57, 54, 46, 18}, {57, 57, 55, 46, 18}};
    auto shape = [](cairo_t* cr) {
        for (const Card& c : kCards) roundedRect(cr, c.x, c.y, c.w, c.h, 4);
        roundedRect(cr, 0, 113, kW, 19, 4);
        cairo_set_source_rgb(cr, 0, 0, 0);
        cairo_fill(cr);
    };
    auto paint = [](cairo_t* cr) {
        for (const Card& c : kCards) {
            fillRounded(cr, c.x, c.y, c.w, c.h, 4, kNavy);
            roundedRect(cr, c.x + 1, c.y + 1, c.w - 2, c.h - 2, 3);
            setColour(cr, kWhite);
            cairo_fill(cr);
            roundedRect(cr, c.x + 1, c.y + 1, c.w - 2, c.strip, 3, 0);
            setColour(cr, hex(0xD4E5F4));
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
