// Painter: cairo blits and fills, pango text laid out the way DrawText does.
#include "ui/toolkit/painter.h"

#include <cairo.h>
#include <pango/pangocairo.h>
#include <pixman.h>

#include <utility>

#include "ui/toolkit/text_cache.h"
#include "ui/toolkit/text_layout.h"

namespace vesk {

namespace {

void setSourceColor(cairo_t* cr, Color c) {
    cairo_set_source_rgb(cr, redOf(c) / 255.0, greenOf(c) / 255.0, blueOf(c) / 255.0);
}

Rect surfaceRect(cairo_surface_t* s) {
    if (!s || cairo_surface_get_type(s) != CAIRO_SURFACE_TYPE_IMAGE) return {};
    return {0, 0, cairo_image_surface_get_width(s), cairo_image_surface_get_height(s)};
}

// The pixman image over a 32-bit cairo image's pixels, made once per
// surface and kept with it; null for any other kind of surface.
pixman_image_t* pixmanOf(cairo_surface_t* s) {
    static cairo_user_data_key_t key;
    if (!s || cairo_surface_get_type(s) != CAIRO_SURFACE_TYPE_IMAGE) return nullptr;
    cairo_surface_flush(s);
    if (auto* img = static_cast<pixman_image_t*>(cairo_surface_get_user_data(s, &key))) return img;
    const cairo_format_t f = cairo_image_surface_get_format(s);
    if (f != CAIRO_FORMAT_RGB24 && f != CAIRO_FORMAT_ARGB32) return nullptr;
    pixman_image_t* img = pixman_image_create_bits(
        f == CAIRO_FORMAT_ARGB32 ? PIXMAN_a8r8g8b8 : PIXMAN_x8r8g8b8, cairo_image_surface_get_width(s),
        cairo_image_surface_get_height(s), reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(s)),
        cairo_image_surface_get_stride(s));
    if (!img) return nullptr;
    if (cairo_surface_set_user_data(s, &key, img, [](void* p) { pixman_image_unref(static_cast<pixman_image_t*>(p)); }) !=
        CAIRO_STATUS_SUCCESS) {
        pixman_image_unref(img);
        return nullptr;
    }
    return img;
}

}  // namespace

Painter::Painter(cairo_surface_t* target) : target_(target) {
    stack_.push_back({{0, 0}, surfaceRect(target)});
}

Painter::Painter(const Bitmap& target) : Painter(target.surface()) {}

Painter::Painter(Painter&& o) noexcept
    : target_(std::exchange(o.target_, nullptr)),
      cr_(std::exchange(o.cr_, nullptr)),
      stateVersion_(o.stateVersion_),
      crVersion_(o.crVersion_),
      layout_(std::exchange(o.layout_, nullptr)),
      cache_(o.cache_),
      stack_(std::move(o.stack_)) {}

Painter::~Painter() {
    if (layout_) g_object_unref(layout_);
    if (cr_) {
        cairo_surface_flush(cairo_get_target(cr_));
        cairo_destroy(cr_);
    }
}

cairo_t* Painter::cr() {
    if (!cr_) cr_ = cairo_create(target_);
    if (crVersion_ != stateVersion_) {
        const State& s = top();
        cairo_identity_matrix(cr_);
        cairo_reset_clip(cr_);
        cairo_rectangle(cr_, s.clip.left, s.clip.top, s.clip.width(), s.clip.height());
        cairo_clip(cr_);
        cairo_translate(cr_, s.origin.x, s.origin.y);
        crVersion_ = stateVersion_;
    }
    return cr_;
}

void Painter::touched(const Rect& r) {
    // Cairo keeps no copy of an image surface's pixels, but it must hear of
    // writes made behind its back.
    cairo_surface_mark_dirty_rectangle(target_, r.left, r.top, r.width(), r.height());
}

void Painter::save() { stack_.push_back(stack_.back()); }

void Painter::restore() {
    if (stack_.size() <= 1) return;  // unbalanced restore: keep the base state
    stack_.pop_back();
    changed();
}

void Painter::translate(int dx, int dy) {
    stack_.back().origin.x += dx;
    stack_.back().origin.y += dy;
    changed();
}

