// Off-screen pictures: opaque and colour-keyed renders, pixel access, PNG output.
#pragma once
#include <cairo.h>
#include <functional>
#include <string>

#include "tools/art/style.h"

namespace vesk::art {

using Paint = std::function<void(cairo_t*)>;

// Owns one cairo image surface.
class Surface {
public:
    Surface() = default;
    explicit Surface(cairo_surface_t* s) : s_(s) {}
    Surface(int w, int h, cairo_format_t format);
    ~Surface();
    Surface(Surface&& o) noexcept : s_(o.s_) { o.s_ = nullptr; }
    Surface& operator=(Surface&& o) noexcept;
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    cairo_surface_t* get() const { return s_; }
    bool valid() const;
    int width() const;
    int height() const;
    // Colour of an RGB24 or ARGB32 pixel, alpha ignored.
    Rgb at(int x, int y) const;
    uint8_t alphaAt(int x, int y) const;
    void set(int x, int y, Rgb c);

private:
    cairo_surface_t* s_ = nullptr;
};

// A picture with no transparency: painted straight onto a 24-bit surface.
Surface renderOpaque(int w, int h, const Paint& paint);

// A colour-keyed picture. `shape` fills the silhouette (any colour); a pixel
// at least half covered by it is opaque, every other pixel is the key, so the
// outer edge is hard. `paint` draws the content; where it is partly
// transparent (its anti-aliased rim) it is blended over `under`, the colour
// the picture will sit on, never over the key.
Surface renderKeyed(int w, int h, const Paint& shape, const Paint& paint, Rgb under = kField);
// The same, with the silhouette taken from the content's own coverage.
Surface renderKeyed(int w, int h, const Paint& paint, Rgb under = kField);

// An opaque picture never carries the key colour: any pixel that does is nudged.
void clearKeyCollisions(Surface& s);

bool writePng(const Surface& s, const std::string& path);

}  // namespace vesk::art
