// The .mbm animation file: frame count, frame period, then per frame a
// BITMAPINFOHEADER, its palette and 8-bit palette-index rows.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "ui/toolkit/bitmap.h"
#include "ui/toolkit/color.h"

namespace vesk {

struct MbmAnimation {
    int declaredFrames = 0;     // N as the file states it
    int periodMs = 0;           // the animation's timer period
    std::vector<Bitmap> frames; // opaque, decoded once
    std::vector<Bitmap> keyedFrames;  // same frames, key colour transparent
    Color key = 0;              // top-left pixel colour of the first frame
    int width = 0;              // largest frame width
    int height = 0;             // largest frame height
};

// Decodes the bytes of a file. A truncated or damaged file keeps the frames
// decoded before the damage; nothing is read past the end.
MbmAnimation decodeMbm(const uint8_t* data, size_t size);
inline MbmAnimation decodeMbm(const std::vector<uint8_t>& bytes) { return decodeMbm(bytes.data(), bytes.size()); }

// Reads and decodes a file; a missing file gives no frames.
MbmAnimation loadMbmFile(const std::string& path);

}  // namespace vesk
