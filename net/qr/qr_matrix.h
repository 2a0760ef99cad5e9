// The module grid while a symbol is built: function patterns, codeword
// placement, masking and the format and version information.
#pragma once
#include <cstdint>

#include "net/qr/qr_tables.h"

namespace vesk::qr {

constexpr int kMaskCount = 8;

// 15-bit format information of level Q with `mask` (0..7), BCH-protected
// and XOR-ed with the fixed pattern.
uint32_t formatBits(int mask);
// 18-bit version information (version 7..40).
uint32_t versionBits(int version);

struct ModulePos {
    int x, y;
};
// Where format bit `bit` (0..14) sits in each of its two copies.
void formatPositions(int side, int bit, ModulePos& first, ModulePos& second);

class Matrix {
public:
    // Draws every function pattern of `version` (1..kMaxVersion); the
    // format areas hold mask 0's information until drawFormat is called.
    explicit Matrix(int version);

    int version() const { return version_; }
    int side() const { return side_; }
    bool dark(int x, int y) const { return dark_[y * side_ + x] != 0; }
    bool isFunction(int x, int y) const { return function_[y * side_ + x] != 0; }
    // Row-major module colours, 1 = dark.
    const uint8_t* modules() const { return dark_; }
    int dataModuleCount() const;

    // Fills the data area in the zigzag order; modules beyond `count`
    // codewords (the remainder bits) stay light.
    void placeCodewords(const uint8_t* codewords, int count);
    // Inverting the data modules twice with the same mask restores them.
    void applyMask(int mask);
    void drawFormat(int mask);

private:
    void set(int x, int y, bool dark, bool function);
    void drawFinder(int cx, int cy);
    void drawAlignment(int cx, int cy);
    void drawVersion();

    int version_;
    int side_;
    uint8_t dark_[kMaxSide * kMaxSide];
    uint8_t function_[kMaxSide * kMaxSide];
};

}  // namespace vesk::qr
