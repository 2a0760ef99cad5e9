// Runs vesk-art into a scratch folder and checks its pictures, animation files
// and sounds against the sizes, keying rules and file layouts the screens need.
#include <cairo.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "support/test_support.h"

namespace vesk::test {
namespace {

constexpr uint32_t kKey = 0xFF00FF;

enum Keying { K, O, P };
struct Expected {
    int number, w, h;
    Keying keying;
};

// The catalogue's sizes: screens lay out from them, so they are checked as data.
const Expected kPictures[] = {
    {163, 234, 44, K}, {167, 320, 240, O}, {170, 80, 28, K},  {171, 80, 28, K},   {172, 94, 48, K},
    {173, 94, 48, K},  {182, 184, 36, K},  {183, 184, 36, K}, {184, 94, 60, K},   {185, 94, 60, K},
    {186, 94, 60, K},  {187, 94, 60, K},   {189, 320, 240, O}, {193, 320, 240, O}, {195, 190, 26, K},
    {196, 190, 26, K}, {197, 190, 26, K},  {199, 190, 26, K}, {201, 44, 18, K},   {202, 28, 28, K},
    {203, 28, 28, K},  {204, 22, 18, K},   {205, 22, 18, K},  {207, 276, 26, K},  {209, 276, 26, K},
    {210, 50, 26, K},  {211, 50, 26, K},   {212, 50, 26, K},  {213, 50, 26, K},   {214, 28, 24, K},
    {215, 28, 24, K},  {216, 28, 24, K},   {217, 46, 16, K},  {218, 32, 32, K},   {219, 32, 32, K},
    {225, 113, 132, K}, {226, 184, 176, K}, {228, 235, 36, K}, {229, 235, 36, K}, {230, 56, 60, K},
    {231, 56, 60, K},  {232, 56, 60, K},   {233, 56, 60, K},  {241, 30, 22, K},   {242, 54, 46, K},
    {243, 80, 28, K},  {244, 80, 28, K},   {247, 36, 34, K},  {248, 36, 34, K},   {249, 36, 34, K},
    {250, 36, 34, K},  {255, 243, 36, K},  {256, 243, 36, K}, {257, 55, 28, K},   {258, 55, 28, K},
    {259, 40, 28, K},  {260, 57, 24, K},   {261, 30, 24, K},  {266, 106, 28, K},  {267, 106, 28, K},
    {268, 187, 34, K}, {271, 195, 34, K},  {272, 195, 34, K}, {273, 22, 36, K},   {274, 78, 24, K},
    {275, 78, 24, K},  {277, 234, 44, K},  {279, 195, 34, K}, {280, 195, 34, K},  {281, 118, 36, K},
    {282, 118, 36, K}, {283, 47, 12, P},   {284, 47, 12, P},  {285, 26, 22, K},   {286, 26, 22, K},
    {287, 26, 22, K},  {288, 145, 24, K},  {289, 92, 56, K},  {290, 92, 56, K},   {291, 36, 14, K},
    {292, 36, 14, K},  {299, 30, 22, K},   {300, 30, 22, K},  {301, 30, 22, K},   {302, 30, 22, K},
    {303, 30, 22, K},  {304, 30, 22, K},
};

struct Rect {
    int x0, y0, x1, y1;  // right and bottom exclusive
};

// A picture read back from its PNG, with what the file header says.
struct Image {
    int w = 0, h = 0;
    int bitDepth = 0, colourType = -1;
    std::vector<uint32_t> px;  // 0xRRGGBB
    uint32_t at(int x, int y) const { return px[size_t(y) * size_t(w) + size_t(x)]; }
    bool anyKey(Rect r) const {
        for (int y = r.y0; y < r.y1; ++y)
            for (int x = r.x0; x < r.x1; ++x)
                if (at(x, y) == kKey) return true;
        return false;
    }
    bool allKey(Rect r) const {
        for (int y = r.y0; y < r.y1; ++y)
            for (int x = r.x0; x < r.x1; ++x)
                if (at(x, y) != kKey) return false;
        return true;
    }
    // Mean luminance (0..255) of a rectangle, for "light face" versus "dark face".
    double luminance(Rect r) const {
        double sum = 0;
        int n = 0;
        for (int y = r.y0; y < r.y1; ++y)
            for (int x = r.x0; x < r.x1; ++x, ++n) {
                uint32_t p = at(x, y);
                sum += 0.299 * (p >> 16) + 0.587 * ((p >> 8) & 0xFF) + 0.114 * (p & 0xFF);
            }
        return n ? sum / n : 0;
    }
    // Pixels keyed in one picture and not in the other, or the other way round.
    int maskDifferences(const Image& o) const {
        if (o.w != w || o.h != h) return -1;
        int n = 0;
        for (size_t i = 0; i < px.size(); ++i) n += (px[i] == kKey) != (o.px[i] == kKey);
        return n;
    }
};

Image loadPng(const std::string& path) {
    Image img;
    std::string bytes = readText(path);
    if (bytes.size() < 33 || bytes.compare(1, 3, "PNG") != 0) return img;
    img.bitDepth = uint8_t(bytes[24]);
    img.colourType = uint8_t(bytes[25]);
    cairo_surface_t* s = cairo_image_surface_create_from_png(path.c_str());
    if (cairo_surface_status(s) == CAIRO_STATUS_SUCCESS) {
        img.w = cairo_image_surface_get_width(s);
        img.h = cairo_image_surface_get_height(s);
        const unsigned char* data = cairo_image_surface_get_data(s);
        int stride = cairo_image_surface_get_stride(s);
        for (int y = 0; y < img.h; ++y)
            for (int x = 0; x < img.w; ++x)
                img.px.push_back(reinterpret_cast<const uint32_t*>(data + y * stride)[x] & 0xFFFFFF);
    }
    cairo_surface_destroy(s);
    return img;
}

// One animation file parsed strictly by its layout.
struct MbmFrame {
    int32_t w = 0, h = 0;
    uint32_t coloursUsed = 0;
    std::vector<uint32_t> palette;
    std::vector<uint8_t> rows;  // as stored, bottom row first, with padding
    uint32_t stride = 0;
    uint8_t index(int x, int y) const { return rows[size_t(h - 1 - y) * stride + size_t(x)]; }
    uint32_t colour(int x, int y) const { return palette[index(x, y)]; }
};
struct Mbm {
    uint16_t count = 0, period = 0;
    std::vector<MbmFrame> frames;
    std::string error;
};

uint32_t le(const std::string& b, size_t o, int n) {
    uint32_t v = 0;
    for (int i = n - 1; i >= 0; --i) v = (v << 8) | uint8_t(b[o + size_t(i)]);
    return v;
}

Mbm parseMbm(const std::string& b) {
    Mbm m;
    if (b.size() < 4) return m.error = "short file", m;
    m.count = uint16_t(le(b, 0, 2));
    m.period = uint16_t(le(b, 2, 2));
    size_t o = 4;
    for (int i = 0; i < m.count; ++i) {
        if (o + 40 > b.size()) return m.error = "header past the end", m;
        MbmFrame f;
        if (le(b, o, 4) != 40) return m.error = "biSize", m;
        f.w = int32_t(le(b, o + 4, 4));
        f.h = int32_t(le(b, o + 8, 4));
        if (f.w <= 0 || f.h <= 0) return m.error = "size", m;
        if (le(b, o + 12, 2) != 1 || le(b, o + 14, 2) != 8 || le(b, o + 16, 4) != 0)
            return m.error = "planes/bits/compression", m;
        f.stride = (uint32_t(f.w) + 3) & ~3u;
        if (le(b, o + 20, 4) != f.stride * uint32_t(f.h)) return m.error = "image size", m;
        f.coloursUsed = le(b, o + 32, 4);
        if (f.coloursUsed > 256) return m.error = "colours used", m;
        size_t colours = f.coloursUsed ? f.coloursUsed : 256;
        o += 40;
        if (o + 4 * colours > b.size()) return m.error = "palette past the end", m;
        for (size_t c = 0; c < colours; ++c)
            f.palette.push_back(le(b, o + 4 * c, 3));  // B, G, R little-endian = 0xRRGGBB
        o += 4 * colours;
        size_t pixels = size_t(f.stride) * size_t(f.h);
        if (o + pixels > b.size()) return m.error = "pixels past the end", m;
        f.rows.assign(b.begin() + long(o), b.begin() + long(o + pixels));
        for (uint8_t idx : f.rows)
            if (idx >= colours) return m.error = "index beyond the palette", m;
        o += pixels;
        m.frames.push_back(std::move(f));
    }
    if (o != b.size()) m.error = "trailing bytes";
    return m;
}

class ArtOutput : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = std::make_unique<TempDir>();
        std::string cmd = binDir() + "vesk-art " + dir_->path() + " >/dev/null";
        ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd;
    }
    static void TearDownTestSuite() { dir_.reset(); }

