// Function patterns, zigzag codeword placement and the information areas.
#include "net/qr/qr_matrix.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "net/qr/qr_mask.h"

namespace vesk::qr {

namespace {

constexpr uint32_t kLevelQ = 0x3;
constexpr uint32_t kFormatGenerator = 0x537;
constexpr uint32_t kFormatXor = 0x5412;
constexpr uint32_t kVersionGenerator = 0x1F25;

// Remainder of data * x^(degree) modulo the BCH generator.
uint32_t bchRemainder(uint32_t data, int degree, uint32_t generator) {
    uint32_t rem = data;
    for (int i = 0; i < degree; ++i) rem = (rem << 1) ^ (((rem >> (degree - 1)) & 1) * generator);
    return rem & ((1u << degree) - 1);
}

}  // namespace

uint32_t formatBits(int mask) {
    uint32_t data = kLevelQ << 3 | static_cast<uint32_t>(mask);
    return (data << 10 | bchRemainder(data, 10, kFormatGenerator)) ^ kFormatXor;
}

uint32_t versionBits(int version) {
    uint32_t v = static_cast<uint32_t>(version);
    return v << 12 | bchRemainder(v, 12, kVersionGenerator);
}

Matrix::Matrix(int version) : version_(version), side_(sideOf(version)) {
    std::memset(dark_, 0, sizeof dark_);
    std::memset(function_, 0, sizeof function_);
    for (int i = 0; i < side_; ++i) {
        set(6, i, i % 2 == 0, true);
        set(i, 6, i % 2 == 0, true);
    }
    drawFinder(3, 3);
    drawFinder(side_ - 4, 3);
    drawFinder(3, side_ - 4);

    int pos[kMaxAlignments];
    int n = alignmentPositions(version, pos);
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) {
            bool nearFinder = (i == 0 && j == 0) || (i == 0 && j == n - 1) || (i == n - 1 && j == 0);
            if (!nearFinder) drawAlignment(pos[i], pos[j]);
        }

    drawFormat(0);  // reserves the areas; the real bits follow the mask choice
    drawVersion();
}

void Matrix::set(int x, int y, bool dark, bool function) {
    dark_[y * side_ + x] = dark;
    function_[y * side_ + x] = function;
}

void Matrix::drawFinder(int cx, int cy) {
    // 7x7 rings dark-light-dark around a 3x3 centre, with the light
    // separator ring clipped at the symbol's edge.
    for (int dy = -4; dy <= 4; ++dy)
        for (int dx = -4; dx <= 4; ++dx) {
            int x = cx + dx, y = cy + dy;
            if (x < 0 || x >= side_ || y < 0 || y >= side_) continue;
            int ring = std::max(std::abs(dx), std::abs(dy));
            set(x, y, ring != 2 && ring != 4, true);
        }
}

void Matrix::drawAlignment(int cx, int cy) {
    for (int dy = -2; dy <= 2; ++dy)
        for (int dx = -2; dx <= 2; ++dx)
            set(cx + dx, cy + dy, std::max(std::abs(dx), std::abs(dy)) != 1, true);
}

void formatPositions(int side, int bit, ModulePos& first, ModulePos& second) {
    // Beside the top-left finder: bits 0..7 down column 8 (stepping over
    // the timing row), bits 8..14 leftwards along row 8 (stepping over the
    // timing column).
    if (bit < 6) first = {8, bit};
    else if (bit < 8) first = {8, bit + 1};
    else if (bit == 8) first = {7, 8};
    else first = {14 - bit, 8};
    // The copy split between the other two finders.
    if (bit < 8) second = {side - 1 - bit, 8};
    else second = {8, side - 15 + bit};
}

void Matrix::drawFormat(int mask) {
    const uint32_t bits = formatBits(mask);
    for (int i = 0; i < 15; ++i) {
        ModulePos a, b;
        formatPositions(side_, i, a, b);
        bool d = ((bits >> i) & 1) != 0;
        set(a.x, a.y, d, true);
        set(b.x, b.y, d, true);
    }
    set(8, side_ - 8, true, true);  // the module that is always dark
}

void Matrix::drawVersion() {
    if (version_ < 7) return;
    uint32_t bits = versionBits(version_);
    for (int i = 0; i < 18; ++i) {
        bool d = ((bits >> i) & 1) != 0;
        int a = side_ - 11 + i % 3, b = i / 3;
        set(a, b, d, true);
        set(b, a, d, true);
    }
}

int Matrix::dataModuleCount() const {
    int n = 0;
    for (int i = 0; i < side_ * side_; ++i) n += function_[i] == 0;
    return n;
}

void Matrix::placeCodewords(const uint8_t* codewords, int count) {
    const int totalBits = count * 8;
    int i = 0;
    // Column pairs from the right edge, alternately upwards and downwards;
    // the vertical timing column is not part of any pair.
    for (int right = side_ - 1; right >= 1; right -= 2) {
        if (right == 6) right = 5;
        bool upward = ((right + 1) & 2) == 0;
        for (int step = 0; step < side_; ++step) {
            int y = upward ? side_ - 1 - step : step;
            for (int x = right; x >= right - 1; --x) {
                if (function_[y * side_ + x]) continue;
                bool d = false;
                if (i < totalBits) d = ((codewords[i >> 3] >> (7 - (i & 7))) & 1) != 0;
                dark_[y * side_ + x] = d;
                ++i;
            }
        }
    }
}

void Matrix::applyMask(int mask) {
    for (int y = 0; y < side_; ++y) {
        const uint8_t* pattern = maskRow(mask, y);
        uint8_t* row = dark_ + y * side_;
        const uint8_t* function = function_ + y * side_;
        for (int x = 0; x < side_; ++x) row[x] ^= pattern[x] & (function[x] ^ 1);
    }
}

}  // namespace vesk::qr
