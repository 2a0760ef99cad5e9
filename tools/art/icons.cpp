// Small pictures: pumps, valves, fuel, network, signal and set-point icons.
#include "tools/art/icons.h"

#include <cmath>

#include "tools/art/draw.h"

namespace vesk::art {

namespace {
constexpr double kPi = 3.14159265358979323846;

void circleShape(cairo_t* cr, double cx, double cy, double r) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, cx, cy, r, 0, 2 * kPi);
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_fill(cr);
}

FaceShape plate(int w, int h, double r) { return {double(w), double(h), r, r}; }

Surface onPlate(int w, int h, double r, FaceColours c, const Paint& symbol) {
    FaceShape s = plate(w, h, r);
    return renderKeyed(w, h, [s](cairo_t* cr) { faceSilhouette(cr, s); },
                       [=](cairo_t* cr) {
                           paintFace(cr, s, c);
                           symbol(cr);
                       });
}

FaceColours navyPlate() { return {kNavyLight, kNavy, kNavyDeep, 0.2}; }
}  // namespace

Surface pumpIcon(PumpLook look, double degrees) {
    const double c = kPumpSize / 2.0;
    const bool grey = look == PumpLook::Unused;
    // A running pump is green with a bright rim, so a still screen tells it
    // from the blue one that stands ready; only the impeller turns.
    const bool running = look == PumpLook::Running;
    const Rgb rim = grey ? kGreyDark : running ? hex(0x17612A) : kNavy;
    return renderKeyed(kPumpSize, kPumpSize, [c](cairo_t* cr) { circleShape(cr, c, c, c); },
                       [=](cairo_t* cr) {
                           disc(cr, c, c, c, rim);
                           cairo_new_sub_path(cr);
                           cairo_arc(cr, c, c, c - 2.2, 0, 2 * kPi);
                           if (grey)
                               setVertical(cr, hex(0xDCE1E6), hex(0xB9C1CA), 2, kPumpSize - 2);
                           else if (running)
                               setVertical(cr, hex(0x7BE38A), hex(0x1F9A3C), 2, kPumpSize - 2);
                           else
                               setVertical(cr, hex(0x49A3E6), hex(0x1A66AA), 2, kPumpSize - 2);
                           cairo_fill(cr);
                           if (running) {
                               cairo_new_sub_path(cr);
                               cairo_arc(cr, c, c, c - 3.2, 0, 2 * kPi);
                               cairo_set_line_width(cr, 1.2);
                               setColour(cr, hex(0xD8FFD0));
                               cairo_stroke(cr);
                           }
                           // Four curved impeller blades around the hub.
                           cairo_save(cr);
                           cairo_translate(cr, c, c);
                           cairo_rotate(cr, degrees * kPi / 180);
                           cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
                           cairo_set_line_width(cr, 2.6);
                           setColour(cr, grey ? hex(0x7D8894) : kWhite);
                           for (int i = 0; i < 4; ++i) {
                               cairo_save(cr);
                               cairo_rotate(cr, i * kPi / 2);
                               cairo_move_to(cr, 0, -3);
                               cairo_curve_to(cr, 3, -5, 5, -7, 5, -9.5);
                               cairo_stroke(cr);
                               cairo_restore(cr);
                           }
                           cairo_restore(cr);
                           disc(cr, c, c, 3.4, rim);
                           disc(cr, c, c, 1.4, grey ? kGreyLight : running ? hex(0xB6F5B0) : kSky);
                       });
}

Surface valveIndicator(bool inUse) {
    FaceColours c = inUse ? faceColours(Face::Blue) : faceColours(Face::Grey);
    Rgb ink = inUse ? kWhite : kGreyDark;
    return onPlate(22, 18, 3, c, [ink](cairo_t* cr) {
        const double bow[] = {4, 7, 11, 11.5, 4, 16};
        const double bow2[] = {18, 7, 11, 11.5, 18, 16};
        setColour(cr, ink);
        polygon(cr, bow, 3);
        cairo_fill(cr);
        polygon(cr, bow2, 3);
        cairo_fill(cr);
        cairo_rectangle(cr, 10.25, 4, 1.5, 7);
        cairo_fill(cr);
        cairo_rectangle(cr, 7, 2, 8, 2.5);
        cairo_fill(cr);
    });
}