    static std::string res(const std::string& name) { return dir_->file("res/" + name); }
    static Image picture(int n) { return loadPng(res(std::to_string(n) + ".png")); }
    static Image variantPicture(const char* variant, int n) {
        return loadPng(res(std::string(variant) + "/" + std::to_string(n) + ".png"));
    }
    static Mbm animation(const std::string& name) { return parseMbm(readText(dir_->file(name))); }

    static std::unique_ptr<TempDir> dir_;
};
std::unique_ptr<TempDir> ArtOutput::dir_;

TEST_F(ArtOutput, EveryPictureHasItsSizeAsTwentyFourBitRgbAndKeyedOnesCarryTheKeyTopLeft) {
    for (const Expected& e : kPictures) {
        SCOPED_TRACE(e.number);
        Image img = picture(e.number);
        ASSERT_EQ(img.w, e.w);
        ASSERT_EQ(img.h, e.h);
        EXPECT_EQ(img.bitDepth, 8);
        EXPECT_EQ(img.colourType, 2);  // RGB: the key is the only transparency
        if (e.keying == O)
            EXPECT_FALSE(img.anyKey({0, 0, img.w, img.h}));
        else
            EXPECT_EQ(img.at(0, 0), kKey);
    }
    Image icon = picture(101);
    EXPECT_EQ(icon.w, 32);
    EXPECT_EQ(icon.h, 32);
}

