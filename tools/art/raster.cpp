// Off-screen pictures: opaque and colour-keyed renders, pixel access, PNG output.
#include "tools/art/raster.h"

#include <cstdint>
#include <cstring>

namespace vesk::art {

namespace {
// The nearest visible colour to the key, for content that happens to hit it.
constexpr Rgb kKeyNudge = hex(0xFE00FE);

uint32_t* row(cairo_surface_t* s, int y) {
    return reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(s) +
                                       y * cairo_image_surface_get_stride(s));
}
}  // namespace

Surface::Surface(int w, int h, cairo_format_t format) : s_(cairo_image_surface_create(format, w, h)) {}

Surface::~Surface() {
    if (s_) cairo_surface_destroy(s_);
}

Surface& Surface::operator=(Surface&& o) noexcept {
    if (this != &o) {
        if (s_) cairo_surface_destroy(s_);
        s_ = o.s_;
        o.s_ = nullptr;
    }
    return *this;
}

bool Surface::valid() const { return s_ && cairo_surface_status(s_) == CAIRO_STATUS_SUCCESS; }
int Surface::width() const { return cairo_image_surface_get_width(s_); }
int Surface::height() const { return cairo_image_surface_get_height(s_); }

Rgb Surface::at(int x, int y) const {
    uint32_t v = row(s_, y)[x];
    uint8_t a = uint8_t(v >> 24);
    if (cairo_image_surface_get_format(s_) == CAIRO_FORMAT_ARGB32 && a != 0 && a != 255) {
        auto un = [a](uint32_t c) { return uint8_t((c * 255 + a / 2) / a); };
        return {un((v >> 16) & 0xFF), un((v >> 8) & 0xFF), un(v & 0xFF)};
    }
    return Rgb::fromPacked(v & 0xFFFFFF);
}

uint8_t Surface::alphaAt(int x, int y) const {
    if (cairo_image_surface_get_format(s_) != CAIRO_FORMAT_ARGB32) return 255;
    return uint8_t(row(s_, y)[x] >> 24);
}

void Surface::set(int x, int y, Rgb c) { row(s_, y)[x] = 0xFF000000u | c.packed(); }

Surface renderOpaque(int w, int h, const Paint& paint) {
    Surface out(w, h, CAIRO_FORMAT_RGB24);
    cairo_t* cr = cairo_create(out.get());
    cairo_set_source_rgb(cr, kField.r / 255.0, kField.g / 255.0, kField.b / 255.0);
    cairo_paint(cr);
    paint(cr);
    cairo_destroy(cr);
    cairo_surface_flush(out.get());
    clearKeyCollisions(out);
    cairo_surface_mark_dirty(out.get());
    return out;
}

namespace {
Surface renderLayer(int w, int h, const Paint& paint) {
    Surface layer(w, h, CAIRO_FORMAT_ARGB32);
    cairo_t* cr = cairo_create(layer.get());
    paint(cr);
    cairo_destroy(cr);
    cairo_surface_flush(layer.get());
    return layer;
}
}  // namespace

Surface renderKeyed(int w, int h, const Paint& shape, const Paint& paint, Rgb under) {
    Surface mask = renderLayer(w, h, shape);
    Surface content = renderLayer(w, h, paint);
    Surface out(w, h, CAIRO_FORMAT_RGB24);
    cairo_surface_flush(out.get());
    for (int y = 0; y < h; ++y) {
        const uint32_t* m = row(mask.get(), y);
        const uint32_t* c = row(content.get(), y);
        uint32_t* o = row(out.get(), y);
        for (int x = 0; x < w; ++x) {
            if ((m[x] >> 24) < 128) {
                o[x] = kKey.packed();
                continue;
            }
            // Premultiplied content over the colour underneath.
            uint32_t a = c[x] >> 24;
            auto ch = [&](int shift, uint8_t base) {
                uint32_t v = ((c[x] >> shift) & 0xFF) + (base * (255 - a) + 127) / 255;
                return v > 255 ? 255u : v;
            };
            uint32_t v = (ch(16, under.r) << 16) | (ch(8, under.g) << 8) | ch(0, under.b);
            o[x] = v == kKey.packed() ? kKeyNudge.packed() : v;
        }
    }
    cairo_surface_mark_dirty(out.get());
    return out;
}

Surface renderKeyed(int w, int h, const Paint& paint, Rgb under) {
    return renderKeyed(w, h, paint, paint, under);
}

void clearKeyCollisions(Surface& s) {
    for (int y = 0; y < s.height(); ++y) {
        uint32_t* o = row(s.get(), y);
        for (int x = 0; x < s.width(); ++x)
            if ((o[x] & 0xFFFFFF) == kKey.packed()) o[x] = kKeyNudge.packed();
    }
}

bool writePng(const Surface& s, const std::string& path) {
    return cairo_surface_write_to_png(s.get(), path.c_str()) == CAIRO_STATUS_SUCCESS;
}

}  // namespace vesk::art