Surface fuelIcon(bool pellets) {
    FaceShape s = plate(36, 14, 0);
    // It fills the boiler picture's window exactly; only the top-left pixel
    // is keyed, so no light corners show around the fuel.
    auto shape = [](cairo_t* cr) {
        const double outline[] = {1, 0, 36, 0, 36, 14, 0, 14, 0, 1};
        polygon(cr, outline, 5);
        cairo_set_source_rgb(cr, 0, 0, 0);
        cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
        cairo_fill(cr);
    };
    return renderKeyed(36, 14, shape,
                       [=](cairo_t* cr) {
                           paintFace(cr, s, {hex(0x9A9088), hex(0x6E655E), hex(0x3A332E), 0});
                           if (pellets) {
                               // Scattered pellets, each a short capsule.
                               static const double kPellets[][3] = {
                                   {5, 10, 0.2}, {10, 8, -0.6}, {15, 10.5, 0.1}, {21, 9, 0.7},
                                   {26, 10.5, -0.2}, {31, 9.5, 0.5}, {8, 4.5, 0.9},
                                   {13, 5, 0.0},  {18, 4.5, -0.8}, {24, 5, 0.3}, {29, 4.5, -0.3}};
                               cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
                               for (const auto& p : kPellets) {
                                   double dx = 2.2 * std::cos(p[2]), dy = 2.2 * std::sin(p[2]);
                                   cairo_move_to(cr, p[0] - dx, p[1] - dy);
                                   cairo_line_to(cr, p[0] + dx, p[1] + dy);
                                   cairo_set_line_width(cr, 3.2);
                                   setColour(cr, hex(0x9A6A2E));
                                   cairo_stroke_preserve(cr);
                                   cairo_set_line_width(cr, 1.6);
                                   setColour(cr, hex(0xE0B36A));
                                   cairo_stroke(cr);
                               }
                           } else {
                               // Angular coal lumps with a glint on the top faces.
                               static const double kLumps[][8] = {
                                   {2, 12, 4, 6, 10, 5, 12, 12},   {10, 12, 12, 4, 18, 3, 20, 12},
                                   {18, 12, 21, 5, 26, 6, 27, 12}, {25, 12, 28, 3, 33, 5, 34, 12},
                                   {7, 7, 9, 2, 14, 3, 13, 8},      {20, 6, 23, 2, 27, 4, 25, 7}};
                               for (const auto& l : kLumps) {
                                   polygon(cr, l, 4);
                                   setColour(cr, hex(0x17171A));
                                   cairo_fill_preserve(cr);
                                   setColour(cr, hex(0x5E626B));
                                   cairo_set_line_width(cr, 0.8);
                                   cairo_stroke(cr);
                                   cairo_move_to(cr, l[2] + 0.5, l[3] + 1);
                                   cairo_line_to(cr, l[4] - 0.5, l[5] + 1);
                                   setColour(cr, hex(0x9AA0AA));
                                   cairo_set_line_width(cr, 1);
                                   cairo_stroke(cr);
                               }
                           }
                       });
}

Surface networkIcon(NetLook look) {
    return onPlate(26, 22, 4, navyPlate(), [look](cairo_t* cr) {
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        switch (look) {
        case NetLook::None: {
            // A plug on its cable, struck through.
            setColour(cr, kWhite);
            cairo_rectangle(cr, 8, 7, 9, 7);
            cairo_fill(cr);
            cairo_rectangle(cr, 9.5, 3.5, 1.8, 3.5);
            cairo_rectangle(cr, 13.7, 3.5, 1.8, 3.5);
            cairo_fill(cr);
            cairo_set_line_width(cr, 1.8);
            cairo_move_to(cr, 12.5, 14);
            cairo_curve_to(cr, 12.5, 18, 16, 18.5, 20, 18.5);
            cairo_stroke(cr);
            cairo_set_line_width(cr, 2.4);
            setColour(cr, hex(0xFF5A5A));
            cairo_move_to(cr, 5, 4);
            cairo_line_to(cr, 21, 18);
            cairo_stroke(cr);
            break;
        }
        case NetLook::Local: {
            // A house with a link line running out of it.
            setColour(cr, kWhite);
            const double roof[] = {3, 10, 10, 3.5, 17, 10};
            polygon(cr, roof, 3);
            cairo_fill(cr);
            cairo_rectangle(cr, 5, 10, 10, 8);
            cairo_fill(cr);
            setColour(cr, kNavy);
            cairo_rectangle(cr, 8.5, 12.5, 3, 5.5);
            cairo_fill(cr);
            setColour(cr, kGreen);
            cairo_set_line_width(cr, 1.6);
            cairo_move_to(cr, 15, 15);
            cairo_line_to(cr, 20, 15);
            cairo_line_to(cr, 20, 8);
            cairo_stroke(cr);
            disc(cr, 20, 7, 2.4, kGreen);
            break;
        }
        case NetLook::Remote: {
            // A globe: outline, meridians and parallels.
            cairo_set_line_width(cr, 1.3);
            setColour(cr, kWhite);
            cairo_arc(cr, 13, 11, 7.5, 0, 2 * kPi);
            cairo_stroke(cr);
            cairo_save(cr);
            cairo_translate(cr, 13, 11);
            cairo_scale(cr, 3.2, 7.5);
            cairo_arc(cr, 0, 0, 1, 0, 2 * kPi);
            cairo_restore(cr);
            cairo_stroke(cr);
            cairo_move_to(cr, 13, 3.5);
            cairo_line_to(cr, 13, 18.5);
            cairo_move_to(cr, 5.5, 11);
            cairo_line_to(cr, 20.5, 11);
            cairo_move_to(cr, 7, 7);
            cairo_line_to(cr, 19, 7);
            cairo_move_to(cr, 7, 15);
            cairo_line_to(cr, 19, 15);
            cairo_stroke(cr);
            disc(cr, 20.5, 17, 2.6, kGreen);
            break;
        }
        }
    });
}