TEST_F(ArtOutput, PicturesThatReplaceEachOtherInPlaceShareOneSilhouette) {
    const std::vector<std::vector<int>> sets = {
        {171, 170, 243, 244}, {173, 172}, {183, 182}, {187, 184}, {185, 186}, {213, 210}, {211, 212},
        {219, 218}, {229, 228}, {233, 230}, {231, 232}, {247, 248}, {249, 250}, {256, 255}, {258, 257},
        {267, 266}, {272, 271}, {280, 279}, {282, 281}, {163, 277}, {290, 289}, {204, 205},
        {283, 284}, {241, 299, 300, 301, 302, 303, 304}, {202, 203}, {291, 292}};
    for (const auto& set : sets) {
        Image first = picture(set[0]);
        for (size_t i = 1; i < set.size(); ++i)
            EXPECT_EQ(picture(set[i]).maskDifferences(first), 0) << set[0] << " vs " << set[i];
    }
}

TEST_F(ArtOutput, AreasCopiedOrOverdrawnWithoutTheKeyAreOpaque) {
    // Value boxes are copied back opaquely when a value changes.
    for (int n : {229, 228, 272, 271, 282, 281}) {
        SCOPED_TRACE(n);
        Image img = picture(n);
        EXPECT_FALSE(img.anyKey({img.w - 47, 6, img.w - 6, 30}));
    }
    // Text is redrawn on plates and faces without restoring what lay under it.
    const int kTextBearing[] = {163, 170, 171, 172, 173, 182, 183, 195, 196, 197, 199, 201, 207, 209,
                                217, 228, 229, 243, 244, 255, 256, 257, 258, 259, 260, 261, 266, 267,
                                268, 271, 272, 274, 275, 277, 279, 280, 281, 282, 288, 289, 290};
    for (int n : kTextBearing) {
        SCOPED_TRACE(n);
        Image img = picture(n);
        EXPECT_FALSE(img.anyKey({5, 3, img.w - 5, img.h - 3}));
    }
    Image panel = picture(225);
    for (Rect r : {Rect{3, 19, 51, 44}, Rect{59, 19, 107, 44}, Rect{3, 75, 51, 100}, Rect{59, 75, 107, 100},
                   Rect{1, 117, 63, 129}, Rect{63, 117, 110, 129}, Rect{3, 3, 52, 19}, Rect{59, 59, 107, 74}})
        EXPECT_FALSE(panel.anyKey(r)) << r.x0 << "," << r.y0;
}

TEST_F(ArtOutput, FacesSuitTheCaptionColoursDrawnOnThem) {
    // White captions at rest on dark faces, black or blue ones on light faces.
    const int kDark[] = {171, 243, 244, 163, 256, 258, 267, 280, 172, 182};
    const int kLight[] = {170, 277, 255, 257, 266, 279, 173, 183, 290, 195, 196, 197, 199, 201, 207, 209,
                          217, 228, 229, 259, 260, 261, 268, 271, 272, 274, 275, 281, 282, 288};
    for (int n : kDark) {
        Image img = picture(n);
        EXPECT_LT(img.luminance({5, 3, img.w - 5, img.h - 3}), 140) << n;
    }
    for (int n : kLight) {
        Image img = picture(n);
        EXPECT_GT(img.luminance({5, 3, img.w - 5, img.h - 3}), 200) << n;
    }
    // The dark-red bunker text and the black panel values need light ground.
    EXPECT_GT(variantPicture("ORVENA", 226).luminance({103, 25, 177, 55}), 220);
    EXPECT_GT(variantPicture("KESTRALO", 226).luminance({85, 30, 160, 60}), 220);
    EXPECT_GT(picture(225).luminance({3, 19, 51, 44}), 220);
    EXPECT_GT(picture(225).luminance({1, 117, 63, 129}), 220);
}

