// Palette reduction for the 8-bit animation frames (median cut, deterministic).
#pragma once
#include <cstdint>
#include <map>
#include <vector>

#include "tools/art/style.h"

namespace vesk::art {

// Colour histogram: packed RGB to pixel count.
using Histogram = std::map<uint32_t, uint64_t>;

// At most maxColours representative colours for the histogram; exact when
// it holds no more distinct colours than that.
std::vector<Rgb> medianCut(const Histogram& histogram, int maxColours);

// Index of the palette entry nearest to c, searching entries first..end.
int nearestIndex(const std::vector<Rgb>& palette, Rgb c, int first);

}  // namespace vesk::art
