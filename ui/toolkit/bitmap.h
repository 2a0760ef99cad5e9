// A shared picture: an opaque RGB24 or a keyed (premultiplied ARGB32) cairo
// image. Copies share the pixels; an empty bitmap is 0 x 0 and draws nothing.
#pragma once
#include <cstdint>

#include "ui/toolkit/color.h"

typedef struct _cairo_surface cairo_surface_t;

namespace vesk {

class Bitmap {
public:
    Bitmap() = default;
    // Takes over one reference of `surface` (an image surface or null).
    explicit Bitmap(cairo_surface_t* surface);
    Bitmap(const Bitmap& o);
    Bitmap(Bitmap&& o) noexcept;
    Bitmap& operator=(Bitmap o) noexcept;
    ~Bitmap();

    // A new black opaque picture, or a fully transparent keyed one.
    static Bitmap create(int width, int height, bool keyed = false);

    bool empty() const { return width() <= 0 || height() <= 0; }
    int width() const;
    int height() const;
    bool keyed() const;
    cairo_surface_t* surface() const { return surface_; }

    // XRGB pixel at (x, y) (alpha byte kept for keyed pictures); 0 outside.
    uint32_t pixel(int x, int y) const;
    // Row access for loaders and tests; call markDirty() after writing.
    uint32_t* row(int y) const;
    void markDirty() const;

private:
    cairo_surface_t* surface_ = nullptr;
};

// A keyed copy of `source`: pixels whose colour equals `key` become fully
// transparent, all others opaque.
Bitmap makeKeyed(const Bitmap& source, Color key);
// As above with the colour of the top-left pixel as the key.
Bitmap makeKeyedOnCorner(const Bitmap& source);

}  // namespace vesk