TEST_F(ArtOutput, BoilerPictureKeepsItsChildrensAreasPerVariant) {
    struct Areas {
        const char* variant;
        Rect fire, label;
    };
    const Areas kAreas[] = {{"ORVENA", {20, 83, 84, 119}, {103, 25, 177, 55}},
                            {"KESTRALO", {15, 80, 79, 116}, {85, 30, 160, 60}}};
    for (const Areas& a : kAreas) {
        SCOPED_TRACE(a.variant);
        Image img = variantPicture(a.variant, 226);
        ASSERT_EQ(img.w, 184);
        ASSERT_EQ(img.h, 176);
        EXPECT_FALSE(img.anyKey(a.fire));
        EXPECT_FALSE(img.anyKey(a.label));
        EXPECT_TRUE(img.allKey({39, 121, 75, 135}));  // the fuel icon shows through
        EXPECT_TRUE(img.allKey({0, 0, 10, 176}));     // the ignition label reaches in
    }
    EXPECT_NE(variantPicture("ORVENA", 226).px, variantPicture("KESTRALO", 226).px);
    EXPECT_EQ(picture(226).px, variantPicture("ORVENA", 226).px);
}

TEST_F(ArtOutput, PowerBarsKeyOnlyTheirCornersAndShareTheirOutlineRows) {
    Image empty = picture(283), full = picture(284);
    for (const Image* bar : {&empty, &full}) {
        for (int x : {0, 46})
            for (int y : {0, 11}) EXPECT_EQ(bar->at(x, y), kKey);
        // The fill runs across every column, so 1 % shows one filled column.
        EXPECT_FALSE(bar->anyKey({0, 1, 47, 11}));
        EXPECT_FALSE(bar->anyKey({1, 0, 46, 12}));
    }
    for (int x = 0; x < 47; ++x) {
        EXPECT_EQ(empty.at(x, 0), full.at(x, 0));
        EXPECT_EQ(empty.at(x, 11), full.at(x, 11));
    }
    EXPECT_NE(empty.at(23, 6), full.at(23, 6));
}

TEST_F(ArtOutput, AnimationFilesFollowTheFrameLayout) {
    struct ExpectedAnim {
        const char* name;
        int w, h, frames, period;
        bool keyed;
    };
    const ExpectedAnim kAnims[] = {{"fan.mbm", 22, 22, 4, 100, true},        {"wormORVENA.mbm", 110, 20, 4, 150, false},
                                   {"worm.mbm", 96, 20, 4, 150, true},       {"fire.mbm", 64, 36, 6, 120, false},
                                   {"smoke.mbm", 64, 36, 6, 200, false},     {"pumpon.mbm", 28, 28, 4, 100, true}};
    bool fullPalette = false, shortPalette = false;
    for (const ExpectedAnim& e : kAnims) {
        SCOPED_TRACE(e.name);
        Mbm m = animation(e.name);
        ASSERT_EQ(m.error, "");
        EXPECT_EQ(m.count, e.frames);
        EXPECT_EQ(m.period, e.period);
        ASSERT_EQ(m.frames.size(), size_t(e.frames));
        const MbmFrame& first = m.frames[0];
        for (const MbmFrame& f : m.frames) {
            EXPECT_EQ(f.w, e.w);
            EXPECT_EQ(f.h, e.h);
            (f.coloursUsed == 0 ? fullPalette : shortPalette) = true;
            // The padding past the width stays zero.
            for (int y = 0; y < f.h; ++y)
                for (uint32_t x = uint32_t(f.w); x < f.stride; ++x) EXPECT_EQ(f.rows[y * f.stride + x], 0);
            if (e.keyed) {
                // Drawn keyed straight over the previous frame: every frame has
                // the key top-left and the very same transparent pixels.
                EXPECT_EQ(f.colour(0, 0), kKey);
                for (int y = 0; y < f.h; ++y)
                    for (int x = 0; x < f.w; ++x)
                        ASSERT_EQ(f.colour(x, y) == kKey, first.colour(x, y) == kKey) << x << "," << y;
            } else {
                for (int y = 0; y < f.h; ++y)
                    for (int x = 0; x < f.w; ++x) ASSERT_NE(f.colour(x, y), kKey) << x << "," << y;
            }
        }
    }
    EXPECT_TRUE(fullPalette);
    EXPECT_TRUE(shortPalette);
}