Surface signalIcon(int level) {
    if (level < 0) {
        FaceColours c = faceColours(Face::Amber);
        return onPlate(30, 22, 4, c, [](cairo_t* cr) {
            cairo_rectangle(cr, 6, 5, 18, 12);
            setColour(cr, kWhite);
            cairo_fill(cr);
            cairo_set_line_width(cr, 1.4);
            cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
            setColour(cr, kAmberDeep);
            cairo_move_to(cr, 6.5, 5.7);
            cairo_line_to(cr, 15, 12);
            cairo_line_to(cr, 23.5, 5.7);
            cairo_stroke(cr);
        });
    }
    return onPlate(30, 22, 4, navyPlate(), [level](cairo_t* cr) {
        for (int i = 0; i < 5; ++i) {
            double h = 3 + 3 * i;
            cairo_rectangle(cr, 4 + 5 * i, 18 - h, 3.5, h);
            setColour(cr, i < level ? kGreen : hex(0x3C5A82));
            cairo_fill(cr);
        }
    });
}

void paintThermometer(cairo_t* cr, double x, double y0, double bulbY, double scale) {
    double stemW = 3.4 * scale, bulbR = 3.3 * scale;
    // Outline, then white glass, then the red column.
    roundedRect(cr, x - stemW / 2 - 1, y0 - 1, stemW + 2, bulbY - y0 + 2, stemW / 2 + 1);
    setColour(cr, kNavy);
    cairo_fill(cr);
    disc(cr, x, bulbY, bulbR + 1, kNavy);
    roundedRect(cr, x - stemW / 2, y0, stemW, bulbY - y0, stemW / 2);
    setColour(cr, kWhite);
    cairo_fill(cr);
    disc(cr, x, bulbY, bulbR, kRed);
    cairo_rectangle(cr, x - stemW / 2 + 0.9, y0 + (bulbY - y0) * 0.35, stemW - 1.8, (bulbY - y0) * 0.65);
    setColour(cr, kRed);
    cairo_fill(cr);
}

void paintFlame(cairo_t* cr, double x, double y, double w, double h, double phase) {
    auto tongue = [&](double sx, double sy, double s, Rgb outer, Rgb inner) {
        double lean = std::sin(phase) * 0.12 * w;
        cairo_move_to(cr, sx + w * 0.5 * s + lean, sy);
        cairo_curve_to(cr, sx + w * 0.95 * s, sy + h * 0.45 * s, sx + w * 1.0 * s, sy + h * 0.8 * s,
                       sx + w * 0.5 * s, sy + h * s);
        cairo_curve_to(cr, sx, sy + h * 0.8 * s, sx + w * 0.02 * s, sy + h * 0.45 * s,
                       sx + w * 0.5 * s + lean, sy);
        cairo_close_path(cr);
        setVertical(cr, inner, outer, sy, sy + h * s);
        cairo_fill(cr);
    };
    tongue(x, y, 1.0, kRed, kFlame);
    tongue(x + w * 0.2, y + h * 0.35, 0.6, kFlame, kFlameCore);
}

