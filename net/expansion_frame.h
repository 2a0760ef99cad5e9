// The expansion module's frames as the panel reads them: each read of the
// line is decoded on its own, and at most its first frame is taken.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace vesk {

// Largest read of the module's line.
constexpr size_t kModuleChunkMax = 256;

// The message (check byte removed) of the first complete frame in one read,
// when its check byte is right. A read of 0 or more than 256 bytes, a frame
// cut short or spoilt by a bad escape before it completes, and an empty
// message give nothing.
std::optional<std::vector<uint8_t>> decodeModuleChunk(const uint8_t* chunk, size_t n);

}  // namespace vesk
