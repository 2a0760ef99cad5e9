// .mbm decoding: palette sizes, row padding, row order, key colour and
// damaged files.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "support/test_support.h"
#include "ui/toolkit/mbm.h"
#include "ui/toolkit/resources.h"

namespace vesk::test {
namespace {

void put16(std::vector<uint8_t>& b, uint16_t v) {
    b.push_back(v & 0xFF);
    b.push_back(v >> 8);
}
void put32(std::vector<uint8_t>& b, uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back((v >> (8 * i)) & 0xFF);
}

struct FrameSpec {
    int width = 4;
    int height = 2;          // negative: top-down rows
    uint32_t colorsUsed = 0; // 0: 256 palette entries
    // Palette index of each pixel, top row first.
    std::vector<uint8_t> indices;
};

// Palette entry i is (blue i, green 0x10, red 0x80 + i).
uint32_t paletteColor(uint8_t i) { return 0x800000u + (uint32_t(i) << 16) + 0x1000u + i; }

void putFrame(std::vector<uint8_t>& b, const FrameSpec& f) {
    const int h = f.height > 0 ? f.height : -f.height;
    const int stride = (f.width + 3) & ~3;
    put32(b, 40);
    put32(b, uint32_t(f.width));
    put32(b, uint32_t(f.height));
    put16(b, 1);
    put16(b, 8);
    put32(b, 0);
    put32(b, uint32_t(stride * h));
    put32(b, 0);
    put32(b, 0);
    put32(b, f.colorsUsed);
    put32(b, 0);
    const uint32_t colors = f.colorsUsed ? f.colorsUsed : 256;
    for (uint32_t i = 0; i < colors; ++i) {
        b.push_back(static_cast<uint8_t>(i));  // blue
        b.push_back(0x10);                     // green
        b.push_back(static_cast<uint8_t>(0x80 + i));  // red
        b.push_back(0);
    }
    for (int stored = 0; stored < h; ++stored) {
        const int y = f.height > 0 ? h - 1 - stored : stored;
        for (int x = 0; x < stride; ++x)
            b.push_back(x < f.width ? f.indices[size_t(y * f.width + x)] : 0xEE);  // padding bytes
    }
}

std::vector<uint8_t> file(uint16_t frames, uint16_t period, const std::vector<FrameSpec>& specs) {
    std::vector<uint8_t> b;
    put16(b, frames);
    put16(b, period);
    for (const FrameSpec& f : specs) putFrame(b, f);
    return b;
}

FrameSpec pattern(int w, int h, uint32_t colorsUsed = 0) {
    FrameSpec f;
    f.width = w;
    f.height = h;
    f.colorsUsed = colorsUsed;
    const int rows = h > 0 ? h : -h;
    const uint32_t colors = colorsUsed ? colorsUsed : 256;
    for (int i = 0; i < w * rows; ++i) f.indices.push_back(static_cast<uint8_t>((i * 7 + 3) % colors));
    return f;
}

void expectPixels(const Bitmap& b, const FrameSpec& f) {
    ASSERT_EQ(b.width(), f.width);
    const int rows = f.height > 0 ? f.height : -f.height;
    ASSERT_EQ(b.height(), rows);
    for (int y = 0; y < rows; ++y)
        for (int x = 0; x < f.width; ++x)
            ASSERT_EQ(b.pixel(x, y), paletteColor(f.indices[size_t(y * f.width + x)])) << x << "," << y;
}

TEST(MbmTest, PaletteSizeFollowsColoursUsed) {
    // Two frames back to back: the second decodes right only when the first
    // took exactly 1024 (colours used 0) or 64 (16) palette bytes.
    const FrameSpec a = pattern(4, 3, 0), b = pattern(8, 2, 16), c = pattern(4, 1, 0);
    const std::vector<uint8_t> bytes = file(3, 120, {a, b, c});
    EXPECT_EQ(bytes.size(), 4u + (40 + 1024 + 12) + (40 + 64 + 16) + (40 + 1024 + 4));
    const MbmAnimation m = decodeMbm(bytes);
    EXPECT_EQ(m.periodMs, 120);
    ASSERT_EQ(m.frames.size(), 3u);
    expectPixels(m.frames[0], a);
    expectPixels(m.frames[1], b);
    expectPixels(m.frames[2], c);
    EXPECT_EQ(m.width, 8);
    EXPECT_EQ(m.height, 3);
}

TEST(MbmTest, OddWidthRowsArePaddedToFourBytes) {
    const FrameSpec a = pattern(87, 3, 16), b = pattern(5, 2, 16);
    const std::vector<uint8_t> bytes = file(2, 50, {a, b});
    EXPECT_EQ(bytes.size(), 4u + (40 + 64 + 88 * 3) + (40 + 64 + 8 * 2));
    const MbmAnimation m = decodeMbm(bytes);
    ASSERT_EQ(m.frames.size(), 2u);
    expectPixels(m.frames[0], a);
    expectPixels(m.frames[1], b);
}

TEST(MbmTest, RowOrderAndKeyColourComeFromTheTopLeftPixel) {
    FrameSpec up = pattern(3, 2, 16);
    up.indices = {5, 1, 1, 2, 2, 2};  // top-left is index 5, stored in the last row
    FrameSpec down = up;
    down.height = -2;
    for (const FrameSpec& f : {up, down}) {
        const MbmAnimation m = decodeMbm(file(1, 10, {f}));
        ASSERT_EQ(m.frames.size(), 1u);
        expectPixels(m.frames[0], f);
        EXPECT_EQ(m.key, fromPixel(paletteColor(5)));
        // The keyed frames drop exactly the key colour.
        EXPECT_EQ(m.keyedFrames[0].pixel(0, 0), 0u);
        EXPECT_EQ(m.keyedFrames[0].pixel(1, 0), 0xFF000000u | paletteColor(1));
    }
    // Only the first frame's corner sets the key.
    FrameSpec second = up;
    second.indices = {1, 5, 5, 5, 5, 5};
    const MbmAnimation m = decodeMbm(file(2, 10, {up, second}));
    ASSERT_EQ(m.frames.size(), 2u);
    EXPECT_EQ(m.key, fromPixel(paletteColor(5)));
    EXPECT_EQ(m.keyedFrames[1].pixel(1, 0), 0u);
}

TEST(MbmTest, DamagedFilesKeepTheFramesBeforeTheDamage) {
    const FrameSpec a = pattern(6, 4, 16), b = pattern(6, 4, 16);
    const std::vector<uint8_t> whole = file(2, 80, {a, b});
    // Cut at every length: never a crash, never a read past the end (the
    // copy is exactly as long as the cut), frames only while they are whole.
    const size_t firstEnd = 4 + 40 + 64 + 8 * 4;
    for (size_t len = 0; len <= whole.size(); ++len) {
        std::vector<uint8_t> cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(len));
        const MbmAnimation m = decodeMbm(cut.data(), cut.size());
        const size_t expected = len == whole.size() ? 2 : len >= firstEnd ? 1 : 0;
        ASSERT_EQ(m.frames.size(), expected) << "length " << len;
    }
    // A frame count larger than the file holds.
    std::vector<uint8_t> lying = whole;
    lying[0] = 0xFF;
    lying[1] = 0xFF;
    EXPECT_EQ(decodeMbm(lying).frames.size(), 2u);
    EXPECT_EQ(decodeMbm(lying).declaredFrames, 0xFFFF);