Surface radiatorIcon() {
    return renderKeyed(28, 24, [](cairo_t* cr) {
        // Radiator: four sections joined by pipes at top and bottom.
        for (int i = 0; i < 4; ++i) {
            roundedRect(cr, 1 + i * 4.6, 5, 4, 17, 1.8);
            setVertical(cr, kNavyLight, kNavy, 5, 22);
            cairo_fill(cr);
            cairo_rectangle(cr, 2 + i * 4.6, 6.5, 1, 14);
            setColour(cr, kSky, 0.8);
            cairo_fill(cr);
        }
        cairo_rectangle(cr, 0, 7.5, 20, 2);
        cairo_rectangle(cr, 0, 17.5, 20, 2);
        setColour(cr, kNavyDeep);
        cairo_fill(cr);
        paintThermometer(cr, 24, 2, 19.5, 1.0);
    });
}

Surface roomIcon() {
    return renderKeyed(28, 24, [](cairo_t* cr) {
        const double roof[] = {0.5, 11, 10, 2, 19.5, 11};
        polygon(cr, roof, 3);
        setColour(cr, kNavy);
        cairo_fill(cr);
        cairo_rectangle(cr, 3, 10, 14, 13);
        setColour(cr, kNavy);
        cairo_fill(cr);
        cairo_rectangle(cr, 5, 12, 10, 9);
        setColour(cr, kWhite);
        cairo_fill(cr);
        cairo_rectangle(cr, 8, 15, 4, 6);
        setColour(cr, kNavyLight);
        cairo_fill(cr);
        paintThermometer(cr, 24, 2, 19.5, 1.0);
    });
}

Surface powerIcon() {
    return renderKeyed(28, 24, [](cairo_t* cr) {
        paintFlame(cr, 0.5, 1, 14, 22, 0.0);
        // The percent sign: two rings and a slash.
        cairo_set_line_width(cr, 1.8);
        setColour(cr, kNavy);
        cairo_arc(cr, 19.5, 8, 2.6, 0, 2 * kPi);
        cairo_stroke(cr);
        cairo_arc(cr, 24.5, 18, 2.6, 0, 2 * kPi);
        cairo_stroke(cr);
        cairo_set_line_width(cr, 2.2);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        cairo_move_to(cr, 25.5, 5);
        cairo_line_to(cr, 18.5, 21);
        cairo_stroke(cr);
    });
}

Surface outdoorIcon() {
    return renderKeyed(22, 36, [](cairo_t* cr) {
        // Sun at the top left, the thermometer to the right and down.
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        cairo_set_line_width(cr, 1.6);
        setColour(cr, kAmber);
        for (int i = 0; i < 8; ++i) {
            double a = i * kPi / 4;
            cairo_move_to(cr, 8 + 6.0 * std::cos(a), 8 + 6.0 * std::sin(a));
            cairo_line_to(cr, 8 + 7.6 * std::cos(a), 8 + 7.6 * std::sin(a));
        }
        cairo_stroke(cr);
        disc(cr, 8, 8, 4.6, hex(0xF7B52C));
        paintThermometer(cr, 15.5, 13, 30.5, 1.25);
    });
}

Surface infoEmblem() {
    return renderKeyed(54, 46, [](cairo_t* cr) {
        disc(cr, 27, 23, 22.5, kNavy);
        cairo_new_sub_path(cr);
        cairo_arc(cr, 27, 23, 20.5, 0, 2 * kPi);
        setVertical(cr, hex(0x2A9BE0), kBlueDeep, 2, 44);
        cairo_fill(cr);
        disc(cr, 27, 12.5, 3.6, kWhite);
        roundedRect(cr, 23.8, 18.5, 6.4, 17, 1.5);
        setColour(cr, kWhite);
        cairo_fill(cr);
        cairo_rectangle(cr, 21.5, 33.5, 11, 2.5);
        cairo_rectangle(cr, 21.5, 18.5, 4, 2.5);
        cairo_fill(cr);
    });
}

Surface appIcon(int size) {
    double s = size / 32.0;
    return renderOpaque(size, size, [s](cairo_t* cr) {
        cairo_scale(cr, s, s);
        cairo_rectangle(cr, 0, 0, 32, 32);
        setVertical(cr, kNavyLight, kNavyDeep, 0, 32);
        cairo_fill(cr);
        // The boiler with its fire door, the flame rising over it.
        fillRounded(cr, 7, 15, 18, 15, 2, hex(0xDDE5EE));
        fillRounded(cr, 11, 21, 10, 6, 1, hex(0x2A2522));
        cairo_rectangle(cr, 12.5, 24, 7, 2);
        setColour(cr, kFlame);
        cairo_fill(cr);
        paintFlame(cr, 10, 1, 12, 15, 0.0);
    });
}

}  // namespace vesk::art
