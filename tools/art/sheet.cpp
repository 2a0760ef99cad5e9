// Contact sheet: mock-up screens, then every generated picture and animation
// with its number, on one PNG for checking the artwork by eye.
#include "tools/art/sheet.h"

#include <algorithm>
#include <cstdio>

#include "tools/art/gallery.h"
#include "tools/art/mock_text.h"
#include "tools/art/mockups.h"

namespace vesk::art {

namespace {
constexpr double kSheetW = 680;
constexpr double kGap = 8;

double drawScreens(cairo_t* cr, const Gallery& g, double y) {
    // Two screens to a row, each clipped to the panel so overflow shows.
    std::vector<MockScreen> screens = mockScreens();
    for (size_t i = 0; i < screens.size(); ++i) {
        double x = kGap + double(i % 2) * (320 + 2 * kGap);
        double top = y + double(i / 2) * (240 + kGap);
        cairo_save(cr);
        cairo_translate(cr, x, top);
        cairo_rectangle(cr, 0, 0, 320, 240);
        cairo_clip(cr);
        screens[i].draw(cr, g);
        cairo_restore(cr);
    }
    return y + double((screens.size() + 1) / 2) * (240 + kGap) + kGap;
}

double drawPictures(cairo_t* cr, const Gallery& g, double y) {
    constexpr double kLabelH = 13;
    double x = kGap, rowH = 0;
    auto next = [&](double w, double h) {
        if (x + w > kSheetW) {
            x = kGap;
            y += rowH + kLabelH + 9;
            rowH = 0;
        }
        rowH = std::max(rowH, h);
    };
    auto label = [&](const std::string& s, double w) {
        mockText(cr, s.c_str(), x, y, w, 12, 10, true, kNavy, kLeft);
    };
    for (const auto& [id, s] : g.loadedPictures()) {
        if (s.width() >= 320) continue;  // the backgrounds come last, full size
        double cell = std::max(s.width(), 60) + 10;
        next(cell, s.height());
        label(id, cell);
        cairo_set_source_surface(cr, s.get(), x, y + kLabelH);
        cairo_paint(cr);
        x += cell;
    }
    for (const auto& [name, frames] : g.loadedAnimations()) {
        double fw = frames[0].width() + 2;
        double cell = std::max(fw * double(frames.size()), 60.0) + 10;
        next(cell, frames[0].height());
        label(name, cell);
        for (size_t i = 0; i < frames.size(); ++i) {
            cairo_set_source_surface(cr, frames[i].get(), x + double(i) * fw, y + kLabelH);
            cairo_paint(cr);
        }
        x += cell;
    }
    for (const auto& [id, s] : g.loadedPictures()) {
        if (s.width() < 320) continue;
        next(s.width() + 2 * kGap, s.height());
        label(id, 100);
        cairo_set_source_surface(cr, s.get(), x, y + kLabelH);
        cairo_paint(cr);
        x += s.width() + 2 * kGap;
    }
    return y + rowH + kLabelH + kGap;
}

double drawSheet(cairo_t* cr, const Gallery& g, SheetPart part) {
    double y = kGap;
    if (part != SheetPart::Pictures) y = drawScreens(cr, g, y);
    if (part != SheetPart::Screens) y = drawPictures(cr, g, y);
    return y;
}
}  // namespace

bool makeSheet(const std::string& out, const std::string& dir, SheetPart part, int scale) {
    Gallery g(dir);
    if (!g.load()) return false;
    // Measure on a scratch surface, then draw at the final height.
    Surface scratch(1, 1, CAIRO_FORMAT_RGB24);
    cairo_t* cr = cairo_create(scratch.get());
    const int height = int(drawSheet(cr, g, part));
    cairo_destroy(cr);

    Surface one(int(kSheetW), height, CAIRO_FORMAT_RGB24);
    cr = cairo_create(one.get());
    cairo_set_source_rgb(cr, 0.62, 0.66, 0.70);
    cairo_paint(cr);
    drawSheet(cr, g, part);
    cairo_destroy(cr);
    // Enlarged pixel for pixel, so what the panel shows is what is judged.
    Surface big(int(kSheetW) * scale, height * scale, CAIRO_FORMAT_RGB24);
    cr = cairo_create(big.get());
    cairo_scale(cr, scale, scale);
    cairo_set_source_surface(cr, one.get(), 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
    cairo_paint(cr);
    cairo_destroy(cr);
    if (!writePng(big, out)) {
        std::fprintf(stderr, "vesk-art: cannot write %s\n", out.c_str());
        return false;
    }
    return true;
}

}  // namespace vesk::art
