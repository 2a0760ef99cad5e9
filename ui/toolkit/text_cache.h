// Rendered texts kept for reuse: a text drawn again in the same box, font,
// colour and format is one blit of its pixels instead of a new layout and
// rasterisation. Owned by the frame, used on the UI thread only.
#pragma once
#include <cstddef>
#include <list>
#include <string>
#include <string_view>
#include <unordered_map>

#include "ui/toolkit/bitmap.h"
#include "ui/toolkit/geometry.h"
#include "ui/toolkit/text_format.h"

typedef struct _cairo cairo_t;
typedef struct _PangoLayout PangoLayout;

namespace vesk {

class TextCache {
public:
    // Keeps at most about `budgetBytes` of rendered pixels, the least
    // recently drawn going first.
    explicit TextCache(size_t budgetBytes = 1 << 20);
    ~TextCache();
    TextCache(const TextCache&) = delete;
    TextCache& operator=(const TextCache&) = delete;

    // The text's pixels in a box of `size` (what drawText would put there,
    // clipped to the box), as a keyed picture covering only its ink, and
    // where that picture sits in the box. An empty picture when nothing shows.
    struct Rendered {
        Bitmap ink;
        Point at;
    };
    const Rendered& render(std::string_view text, Point size, const Font& font, Color color, unsigned format);

    size_t entries() const { return index_.size(); }
    size_t bytes() const { return bytes_; }

private:
    struct Entry {
        std::string key;
        Rendered r;
        size_t bytes;
    };
    Rendered draw(std::string_view text, Point size, const Font& font, Color color, unsigned format);

    size_t budget_;
    size_t bytes_ = 0;
    std::list<Entry> lru_;  // most recent first
    std::unordered_map<std::string, std::list<Entry>::iterator> index_;
    cairo_t* measure_ = nullptr;
    PangoLayout* layout_ = nullptr;
};

}  // namespace vesk
