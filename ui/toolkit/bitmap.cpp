// Shared cairo image pictures and their one-time colour-key conversion.
#include "ui/toolkit/bitmap.h"

#include <cairo.h>

#include <cstddef>
#include <utility>

namespace vesk {

Bitmap::Bitmap(cairo_surface_t* surface) : surface_(surface) {
    if (surface_ && cairo_surface_status(surface_) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface_);
        surface_ = nullptr;
    }
}

Bitmap::Bitmap(const Bitmap& o) : surface_(o.surface_ ? cairo_surface_reference(o.surface_) : nullptr) {}

Bitmap::Bitmap(Bitmap&& o) noexcept : surface_(std::exchange(o.surface_, nullptr)) {}

Bitmap& Bitmap::operator=(Bitmap o) noexcept {
    std::swap(surface_, o.surface_);
    return *this;
}

Bitmap::~Bitmap() {
    if (surface_) cairo_surface_destroy(surface_);
}

Bitmap Bitmap::create(int width, int height, bool keyed) {
    if (width <= 0 || height <= 0) return {};
    Bitmap b(cairo_image_surface_create(keyed ? CAIRO_FORMAT_ARGB32 : CAIRO_FORMAT_RGB24, width, height));
    if (b.surface_) {
        // A fresh image surface is zeroed: black, or fully transparent.
        cairo_surface_flush(b.surface_);
    }
    return b;
}

int Bitmap::width() const { return surface_ ? cairo_image_surface_get_width(surface_) : 0; }

int Bitmap::height() const { return surface_ ? cairo_image_surface_get_height(surface_) : 0; }

bool Bitmap::keyed() const { return surface_ && cairo_image_surface_get_format(surface_) == CAIRO_FORMAT_ARGB32; }

uint32_t* Bitmap::row(int y) const {
    if (!surface_ || y < 0 || y >= height()) return nullptr;
    cairo_surface_flush(surface_);
    unsigned char* data = cairo_image_surface_get_data(surface_);
    return reinterpret_cast<uint32_t*>(data + static_cast<size_t>(y) * cairo_image_surface_get_stride(surface_));
}

void Bitmap::markDirty() const {
    if (surface_) cairo_surface_mark_dirty(surface_);
}

uint32_t Bitmap::pixel(int x, int y) const {
    if (x < 0 || x >= width()) return 0;
    const uint32_t* r = row(y);
    if (!r) return 0;
    return keyed() ? r[x] : (r[x] & 0xFFFFFF);
}

Bitmap makeKeyed(const Bitmap& source, Color key) {
    if (source.empty()) return {};
    const int w = source.width();
    const int h = source.height();
    Bitmap out = Bitmap::create(w, h, true);
    if (out.empty()) return {};
    const uint32_t keyPixel = toPixel(key);
    for (int y = 0; y < h; ++y) {
        const uint32_t* in = source.row(y);
        uint32_t* o = out.row(y);
        for (int x = 0; x < w; ++x) {
            const uint32_t p = in[x] & 0xFFFFFF;
            o[x] = p == keyPixel ? 0u : (p | 0xFF000000u);
        }
    }
    out.markDirty();
    return out;
}

Bitmap makeKeyedOnCorner(const Bitmap& source) {
    if (source.empty()) return {};
    return makeKeyed(source, fromPixel(source.pixel(0, 0)));
}

}  // namespace vesk
