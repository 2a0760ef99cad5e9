// The eight data masks and the penalty score that chooses between them.
#pragma once

#include "net/qr/qr_matrix.h"

namespace vesk::qr {

// Whether `mask` (0..7) inverts the module at column x, row y.
bool maskInverts(int mask, int x, int y);

// Penalty score of a finished symbol (rules N1 to N4); lower is better.
int penalty(const Matrix& m);

}  // namespace vesk::qr
