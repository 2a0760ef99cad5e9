// Mask conditions and the penalty rules: long runs (N1), 2x2 blocks (N2),
// finder look-alikes (N3) and the dark/light balance (N4).
#include "net/qr/qr_mask.h"

#include <cstdlib>

namespace vesk::qr {

namespace {

constexpr int kRunPenalty = 3;
constexpr int kBlockPenalty = 3;
constexpr int kFinderLikePenalty = 40;
constexpr int kBalancePenalty = 10;

// Modules outside the symbol count as light, as the quiet zone is.
bool allLight(const uint8_t* line, int stride, int n, int from, int to) {
    for (int k = from; k < to; ++k)
        if (k >= 0 && k < n && line[k * stride]) return false;
    return true;
}

int linePenalty(const uint8_t* line, int stride, int n) {
    int score = 0;
    int run = 1;
    for (int k = 1; k <= n; ++k) {
        if (k < n && line[k * stride] == line[(k - 1) * stride]) {
            ++run;
            continue;
        }
        if (run >= 5) score += kRunPenalty + run - 5;
        run = 1;
    }
    // 1:1:3:1:1 dark-light-dark-light-dark with four light modules on
    // either side.
    for (int k = 0; k + 7 <= n; ++k) {
        const uint8_t* p = line + k * stride;
        if (!(p[0] && !p[stride] && p[2 * stride] && p[3 * stride] && p[4 * stride] &&
              !p[5 * stride] && p[6 * stride]))
            continue;
        if (allLight(line, stride, n, k - 4, k) || allLight(line, stride, n, k + 7, k + 11))
            score += kFinderLikePenalty;
    }
    return score;
}

}  // namespace

bool maskInverts(int mask, int x, int y) {
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

int penalty(const Matrix& m) {
    const int n = m.side();
    const uint8_t* d = m.modules();
    int score = 0;
    for (int i = 0; i < n; ++i) {
        score += linePenalty(d + i * n, 1, n);  // row i
        score += linePenalty(d + i, n, n);      // column i
    }
    int darkCount = 0;
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            const uint8_t* p = d + y * n + x;
            darkCount += *p;
            if (x + 1 < n && y + 1 < n && p[0] == p[1] && p[0] == p[n] && p[0] == p[n + 1])
                score += kBlockPenalty;
        }
    // Ten points for every full 5 % step away from an even balance.
    const int total = n * n;
    score += kBalancePenalty * (std::abs(darkCount * 100 - total * 50) / (total * 5));
    return score;
}

}  // namespace vesk::qr