    // A header that cannot be a picture (16-bit, zero width, huge palette)
    // ends loading there.
    for (int field : {0, 1, 2}) {
        std::vector<uint8_t> bad = whole;
        const size_t second = firstEnd;
        if (field == 0) bad[second + 14] = 16;                 // bit count
        if (field == 1) bad[second + 4] = bad[second + 5] = 0; // width
        if (field == 2) bad[second + 33] = 0x10;               // colours used 4096
        EXPECT_EQ(decodeMbm(bad).frames.size(), 1u) << field;
    }
}

TEST(MbmTest, NoFramesFromAnEmptyOrMissingFile) {
    EXPECT_TRUE(decodeMbm(file(0, 100, {})).frames.empty());
    EXPECT_EQ(decodeMbm(file(0, 100, {})).periodMs, 100);
    EXPECT_TRUE(decodeMbm(nullptr, 0).frames.empty());
    EXPECT_TRUE(loadMbmFile("/nonexistent/fan.mbm").frames.empty());
}

TEST(MbmTest, AnimationsAreFoundInHomeThenProgramFolder) {
    TempDir home, exe;
    auto write = [](const std::string& path, const std::vector<uint8_t>& bytes) {
        writeText(path, std::string(bytes.begin(), bytes.end()));
    };
    write(home.file("fan.mbm"), file(1, 40, {pattern(2, 2, 16)}));
    write(exe.file("fan.mbm"), file(1, 99, {pattern(2, 2, 16)}));
    write(exe.file("fire.mbm"), file(1, 77, {pattern(2, 2, 16)}));
    Resources r = Resources::forProgram(home.path(), exe.path());
    EXPECT_EQ(r.animation("fan.mbm")->periodMs, 40);
    EXPECT_EQ(r.animation("fire.mbm")->periodMs, 77);
    EXPECT_TRUE(r.animation("smoke.mbm")->frames.empty());
    // Decoded once: the same frames come back.
    EXPECT_EQ(r.animation("fan.mbm").get(), r.animation("fan.mbm").get());
}

}  // namespace
}  // namespace vesk::test