// The running frames replace the still pictures in place, so they share
// their silhouette; and a still screen must tell a running pump from a
// ready one, so their colours differ by more than the impeller's turn.
// The mean colour of the visible pixels does not change with a rotation.
TEST_F(ArtOutput, RunningPumpFramesShareTheSilhouetteButNotTheLookOfTheStillPump) {
    Mbm m = animation("pumpon.mbm");
    ASSERT_EQ(m.error, "");
    Image still = picture(203);
    struct Mean {
        double r = 0, g = 0, b = 0;
        void add(uint32_t p, int n) {
            r += double(p >> 16) / n;
            g += double((p >> 8) & 0xFF) / n;
            b += double(p & 0xFF) / n;
        }
    };
    auto visible = [](int w, int h, const std::function<uint32_t(int, int)>& at) {
        int n = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) n += at(x, y) != kKey;
        Mean mean;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if (at(x, y) != kKey) mean.add(at(x, y), n);
        return mean;
    };
    const Mean ready = visible(still.w, still.h, [&](int x, int y) { return still.at(x, y); });
    std::vector<Mean> frames;
    for (const MbmFrame& f : m.frames) {
        for (int y = 0; y < f.h; ++y)
            for (int x = 0; x < f.w; ++x) ASSERT_EQ(f.colour(x, y) == kKey, still.at(x, y) == kKey);
        frames.push_back(visible(f.w, f.h, [&](int x, int y) { return f.colour(x, y); }));
    }
    auto distance = [](const Mean& a, const Mean& b) {
        return std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b);
    };
    for (size_t i = 0; i < frames.size(); ++i) {
        EXPECT_LT(distance(frames[i], frames[0]), 6.0) << "frame " << i << ": the frames differ by the turn only";
        EXPECT_GT(distance(frames[i], ready), 60.0) << "frame " << i << " looks like the ready pump";
    }
}

TEST_F(ArtOutput, SoundsArePcmWavesThatStartAndEndSilent) {
    const std::map<int, int> kLengthMs = {{132, 20}, {238, 520}, {240, 220}, {245, 800}, {298, 300}};
    for (const auto& [number, ms] : kLengthMs) {
        SCOPED_TRACE(number);
        std::string b = readText(res(std::to_string(number) + ".wav"));
        ASSERT_GE(b.size(), 44u);
        EXPECT_EQ(b.substr(0, 4), "RIFF");
        EXPECT_EQ(le(b, 4, 4), b.size() - 8);
        EXPECT_EQ(b.substr(8, 8), "WAVEfmt ");
        EXPECT_EQ(le(b, 16, 4), 16u);
        EXPECT_EQ(le(b, 20, 2), 1u);  // PCM
        EXPECT_EQ(le(b, 22, 2), 1u);  // mono
        uint32_t rate = le(b, 24, 4);
        EXPECT_TRUE(rate == 22050 || rate == 16000);
        EXPECT_EQ(le(b, 28, 4), rate * 2);
        EXPECT_EQ(le(b, 32, 2), 2u);
        EXPECT_EQ(le(b, 34, 2), 16u);
        EXPECT_EQ(b.substr(36, 4), "data");
        uint32_t data = le(b, 40, 4);
        ASSERT_EQ(data, b.size() - 44);
        size_t n = data / 2;
        EXPECT_NEAR(double(n), rate * ms / 1000.0, 2.0);
        auto sample = [&](size_t i) { return int16_t(le(b, 44 + 2 * i, 2)); };
        int peak = 0;
        for (size_t i = 0; i < n; ++i) peak = std::max(peak, std::abs(int(sample(i))));
        EXPECT_GT(peak, 3000);      // audible
        EXPECT_LT(peak, 32767);     // never clipped
        // Faded at both ends, so cutting or looping never clicks.
        EXPECT_LT(std::abs(int(sample(0))), 200);
        EXPECT_LT(std::abs(int(sample(n - 1))), 200);
    }
}

TEST(ArtGenerator, RunsAreByteForByteTheSame) {
    TempDir a, b;
    ASSERT_EQ(std::system((binDir() + "vesk-art " + a.path()).c_str()), 0);
    ASSERT_EQ(std::system((binDir() + "vesk-art " + b.path()).c_str()), 0);
    for (const char* f : {"res/163.png", "res/ORVENA/226.png", "res/KESTRALO/226.png", "res/225.png",
                          "fire.mbm", "fan.mbm", "res/245.wav"})
        EXPECT_EQ(readText(a.file(f)), readText(b.file(f))) << f;
}

}  // namespace
}  // namespace vesk::test
