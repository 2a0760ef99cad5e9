// Splitting a text into numeric, alphanumeric and 8-bit segments with the
// fewest bits, and writing the segments into the data bit stream.
#pragma once
#include <cstddef>
#include <string_view>
#include <vector>

#include "net/qr/qr_bit_buffer.h"

namespace vesk::qr {

enum class Mode { Numeric, Alphanumeric, Byte };

struct Segment {
    Mode mode;
    size_t start;   // into the text
    size_t length;  // characters (bytes)
};

// Width of the character-count field; version in 1..kMaxVersion.
int countBits(Mode mode, int version);
// Longest segment one count field can announce.
size_t maxCount(Mode mode, int version);
// Value of a character in alphanumeric mode, or -1 when it has none.
int alphanumericValue(char c);

// The segmentation with the fewest bits for the count-field widths of
// `version`. Segments are merged runs; none is empty.
std::vector<Segment> planSegments(std::string_view text, int version);

// Exact bits of the segments at `version`, splitting any run longer than
// its count field can announce.
size_t segmentBits(const std::vector<Segment>& segments, int version);

// Appends mode indicators, counts and data of every segment.
void writeSegments(std::string_view text, const std::vector<Segment>& segments, int version,
                   BitBuffer& out);

}  // namespace vesk::qr
