// TextCache: texts rendered once onto transparent pictures, then blitted.
#include "ui/toolkit/text_cache.h"

#include <cairo.h>
#include <pango/pangocairo.h>

#include <cstring>

#include "ui/toolkit/text_layout.h"

namespace vesk {

namespace {

std::string cacheKey(std::string_view text, Point size, const Font& font, Color color, unsigned format) {
    struct Head {
        int w, h, size;
        unsigned bold, color, format;
    } head{size.x, size.y, font.size, font.bold ? 1u : 0u, color, format};
    std::string key(sizeof head, '\0');
    std::memcpy(key.data(), &head, sizeof head);
    key.append(text);
    return key;
}

}  // namespace

TextCache::TextCache(size_t budgetBytes) : budget_(budgetBytes) {
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1);
    measure_ = cairo_create(s);
    cairo_surface_destroy(s);
    layout_ = newPanelLayout(measure_);
}

TextCache::~TextCache() {
    g_object_unref(layout_);
    cairo_destroy(measure_);
}

const TextCache::Rendered& TextCache::render(std::string_view text, Point size, const Font& font, Color color,
                                             unsigned format) {
    std::string key = cacheKey(text, size, font, color, format);
    if (auto it = index_.find(key); it != index_.end()) {
        lru_.splice(lru_.begin(), lru_, it->second);
        return it->second->r;
    }
    Rendered r = draw(text, size, font, color, format);
    const size_t bytes = key.size() + sizeof(Entry) + size_t(r.ink.width()) * size_t(r.ink.height()) * 4;
    while (!lru_.empty() && bytes_ + bytes > budget_) {
        bytes_ -= lru_.back().bytes;
        index_.erase(lru_.back().key);
        lru_.pop_back();
    }
    lru_.push_front({key, std::move(r), bytes});
    index_.emplace(std::move(key), lru_.begin());
    bytes_ += bytes;
    return lru_.front().r;
}

TextCache::Rendered TextCache::draw(std::string_view text, Point size, const Font& font, Color color,
                                    unsigned format) {
    const Rect box{0, 0, size.x, size.y};
    pango_cairo_update_layout(measure_, layout_);
    const Point origin = placeText(layout_, text, box, font, format);
    PangoRectangle ink;
    pango_layout_get_pixel_extents(layout_, &ink, nullptr);
    // A pixel of slack around the ink for antialiased edges.
    const Rect inked =
        Rect::ofSize(origin.x + ink.x - 1, origin.y + ink.y - 1, ink.width + 2, ink.height + 2).intersect(box);
    Rendered r;
    if (inked.empty()) return r;
    r.ink = Bitmap::create(inked.width(), inked.height(), true);
    if (r.ink.empty()) return r;
    r.at = {inked.left, inked.top};
    cairo_t* cr = cairo_create(r.ink.surface());
    cairo_set_source_rgb(cr, redOf(color) / 255.0, greenOf(color) / 255.0, blueOf(color) / 255.0);
    cairo_move_to(cr, origin.x - inked.left, origin.y - inked.top);
    // The same layout, laid out for this context: glyphs land on the same
    // pixel grid as a direct draw would put them.
    pango_cairo_update_layout(cr, layout_);
    pango_cairo_show_layout(cr, layout_);
    cairo_destroy(cr);
    cairo_surface_flush(r.ink.surface());
    return r;
}

}  // namespace vesk
