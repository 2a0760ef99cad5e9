// The eight data masks and the penalty score that chooses between them.
#pragma once

#include "net/qr/qr_matrix.h"

namespace vesk::qr {

// Whether `mask` (0..7) inverts the module at column x, row y.
constexpr bool maskInverts(int mask, int x, int y) {
    switch (mask) {
    case 0: return (x + y) % 2 == 0;
    case 1: return y % 2 == 0;
    case 2: return x % 3 == 0;
    case 3: return (x + y) % 3 == 0;
    case 4: return (y / 2 + x / 3) % 2 == 0;
    case 5: return x * y % 2 + x * y % 3 == 0;
    case 6: return (x * y % 2 + x * y % 3) % 2 == 0;
    case 7: return ((x + y) % 2 + x * y % 3) % 2 == 0;
    }
    return false;
}

// Every mask repeats after twelve modules across and down.
constexpr int kMaskPeriod = 12;
// One row of `mask` over the widest symbol, 1 where it inverts.
const uint8_t* maskRow(int mask, int y);

// Penalty score of a finished symbol (rules N1 to N4); lower is better.
int penalty(const Matrix& m);

// The mask whose finished symbol scores the lowest penalty (the lowest
// number among equals), for a matrix that holds its codewords unmasked.
int chooseMask(const Matrix& unmasked);

}  // namespace vesk::qr
