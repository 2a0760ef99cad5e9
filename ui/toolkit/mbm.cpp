// .mbm decoding, bounds-checked against the end of the data at every step.
#include "ui/toolkit/mbm.h"

#include <algorithm>
#include <fstream>
#include <iterator>

namespace vesk {

namespace {

constexpr size_t kInfoHeaderSize = 40;

uint16_t le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
uint32_t le32(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24; }

struct FrameHeader {
    int32_t width = 0;
    int32_t height = 0;
    uint16_t bitCount = 0;
    uint32_t colorsUsed = 0;
};

// Decodes one frame at `pos`; false (and nothing consumed) when it does not
// fit in the data or cannot be a picture we can draw.
bool decodeFrame(const uint8_t* data, size_t size, size_t& pos, Bitmap& out, uint32_t& keyIndex,
                 const uint8_t*& palette, uint32_t& paletteCount) {
    if (size - pos < kInfoHeaderSize) return false;
    const uint8_t* h = data + pos;
    FrameHeader fh;
    fh.width = static_cast<int32_t>(le32(h + 4));
    fh.height = static_cast<int32_t>(le32(h + 8));
    fh.bitCount = le16(h + 14);
    fh.colorsUsed = le32(h + 32);
    // Only 8-bit palette pictures of sensible size; anything else is a
    // picture the panel could not show either.
    if (fh.bitCount != 8 || fh.width <= 0 || fh.height == 0 || fh.width > 4096 || fh.height > 4096 ||
        fh.height < -4096)
        return false;
    const uint32_t colors = fh.colorsUsed ? fh.colorsUsed : 256;
    if (colors > 256) return false;
    const size_t paletteBytes = size_t(colors) * 4;
    const int width = fh.width;
    const int height = fh.height > 0 ? fh.height : -fh.height;
    const size_t stride = (size_t(width) + 3) & ~size_t(3);
    const size_t pixelBytes = stride * size_t(height);
    if (size - pos - kInfoHeaderSize < paletteBytes) return false;
    if (size - pos - kInfoHeaderSize - paletteBytes < pixelBytes) return false;

    const uint8_t* pal = h + kInfoHeaderSize;
    const uint8_t* pixels = pal + paletteBytes;
    Bitmap bmp = Bitmap::create(width, height);
    if (bmp.empty()) return false;
    auto colorOf = [&](uint8_t index) -> uint32_t {
        if (index >= colors) return 0;  // outside the palette: black
        const uint8_t* q = pal + size_t(index) * 4;
        return uint32_t(q[2]) << 16 | uint32_t(q[1]) << 8 | q[0];
    };
    for (int y = 0; y < height; ++y) {
        const int storedRow = fh.height > 0 ? height - 1 - y : y;  // bottom-up when height > 0
        const uint8_t* src = pixels + size_t(storedRow) * stride;
        uint32_t* dst = bmp.row(y);
        for (int x = 0; x < width; ++x) dst[x] = colorOf(src[x]);
    }
    bmp.markDirty();
    // The key is the top-left pixel: the first byte of the last stored row
    // of a bottom-up picture, of the first row of a top-down one.
    const size_t topRow = fh.height > 0 ? size_t(height - 1) : 0;
    keyIndex = pixels[topRow * stride];
    palette = pal;
    paletteCount = colors;
    out = std::move(bmp);
    pos += kInfoHeaderSize + paletteBytes + pixelBytes;
    return true;
}

}  // namespace

MbmAnimation decodeMbm(const uint8_t* data, size_t size) {
    MbmAnimation a;
    if (!data || size < 4) return a;
    a.declaredFrames = le16(data);
    a.periodMs = le16(data + 2);
    size_t pos = 4;
    for (int i = 0; i < a.declaredFrames; ++i) {
        Bitmap frame;
        uint32_t keyIndex = 0;
        const uint8_t* pal = nullptr;
        uint32_t palCount = 0;
        if (!decodeFrame(data, size, pos, frame, keyIndex, pal, palCount)) break;
        if (i == 0 && keyIndex < palCount) {
            const uint8_t* q = pal + size_t(keyIndex) * 4;
            a.key = rgb(q[2], q[1], q[0]);
        }
        a.width = std::max(a.width, frame.width());
        a.height = std::max(a.height, frame.height());
        a.frames.push_back(std::move(frame));
    }
    a.keyedFrames.reserve(a.frames.size());
    for (const Bitmap& f : a.frames) a.keyedFrames.push_back(makeKeyed(f, a.key));
    return a;
}

MbmAnimation loadMbmFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return {};
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return decodeMbm(bytes);
}

}  // namespace vesk