void Painter::clip(const Rect& r) {
    State& s = stack_.back();
    s.clip = s.clip.intersect(r.offset(s.origin.x, s.origin.y));
    changed();
}

void Painter::fillRect(const Rect& r, Color c) {
    const Rect d = r.offset(top().origin.x, top().origin.y).intersect(top().clip);
    if (d.empty()) return;
    if (pixman_image_t* to = pixmanOf(target_)) {
        const pixman_color_t color{static_cast<uint16_t>(redOf(c) * 257), static_cast<uint16_t>(greenOf(c) * 257),
                                   static_cast<uint16_t>(blueOf(c) * 257), 0xFFFF};
        const pixman_box32_t box{d.left, d.top, d.right, d.bottom};
        pixman_image_fill_boxes(PIXMAN_OP_SRC, to, &color, 1, &box);
        touched(d);
        return;
    }
    setSourceColor(cr(), c);
    cairo_rectangle(cr_, r.left, r.top, r.width(), r.height());
    cairo_fill(cr_);
}

void Painter::drawBitmap(const Bitmap& b, int x, int y) {
    drawBitmapPart(b, {0, 0, b.width(), b.height()}, x, y);
}

void Painter::drawBitmapPart(const Bitmap& b, const Rect& src, int x, int y) {
    const Rect part = src.intersect({0, 0, b.width(), b.height()});
    if (part.empty() || clipRect().empty()) return;
    // Picture pixel (px, py) lands on target pixel (px + ox, py + oy).
    const int ox = x - src.left + top().origin.x;
    const int oy = y - src.top + top().origin.y;
    const Rect d = part.offset(ox, oy).intersect(top().clip);
    if (d.empty()) return;
    pixman_image_t* to = pixmanOf(target_);
    pixman_image_t* from = pixmanOf(b.surface());
    if (to && from) {
        pixman_image_composite32(b.keyed() ? PIXMAN_OP_OVER : PIXMAN_OP_SRC, from, nullptr, to, d.left - ox,
                                 d.top - oy, 0, 0, d.left, d.top, d.width(), d.height());
        touched(d);
        return;
    }
    cairo_t* c = cr();
    const int dx = x + part.left - src.left;
    const int dy = y + part.top - src.top;
    cairo_set_operator(c, b.keyed() ? CAIRO_OPERATOR_OVER : CAIRO_OPERATOR_SOURCE);
    cairo_set_source_surface(c, b.surface(), dx - part.left, dy - part.top);
    cairo_pattern_set_filter(cairo_get_source(c), CAIRO_FILTER_NEAREST);
    cairo_rectangle(c, dx, dy, part.width(), part.height());
    cairo_fill(c);
    cairo_set_operator(c, CAIRO_OPERATOR_OVER);
}

PangoLayout* Painter::layout() {
    if (!layout_)
        layout_ = newPanelLayout(cr());
    else
        pango_cairo_update_layout(cr(), layout_);
    return layout_;
}

Point Painter::measureText(std::string_view text, const Font& font) {
    PangoLayout* l = layout();
    placeText(l, text, {}, font, 0);
    PangoRectangle logical;
    pango_layout_get_pixel_extents(l, nullptr, &logical);
    return {logical.width, logical.height};
}

void Painter::drawText(std::string_view text, const Rect& r, const Font& font, Color color, unsigned format) {
    if (text.empty() || r.empty() || clipRect().empty()) return;
    if (cache_) {
        const TextCache::Rendered& t = cache_->render(text, {r.width(), r.height()}, font, color, format);
        if (!t.ink.empty()) drawBitmap(t.ink, r.left + t.at.x, r.top + t.at.y);
        return;
    }
    PangoLayout* l = layout();
    const Point at = placeText(l, text, r, font, format);
    cr();
    cairo_save(cr_);
    cairo_rectangle(cr_, r.left, r.top, r.width(), r.height());
    cairo_clip(cr_);
    setSourceColor(cr_, color);
    cairo_move_to(cr_, at.x, at.y);
    pango_cairo_show_layout(cr_, l);
    cairo_restore(cr_);
}

}  // namespace vesk
