// Symbol geometry and block structure of QR Model 2 at level Q, versions 1..26.
#pragma once
#include <cstddef>

namespace vesk::qr {

constexpr int kMinVersion = 1;
constexpr int kMaxVersion = 26;  // larger symbols are never produced
constexpr int kMaxSide = 17 + 4 * kMaxVersion;
constexpr int kMaxDataCodewords = 754;  // version 26 at level Q
constexpr int kMaxAlignments = 5;

// Version in kMinVersion..kMaxVersion for every function below.
constexpr int sideOf(int version) { return 17 + 4 * version; }

struct BlockLayout {
    int totalCodewords;  // data and error correction, all blocks
    int blocks;
    int eccPerBlock;
    int dataCodewords() const { return totalCodewords - blocks * eccPerBlock; }
};
BlockLayout blockLayout(int version);

// Centre coordinates of the alignment patterns along one axis; returns
// their count (0 for version 1).
int alignmentPositions(int version, int (&out)[kMaxAlignments]);

}  // namespace vesk::qr
