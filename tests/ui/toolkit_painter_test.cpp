// Painter: clipping, keyed and partial blits, and text placement.
#include <pango/pangocairo.h>

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <string>

#include "toolkit_fixture.h"
#include "ui/toolkit/painter.h"
#include "ui/toolkit/text_cache.h"

namespace vesk::test {
namespace {

constexpr Color kGreen = 0x00FF00;
constexpr Color kBlue = 0xFF0000;

Bitmap solid(int w, int h, Color c) {
    Bitmap b = Bitmap::create(w, h);
    Painter p(b);
    p.fillRect({0, 0, w, h}, c);
    return b;
}

// Bounding box of the pixels that differ from `background`.
Rect inkBox(const Bitmap& b, Color background) {
    Rect box;
    for (int y = 0; y < b.height(); ++y)
        for (int x = 0; x < b.width(); ++x)
            if (b.pixel(x, y) != toPixel(background)) box = box.unite({x, y, x + 1, y + 1});
    return box;
}

TEST(PainterTest, OriginAndClipStackConfineDrawing) {
    Bitmap target = solid(100, 100, kBlack);
    Painter p(target);
    p.save();
    p.translate(10, 20);
    p.clip({0, 0, 30, 30});
    EXPECT_EQ(p.origin(), (Point{10, 20}));
    EXPECT_EQ(p.clipRect(), (Rect{10, 20, 40, 50}));
    p.fillRect({-50, -50, 200, 200}, kWhite);  // far larger than the clip
    p.save();
    p.clip({20, 20, 60, 60});  // narrows, never widens
    EXPECT_EQ(p.clipRect(), (Rect{30, 40, 40, 50}));
    p.restore();
    p.restore();
    EXPECT_EQ(p.origin(), (Point{0, 0}));
    EXPECT_EQ(p.clipRect(), (Rect{0, 0, 100, 100}));
    EXPECT_EQ(inkBox(target, kBlack), (Rect{10, 20, 40, 50}));
}

TEST(PainterTest, KeyedBlitLeavesKeyPixelsUntouched) {
    Bitmap pic = solid(4, 4, kGreen);
    {
        Painter q(pic);
        q.fillRect({0, 0, 1, 1}, kTestKey);  // the corner carries the key
        q.fillRect({2, 2, 3, 3}, kTestKey);  // and so does one inner pixel
    }
    Bitmap keyed = makeKeyedOnCorner(pic);
    ASSERT_TRUE(keyed.keyed());
    Bitmap target = solid(10, 10, kBlue);
    {
        Painter p(target);
        p.drawBitmap(keyed, 3, 3);
    }
    EXPECT_EQ(target.pixel(3, 3), toPixel(kBlue));
    EXPECT_EQ(target.pixel(5, 5), toPixel(kBlue));
    EXPECT_EQ(target.pixel(4, 3), toPixel(kGreen));
    EXPECT_EQ(target.pixel(6, 6), toPixel(kGreen));
    EXPECT_EQ(inkBox(target, kBlue), (Rect{3, 3, 7, 7}));

    // An opaque blit copies the key colour like any other.
    Painter p(target);
    p.drawBitmap(pic, 0, 0);
    EXPECT_EQ(target.pixel(0, 0), toPixel(kTestKey));
}

// Pictures are copied without cairo; each pixel must come out as cairo's
// own compositing gives it, for every coverage of an antialiased edge.
TEST(PainterTest, DirectBlitsMatchCairoCompositing) {
    Bitmap ink = Bitmap::create(256, 2, true);
    for (int a = 0; a < 256; ++a) {
        const uint32_t c = uint32_t(a) * 0x8C / 255, m = uint32_t(a) * 0x1C / 255;
        ink.row(0)[a] = uint32_t(a) << 24 | c << 16 | m << 8 | m;  // premultiplied
        ink.row(1)[a] = uint32_t(a) << 24;                            // black
    }
    ink.markDirty();
    Bitmap opaque = solid(256, 2, 0x40A0E0);
    for (bool keyedTarget : {false, true}) {
        for (const Bitmap* src : {&ink, &opaque}) {
            auto fresh = [&] {
                Bitmap t = Bitmap::create(260, 4, keyedTarget);
                for (int y = 0; y < 4; ++y)
                    for (int x = 0; x < 260; ++x) t.row(y)[x] = keyedTarget ? 0x80604020u + uint32_t(x) : 0xF4EEE8u;
                t.markDirty();
                return t;
            };
            Bitmap direct = fresh(), viaCairo = fresh();
            {
                Painter p(direct);
                p.translate(1, 1);
                p.drawBitmapPart(*src, {0, 0, 256, 2}, 2, 0);
            }
            cairo_t* cr = cairo_create(viaCairo.surface());
            cairo_set_operator(cr, src->keyed() ? CAIRO_OPERATOR_OVER : CAIRO_OPERATOR_SOURCE);
            cairo_set_source_surface(cr, src->surface(), 3, 1);
            cairo_rectangle(cr, 3, 1, 256, 2);
            cairo_fill(cr);
            cairo_destroy(cr);
            cairo_surface_flush(viaCairo.surface());
            int differing = 0;
            for (int y = 0; y < 4; ++y)
                for (int x = 0; x < 260; ++x) {
                    const uint32_t mask = keyedTarget ? 0xFFFFFFFFu : 0xFFFFFFu;
                    differing += (direct.row(y)[x] & mask) != (viaCairo.row(y)[x] & mask);
                }
            EXPECT_EQ(differing, 0) << (keyedTarget ? "keyed" : "opaque") << " target, "
                                    << (src->keyed() ? "keyed" : "opaque") << " picture";
        }
    }
}

TEST(PainterTest, KeyOnAGivenColourIgnoresTheCorner) {
    Bitmap pic = solid(3, 1, kGreen);
    {
        Painter q(pic);
        q.fillRect({1, 0, 2, 1}, kTestKey);
    }
    Bitmap keyed = makeKeyed(pic, kTestKey);
    EXPECT_EQ(keyed.pixel(0, 0) >> 24, 0xFFu);
    EXPECT_EQ(keyed.pixel(1, 0), 0u);
}

TEST(PainterTest, PartialBlitTakesTheSourceRectangle) {
    Bitmap pic = solid(20, 10, kGreen);
    {
        Painter q(pic);
        q.fillRect({10, 0, 20, 10}, kWhite);
    }
    Bitmap target = solid(40, 40, kBlack);
    {
        Painter p(target);
        p.drawBitmapPart(pic, {8, 2, 14, 6}, 5, 7);
        // Parts outside the picture are cut away, not read.
        p.drawBitmapPart(pic, {18, 8, 30, 20}, 30, 30);
    }
    EXPECT_EQ(inkBox(target, kBlack), (Rect{5, 7, 32, 32}));
    EXPECT_EQ(target.pixel(5, 7), toPixel(kGreen));
    EXPECT_EQ(target.pixel(6, 7), toPixel(kGreen));
    EXPECT_EQ(target.pixel(7, 7), toPixel(kWhite));
    EXPECT_EQ(target.pixel(10, 10), toPixel(kWhite));
    EXPECT_EQ(target.pixel(11, 10), toPixel(kBlack));
    EXPECT_EQ(target.pixel(31, 31), toPixel(kWhite));
    EXPECT_EQ(target.pixel(32, 32), toPixel(kBlack));
}

TEST(PainterTest, TextStaysInItsRectangleAndFollowsTheFlags) {
    const Font font{14, true};
    auto box = [&](unsigned format, const Rect& r, const char* text) {
        Bitmap target = solid(200, 100, kWhite);
        Painter p(target);
        p.drawText(text, r, font, kBlack, format);
        return inkBox(target, kWhite);
    };
    const Rect r{20, 10, 180, 90};
    const Rect left = box(kDtLeft, r, "ВНИМАНИЕ");
    const Rect centre = box(kDtCenter | kDtVCenter, r, "ВНИМАНИЕ");
    const Rect right = box(kDtRight | kDtBottom, r, "ВНИМАНИЕ");
    ASSERT_FALSE(left.empty());
    EXPECT_GE(left.left, r.left);
    EXPECT_LE(left.left, r.left + 2);
    EXPECT_LT(left.top, r.top + 6);
    // Centred both ways: equal room on either side, within rounding.
    EXPECT_LE(std::abs((centre.left - r.left) - (r.right - centre.right)), 2);
    EXPECT_LE(std::abs((centre.top - r.top) - (r.bottom - centre.bottom)), 5);
    EXPECT_LE(right.right, r.right);
    EXPECT_GE(right.right, r.right - 2);
    EXPECT_GT(right.top, r.top + 40);

    // Too long for one line: without word break it is cut at the box; with
    // it, the words go onto more lines inside the box.
    const char* longText = "Заполните горелку топливом. Разожгите огонь.";
    const Rect narrow{10, 10, 110, 90};
    const Rect cut = box(kDtLeft, narrow, longText);
    const Rect wrapped = box(kDtLeft | kDtWordBreak, narrow, longText);
    EXPECT_LE(cut.right, narrow.right);
    EXPECT_LT(cut.height(), 20);
    EXPECT_GT(wrapped.height(), 30);
    EXPECT_LE(wrapped.right, narrow.right);
}

TEST(PainterTest, PixelHeightSetsTheLineHeight) {
    Bitmap target = solid(10, 10, kWhite);
    Painter p(target);
    const Point small = p.measureText("Ag", {10, false});
    const Point large = p.measureText("Ag", {20, false});
    // Arial's line is about 1.15 em; the pixel size is the em height.
    EXPECT_GE(small.y, 10);
    EXPECT_LE(small.y, 13);
    EXPECT_GE(large.y, 20);
    EXPECT_LE(large.y, 25);
    EXPECT_GT(p.measureText("Ag", {20, true}).x, large.x - 1);
}

TEST(PainterTest, ArialResolvesToAMetricCompatibleFace) {
    PangoFontMap* map = pango_cairo_font_map_get_default();
    PangoContext* ctx = pango_font_map_create_context(map);
    PangoFontDescription* d = pango_font_description_from_string("Arial Bold 12");
    PangoFont* f = pango_font_map_load_font(map, ctx, d);
    ASSERT_NE(f, nullptr);
    PangoFontDescription* got = pango_font_describe(f);
    const std::string family = pango_font_description_get_family(got);
    EXPECT_TRUE(family == "Liberation Sans" || family == "Arial") << family;
    pango_font_description_free(got);
    g_object_unref(f);
    pango_font_description_free(d);
    g_object_unref(ctx);
}

// A text drawn from the cache lands where a direct draw puts it, with the
// same flags and clipping, in every format the screens use; the cache keeps
// to its budget.
TEST(PainterTest, CachedTextMatchesTheDirectDrawAndKeepsToItsBudget) {
    TextCache cache;
    const struct {
        const char* text;
        Rect r;
        unsigned format;
    } cases[] = {{"t воздуха", {59, 3, 107, 19}, kDtCenter | kDtVCenter},
                 {"ГОРЕНИЕ", {1, 117, 63, 129}, kDtCenter | kDtVCenter},
                 {"Датчик температуры воды\nПерегрев инвертора", {20, 20, 120, 60}, kDtWordBreak},
                 {"100°C", {10, 70, 40, 88}, kDtVCenter},  // wider than its box: clipped alike
                 {"ОТМЕНА", {5, 90, 99, 138}, kDtCenter | kDtVCenter | kDtSingleLine}};
    for (const auto& c : cases) {
        Bitmap direct = solid(140, 140, 0xF4EEE8);
        {
            Painter p(direct);
            p.drawText(c.text, c.r, {14, true}, 0x8C1C0C, c.format);
        }
        Bitmap cached;
        for (int round = 0; round < 2; ++round) {  // the second draw comes from the cache
            cached = solid(140, 140, 0xF4EEE8);
            Painter p(cached);
            p.useTextCache(&cache);
            p.drawText(c.text, c.r, {14, true}, 0x8C1C0C, c.format);
        }
        int worst = 0;
        for (int y = 0; y < 140; ++y)
            for (int x = 0; x < 140; ++x)
                for (int shift : {0, 8, 16}) {
                    const int a = int(direct.pixel(x, y) >> shift & 0xFF), b = int(cached.pixel(x, y) >> shift & 0xFF);
                    worst = std::max(worst, std::abs(a - b));
                }
        // Blending a rendered text is rounded once more than drawing it.
        EXPECT_LE(worst, 2) << c.text;
        EXPECT_EQ(inkBox(cached, 0xF4EEE8), inkBox(direct, 0xF4EEE8)) << c.text;
    }
    EXPECT_EQ(cache.entries(), std::size(cases));

    TextCache small(8 * 1024);
    Bitmap target = solid(200, 40, kWhite);
    Painter p(target);
    p.useTextCache(&small);
    for (int i = 0; i < 200; ++i) p.drawText("Значение " + std::to_string(i), {0, 0, 200, 40}, {16, true}, kBlack, 0);
    EXPECT_LE(small.bytes(), 8u * 1024);
    EXPECT_GT(small.entries(), 0u);
}

}  // namespace
}  // namespace vesk::test
