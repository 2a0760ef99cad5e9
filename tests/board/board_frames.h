// Builds power-board reading payloads for the board tests.
#pragma once
#include <cstdint>
#include <vector>

#include "board/reading_frame.h"

namespace vesk::test {

struct ReadingPayload {
    ReadingPayload(uint16_t version, size_t size) : bytes(size, 0) { put(0, version); }
    ReadingPayload& put(size_t at, int value) {
        bytes[at] = static_cast<uint8_t>(value & 0xFF);
        bytes[at + 1] = static_cast<uint8_t>((value >> 8) & 0xFF);
        return *this;
    }
    ReadingPayload& byte(size_t at, uint8_t v) {
        bytes[at] = v;
        return *this;
    }
    std::vector<uint8_t> bytes;
};

// A full-length payload of a known firmware.
inline ReadingPayload readingFor(uint16_t version) { return ReadingPayload(version, readingPayloadSize(version)); }

}  // namespace vesk::test
