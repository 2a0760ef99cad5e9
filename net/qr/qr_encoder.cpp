// Version choice, data codewords, error correction blocks and mask choice.
#include "net/qr/qr_encoder.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "net/qr/qr_bit_buffer.h"
#include "net/qr/qr_mask.h"
#include "net/qr/qr_matrix.h"
#include "net/qr/qr_reed_solomon.h"
#include "net/qr/qr_segments.h"
#include "net/qr/qr_tables.h"

namespace vesk {

using namespace qr;

namespace {

constexpr int kMaxTotalCodewords = 1706;  // version 26
constexpr uint8_t kPadBytes[2] = {0xEC, 0x11};

// Even a digit costs 10/3 bits, so longer texts never fit; this keeps the
// segmentation work bounded for any input.
constexpr size_t kMaxTextLength = size_t{kMaxDataCodewords} * 8 * 3 / 10;

// Smallest version whose capacity holds the text, 0 when none does. The
// count fields widen at version 10, so each range has its own plan.
int chooseVersion(std::string_view text, std::vector<Segment>& segments) {
    static constexpr int kRanges[][2] = {{1, 9}, {10, kMaxVersion}};
    for (const auto& range : kRanges) {
        segments = planSegments(text, range[0]);
        size_t bits = segmentBits(segments, range[0]);
        for (int v = range[0]; v <= range[1]; ++v)
            if (bits <= static_cast<size_t>(blockLayout(v).dataCodewords()) * 8) return v;
    }
    return 0;
}

// Data codewords: segments, terminator, zero bits to the byte boundary,
// then the alternating pad codewords.
bool buildData(std::string_view text, const std::vector<Segment>& segments, int version,
               BitBuffer& data) {
    const int capacity = blockLayout(version).dataCodewords() * 8;
    writeSegments(text, segments, version, data);
    if (data.overflowed() || data.size() > capacity) return false;
    data.append(0, std::min(4, capacity - data.size()));
    data.append(0, (8 - data.size() % 8) % 8);
    for (int i = 0; data.size() < capacity; ++i) data.append(kPadBytes[i % 2], 8);
    return !data.overflowed() && data.size() == capacity;
}

// Splits the data into blocks (the shorter ones first), adds each block's
// check codewords and interleaves them codeword by codeword.
void buildCodewords(int version, const uint8_t* data, uint8_t* out) {
    const BlockLayout layout = blockLayout(version);
    const int longBlocks = layout.totalCodewords % layout.blocks;
    const int shortBlocks = layout.blocks - longBlocks;
    const int shortData = layout.totalCodewords / layout.blocks - layout.eccPerBlock;
    const ReedSolomon rs(layout.eccPerBlock);

    uint8_t ecc[kMaxEccPerBlock];
    const int dataCount = layout.dataCodewords();
    int offset = 0;
    for (int b = 0; b < layout.blocks; ++b) {
        int length = shortData + (b >= shortBlocks ? 1 : 0);
        // Codeword i of this block lands at i * blocks + b, except the extra
        // last codeword of the long blocks, which follows every other one.
        for (int i = 0; i < length; ++i) {
            int at = i < shortData ? i * layout.blocks + b : shortData * layout.blocks + (b - shortBlocks);
            out[at] = data[offset + i];
        }
        rs.remainder(data + offset, length, ecc);
        for (int i = 0; i < layout.eccPerBlock; ++i) out[dataCount + i * layout.blocks + b] = ecc[i];
        offset += length;
    }
}

QrStatus encodeInto(std::string_view text, uint8_t* matrix, int* modulesPerSide) {
    if (text.size() > kMaxTextLength) return QrStatus::DataTooLong;
    std::vector<Segment> segments;
    const int version = chooseVersion(text, segments);
    if (version == 0) return QrStatus::DataTooLong;

    auto data = std::make_unique<BitBuffer>();
    if (!buildData(text, segments, version, *data)) return QrStatus::InternalError;
    uint8_t codewords[kMaxTotalCodewords];
    buildCodewords(version, data->bytes(), codewords);

    auto m = std::make_unique<Matrix>(version);
    const int total = blockLayout(version).totalCodewords;
    if (m->dataModuleCount() < total * 8) return QrStatus::InternalError;
    m->placeCodewords(codewords, total);
    int mask = chooseMask(*m);
    m->applyMask(mask);
    m->drawFormat(mask);

    const int side = m->side();
    for (int x = 0; x < side; ++x)
        for (int y = 0; y < side; ++y) {
            size_t i = static_cast<size_t>(x) * side + y;
            if (m->dark(x, y)) matrix[i >> 3] |= static_cast<uint8_t>(1u << (i & 7));
        }
    *modulesPerSide = side;
    return QrStatus::Ok;
}

}  // namespace

QrStatus encodeQr(std::string_view text, uint8_t* matrix, size_t matrixBytes, int* modulesPerSide) {
    if (modulesPerSide) *modulesPerSide = 0;
    if (!matrix || !modulesPerSide || matrixBytes < kQrMatrixBytes) return QrStatus::BadArgument;
    std::memset(matrix, 0, kQrMatrixBytes);
    if (!text.data() && !text.empty()) return QrStatus::BadArgument;
    QrStatus status = encodeInto(text, matrix, modulesPerSide);
    if (status != QrStatus::Ok) {
        std::memset(matrix, 0, kQrMatrixBytes);
        *modulesPerSide = 0;
    }
    return status;
}

QrStatus encodeQr(std::string_view text, QrSymbol& out) {
    return encodeQr(text, out.bits_.data(), out.bits_.size(), &out.side_);
}

}  // namespace vesk
