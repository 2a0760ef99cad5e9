// Per-version constants of the symbol at error-correction level Q.
#include "net/qr/qr_tables.h"

namespace vesk::qr {

namespace {

// Index 0 unused so a version indexes directly.
constexpr short kTotalCodewords[kMaxVersion + 1] = {
    0,   26,  44,  70,  100, 134, 172, 196, 242, 292,  346,  404,  466, 532,
    581, 655, 733, 815, 901, 991, 1085, 1156, 1258, 1364, 1474, 1588, 1706};
constexpr unsigned char kBlocksQ[kMaxVersion + 1] = {
    0, 1, 1, 2, 2, 4, 4, 6, 6, 8, 8, 8, 10, 12, 16, 12, 17, 16, 18, 21, 20, 23, 23, 25, 27, 29, 34};
constexpr unsigned char kEccPerBlockQ[kMaxVersion + 1] = {
    0, 13, 22, 18, 26, 18, 24, 18, 22, 20, 24, 28, 26, 24, 20, 30, 24, 28, 28, 26, 30, 28, 30, 30, 30, 30, 28};

}  // namespace

BlockLayout blockLayout(int version) {
    return {kTotalCodewords[version], kBlocksQ[version], kEccPerBlockQ[version]};
}

int alignmentPositions(int version, int (&out)[kMaxAlignments]) {
    if (version < 2) return 0;
    int count = version / 7 + 2;
    int last = sideOf(version) - 7;
    // Evenly spaced from the last one back towards 6, with an even step;
    // the first gap takes what is left over.
    int span = last - 6;
    int step = (span + 2 * (count - 1) - 1) / (2 * (count - 1)) * 2;
    out[0] = 6;
    for (int i = count - 1; i >= 1; --i) out[i] = last - (count - 1 - i) * step;
    return count;
}

}  // namespace vesk::qr
