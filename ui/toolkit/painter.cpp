// Painter: cairo blits and fills, pango text laid out the way DrawText does.
#include "ui/toolkit/painter.h"

#include <cairo.h>
#include <pango/pangocairo.h>

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

}  // namespace

Painter::Painter(cairo_surface_t* target) {
    cr_ = cairo_create(target);
    stack_.push_back({{0, 0}, surfaceRect(target)});
    cairo_rectangle(cr_, 0, 0, stack_.back().clip.width(), stack_.back().clip.height());
    cairo_clip(cr_);
}

Painter::Painter(const Bitmap& target) : Painter(target.surface()) {}

Painter::Painter(Painter&& o) noexcept
    : cr_(std::exchange(o.cr_, nullptr)),
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

void Painter::save() {
    cairo_save(cr_);
    stack_.push_back(stack_.back());
}

void Painter::restore() {
    if (stack_.size() <= 1) return;  // unbalanced restore: keep the base state
    cairo_restore(cr_);
    stack_.pop_back();
}

void Painter::translate(int dx, int dy) {
    cairo_translate(cr_, dx, dy);
    stack_.back().origin.x += dx;
    stack_.back().origin.y += dy;
}

void Painter::clip(const Rect& r) {
    State& s = stack_.back();
    s.clip = s.clip.intersect(r.offset(s.origin.x, s.origin.y));
    cairo_rectangle(cr_, r.left, r.top, r.width() > 0 ? r.width() : 0, r.height() > 0 ? r.height() : 0);
    cairo_clip(cr_);
}

void Painter::fillRect(const Rect& r, Color c) {
    if (r.empty() || clipRect().empty()) return;
    setSourceColor(cr_, c);
    cairo_rectangle(cr_, r.left, r.top, r.width(), r.height());
    cairo_fill(cr_);
}

void Painter::drawBitmap(const Bitmap& b, int x, int y) {
    drawBitmapPart(b, {0, 0, b.width(), b.height()}, x, y);
}

void Painter::drawBitmapPart(const Bitmap& b, const Rect& src, int x, int y) {
    const Rect part = src.intersect({0, 0, b.width(), b.height()});
    if (part.empty() || clipRect().empty()) return;
    const int dx = x + part.left - src.left;
    const int dy = y + part.top - src.top;
    cairo_set_operator(cr_, b.keyed() ? CAIRO_OPERATOR_OVER : CAIRO_OPERATOR_SOURCE);
    cairo_set_source_surface(cr_, b.surface(), dx - part.left, dy - part.top);
    cairo_pattern_set_filter(cairo_get_source(cr_), CAIRO_FILTER_NEAREST);
    cairo_rectangle(cr_, dx, dy, part.width(), part.height());
    cairo_fill(cr_);
    cairo_set_operator(cr_, CAIRO_OPERATOR_OVER);
}

PangoLayout* Painter::layout() {
    if (!layout_)
        layout_ = newPanelLayout(cr_);
    else
        pango_cairo_update_layout(cr_, layout_);
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
    cairo_save(cr_);
    cairo_rectangle(cr_, r.left, r.top, r.width(), r.height());
    cairo_clip(cr_);
    setSourceColor(cr_, color);
    cairo_move_to(cr_, at.x, at.y);
    pango_cairo_show_layout(cr_, l);
    cairo_restore(cr_);
}

}  // namespace vesk
