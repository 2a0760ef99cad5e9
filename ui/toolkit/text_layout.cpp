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

namespace {

struct Line {
    size_t start;
    int height;
};

// The lines `text` breaks into at `width`, without the empty one a closing
// line break leaves.
std::vector<Line> wrappedLines(PangoLayout* l, const std::string& text, int width, const Font& font) {
    placeText(l, text, {0, 0, width, 1}, font, kDtWordBreak);
    std::vector<Line> lines;
    PangoLayoutIter* it = pango_layout_get_iter(l);
    do {
        PangoRectangle logical;
        pango_layout_iter_get_line_extents(it, nullptr, &logical);
        pango_extents_to_pixels(&logical, nullptr);
        const size_t start = static_cast<size_t>(pango_layout_iter_get_line_readonly(it)->start_index);
        if (start < text.size() || lines.empty()) lines.push_back({start, logical.height});
    } while (pango_layout_iter_next_line(it));
    pango_layout_iter_free(it);
    return lines;
}

}  // namespace

std::vector<std::string> pageMessages(const std::vector<std::string_view>& messages, int width, int height,
                                      const Font& font) {
    std::vector<std::string> pages;
    if (width <= 0 || height <= 0) return pages;
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1);
    cairo_t* cr = cairo_create(s);
    PangoLayout* l = newPanelLayout(cr);

    std::string page;
    int used = 0;
    auto endPage = [&] {
        // The break that ends a page is not a blank line on it.
        while (!page.empty() && page.back() == '\n') page.pop_back();
        if (!page.empty()) pages.push_back(std::move(page));
        page.clear();
        used = 0;
    };
    for (std::string_view m : messages) {
        if (m.empty()) continue;
        std::string text(m);
        if (text.back() != '\n') text += '\n';
        const std::vector<Line> lines = wrappedLines(l, text, width, font);
        int total = 0;
        for (const Line& line : lines) total += line.height;
        // A message that fits a page is never split: it starts the next one.
        if (used > 0 && used + total > height && total <= height) endPage();
        for (size_t i = 0; i < lines.size(); ++i) {
            if (used > 0 && used + lines[i].height > height) endPage();
            const size_t end = i + 1 < lines.size() ? lines[i + 1].start : text.size();
            page += text.substr(lines[i].start, end - lines[i].start);
            used += lines[i].height;
        }
    }
    endPage();
    g_object_unref(l);
    cairo_destroy(cr);
    cairo_surface_destroy(s);
    return pages;
}

}  // namespace vesk
