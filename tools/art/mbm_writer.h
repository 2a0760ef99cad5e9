// Writes animation files: frame count, period, then 8-bit bottom-up DIB frames.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "tools/art/raster.h"

namespace vesk::art {

struct MbmFile {
    std::vector<Surface> frames;  // all the same size; keyed pixels hold kKey
    uint16_t periodMs = 100;
    // Palette entries written per frame, 1..256; 256 is stored as 0 in the
    // header, which readers take to mean a full palette.
    int colours = 16;
};

// Palette index 0 is always the key colour; key pixels map to it and every
// other pixel to the nearest of the remaining entries.
std::vector<uint8_t> encodeMbm(const MbmFile& file);
bool writeMbm(const MbmFile& file, const std::string& path);

}  // namespace vesk::art
