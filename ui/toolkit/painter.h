// A drawing context over a cairo image (the framebuffer or an off-screen
// picture): an origin and a clip kept on a save/restore stack, so a widget
// given a clipped painter cannot draw outside it. Pictures and fills go
// to pixman directly; a cairo context is made only for uncached text.
#pragma once
#include <string_view>
#include <vector>

#include "ui/toolkit/bitmap.h"
#include "ui/toolkit/color.h"
#include "ui/toolkit/geometry.h"
#include "ui/toolkit/text_format.h"

typedef struct _cairo cairo_t;
typedef struct _cairo_surface cairo_surface_t;
typedef struct _PangoLayout PangoLayout;

namespace vesk {

class TextCache;

class Painter {
public:
    // Draws into `target` (not owned), origin (0, 0), clipped to its size.
    explicit Painter(cairo_surface_t* target);
    explicit Painter(const Bitmap& target);
    Painter(Painter&& o) noexcept;
    Painter& operator=(Painter&&) = delete;
    Painter(const Painter&) = delete;
    ~Painter();

    void save();
    void restore();
    void translate(int dx, int dy);
    // Narrows the clip to `r`, given in the current coordinates.
    void clip(const Rect& r);

    // The current origin and clip in target coordinates.
    Point origin() const { return top().origin; }
    Rect clipRect() const { return top().clip; }

    void fillRect(const Rect& r, Color c);
    // Keyed pictures leave their key-coloured pixels untouched; opaque ones
    // are copied as they are.
    void drawBitmap(const Bitmap& b, int x, int y);
    // The part `src` of the picture (picture coordinates), placed at (x, y).
    void drawBitmapPart(const Bitmap& b, const Rect& src, int x, int y);
    // DrawText: `text` is UTF-8, laid out in `r` (current coordinates) with
    // the kDt* flags, transparent background, clipped to `r`.
    void drawText(std::string_view text, const Rect& r, const Font& font, Color color, unsigned format);

    // Logical size of `text` in one line (for layout decisions and tests).
    Point measureText(std::string_view text, const Font& font);

    // Texts are then drawn from `cache` (not owned; null draws directly).
    void useTextCache(TextCache* cache) { cache_ = cache; }

private:
    struct State {
        Point origin;
        Rect clip;
    };
    const State& top() const { return stack_.back(); }
    // The cairo context, made on first use, with the current origin and clip.
    cairo_t* cr();
    PangoLayout* layout();
    void changed() { ++stateVersion_; }
    void touched(const Rect& r);

    cairo_surface_t* target_ = nullptr;
    cairo_t* cr_ = nullptr;
    unsigned stateVersion_ = 0;
    unsigned crVersion_ = ~0u;
    PangoLayout* layout_ = nullptr;
    TextCache* cache_ = nullptr;
    std::vector<State> stack_;
};

}  // namespace vesk
