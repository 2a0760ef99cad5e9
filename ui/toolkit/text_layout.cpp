// Text layout on pango with the panel's font options and DrawText's flags.
#include "ui/toolkit/text_layout.h"

#include <cairo.h>
#include <pango/pangocairo.h>

namespace vesk {

PangoLayout* newPanelLayout(cairo_t* cr) {
    PangoLayout* l = pango_cairo_create_layout(cr);
    // Whole-pixel advances, as GDI lays text out, and the same glyph
    // shapes on every machine whatever its fontconfig defaults say.
    cairo_font_options_t* opts = cairo_font_options_create();
    cairo_font_options_set_hint_metrics(opts, CAIRO_HINT_METRICS_ON);
    cairo_font_options_set_hint_style(opts, CAIRO_HINT_STYLE_SLIGHT);
    cairo_font_options_set_antialias(opts, CAIRO_ANTIALIAS_GRAY);
    pango_cairo_context_set_font_options(pango_layout_get_context(l), opts);
    cairo_font_options_destroy(opts);
    return l;
}

namespace {

void setFont(PangoLayout* l, const Font& font) {
    PangoFontDescription* d = pango_font_description_new();
    pango_font_description_set_family_static(d, "Arial");
    pango_font_description_set_weight(d, font.bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
    pango_font_description_set_absolute_size(d, font.size * PANGO_SCALE);
    pango_layout_set_font_description(l, d);
    pango_font_description_free(d);
}

}  // namespace

Point placeText(PangoLayout* l, std::string_view text, const Rect& r, const Font& font, unsigned format) {
    setFont(l, font);
    std::string single;
    if (format & kDtSingleLine) {
        single.assign(text);
        for (char& ch : single)
            if (ch == '\n' || ch == '\r') ch = ' ';
        text = single;
    }
    pango_layout_set_text(l, text.data(), static_cast<int>(text.size()));
    const PangoAlignment align = (format & kDtCenter) ? PANGO_ALIGN_CENTER
                                 : (format & kDtRight) ? PANGO_ALIGN_RIGHT
                                                       : PANGO_ALIGN_LEFT;
    pango_layout_set_alignment(l, align);
    if (format & kDtWordBreak) {
        pango_layout_set_width(l, r.width() * PANGO_SCALE);
        pango_layout_set_wrap(l, PANGO_WRAP_WORD);
    } else {
        pango_layout_set_width(l, -1);
    }
    PangoRectangle logical;
    pango_layout_get_pixel_extents(l, nullptr, &logical);

    int x = r.left;
    if (!(format & kDtWordBreak)) {
        // Unwrapped lines are aligned by hand: the layout box sits in `r`.
        if (format & kDtCenter)
            x = r.left + (r.width() - logical.width) / 2;
        else if (format & kDtRight)
            x = r.right - logical.width;
        x -= logical.x;
    }
    int y = r.top;
    if (format & kDtVCenter)
        y = r.top + (r.height() - logical.height) / 2;
    else if (format & kDtBottom)
        y = r.bottom - logical.height;
    y -= logical.y;
    return {x, y};
}

std::vector<std::string> pageText(std::string_view text, int width, int height, const Font& font) {
    std::vector<std::string> pages;
    if (text.empty() || width <= 0 || height <= 0) return pages;
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1);
    cairo_t* cr = cairo_create(s);
    PangoLayout* l = newPanelLayout(cr);
    placeText(l, text, {0, 0, width, height}, font, kDtWordBreak);

    // Lines as byte offsets and pixel rows, with the paragraph they start.
    struct Line {
        int start, top, bottom;
        bool paragraphStart;
    };
    std::vector<Line> lines;
    PangoLayoutIter* it = pango_layout_get_iter(l);
    do {
        PangoLayoutLine* line = pango_layout_iter_get_line_readonly(it);
        PangoRectangle logical;
        pango_layout_iter_get_line_extents(it, nullptr, &logical);
        pango_extents_to_pixels(&logical, nullptr);
        lines.push_back({line->start_index, logical.y, logical.y + logical.height, line->is_paragraph_start != 0});
    } while (pango_layout_iter_next_line(it));
    pango_layout_iter_free(it);
    // A closing line break leaves an empty line that is no content.
    while (lines.size() > 1 && static_cast<size_t>(lines.back().start) >= text.size()) lines.pop_back();
    g_object_unref(l);
    cairo_destroy(cr);
    cairo_surface_destroy(s);

    // Where each paragraph ends (exclusive line index).
    std::vector<size_t> paragraphEnd(lines.size());
    for (size_t i = lines.size(); i-- > 0;)
        paragraphEnd[i] = (i + 1 == lines.size() || lines[i + 1].paragraphStart) ? i + 1 : paragraphEnd[i + 1];

    std::vector<size_t> starts{0};
    int pageTop = lines.front().top;
    for (size_t i = 0; i < lines.size(); ++i) {
        const bool fits = lines[i].bottom - pageTop <= height;
        // A message that would straddle the page end goes whole to the next
        // page when it fits one.
        const size_t end = paragraphEnd[i];
        const bool wholeMessageMoves = lines[i].paragraphStart && i != starts.back() &&
                                       lines[end - 1].bottom - pageTop > height &&
                                       lines[end - 1].bottom - lines[i].top <= height;
        if ((!fits || wholeMessageMoves) && i != starts.back()) {
            starts.push_back(i);
            pageTop = lines[i].top;
        }
    }
    for (size_t p = 0; p < starts.size(); ++p) {
        const size_t from = static_cast<size_t>(lines[starts[p]].start);
        const size_t to = p + 1 < starts.size() ? static_cast<size_t>(lines[starts[p + 1]].start) : text.size();
        std::string page(text.substr(from, to - from));
        // The break that ends a page is not a blank line on it.
        while (!page.empty() && page.back() == '\n') page.pop_back();
        pages.push_back(std::move(page));
    }
    return pages;
}

}  // namespace vesk
