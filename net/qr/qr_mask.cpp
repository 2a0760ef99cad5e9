// Mask conditions and the penalty rules: long runs (N1), 2x2 blocks (N2),
// finder look-alikes (N3) and the dark/light balance (N4). Scoring works on
// rows and columns packed into bits, so trying all eight masks stays cheap.
#include "net/qr/qr_mask.h"

#include <cstdint>
#include <cstdlib>
#include <initializer_list>

namespace vesk::qr {

namespace {

constexpr int kBlockPenalty = 3;
constexpr int kFinderLikePenalty = 40;
constexpr int kBalancePenalty = 10;

constexpr int ones(uint64_t v) {
    // Without a population-count instruction the library call costs more
    // than the arithmetic.
    v = v - ((v >> 1) & 0x5555555555555555u);
    v = (v & 0x3333333333333333u) + ((v >> 2) & 0x3333333333333333u);
    v = (v + (v >> 4)) & 0x0F0F0F0F0F0F0F0Fu;
    return static_cast<int>((v * 0x0101010101010101u) >> 56);
}

// One row or column of up to 128 modules, module i in bit i, dark = 1.
// Shifting brings in light modules, which is what lies outside the symbol.
struct Line {
    uint64_t lo = 0, hi = 0;

    constexpr void assign(int i, bool on) {
        uint64_t& w = i < 64 ? lo : hi;
        const uint64_t bit = uint64_t{1} << (i & 63);
        w = on ? w | bit : w & ~bit;
    }
    // Bit i of the result is module i + k (k in 1..63).
    Line ahead(int k) const { return {lo >> k | hi << (64 - k), hi >> k}; }
    // Bit i of the result is module i - k (k in 1..63).
    Line behind(int k) const { return {lo << k, hi << k | lo >> (64 - k)}; }
    Line operator&(Line o) const { return {lo & o.lo, hi & o.hi}; }
    Line operator|(Line o) const { return {lo | o.lo, hi | o.hi}; }
    Line operator^(Line o) const { return {lo ^ o.lo, hi ^ o.hi}; }
    Line operator~() const { return {~lo, ~hi}; }
    int count() const { return ones(lo) + ones(hi); }
};
static_assert(kMaxSide <= 128);

Line firstBits(int n) {
    Line l;
    for (int i = 0; i < n; ++i) l.assign(i, true);
    return l;
}

// N1 and N3 along one line.
int linePenalty(Line l, Line pairs) {
    // A run of r >= 5 equal modules scores r - 2. With `same` marking a
    // module equal to the next one, such a run is r - 1 >= 4 set bits,
    // holding r - 4 windows of four: its score is windows + 2.
    const Line same = ~(l ^ l.ahead(1)) & pairs;
    const Line four = same & same.ahead(1) & same.ahead(2) & same.ahead(3);
    const Line runStarts = four & ~same.behind(1);
    int score = four.count() + 2 * runStarts.count();

    // 1:1:3:1:1 dark-light-dark-light-dark with four light modules on
    // either side; counted once per look-alike.
    const Line core = l & ~l.ahead(1) & l.ahead(2) & l.ahead(3) & l.ahead(4) & ~l.ahead(5) & l.ahead(6);
    const Line lightBefore = ~(l.behind(1) | l.behind(2) | l.behind(3) | l.behind(4));
    const Line lightAfter = ~(l.ahead(7) | l.ahead(8) | l.ahead(9) | l.ahead(10));
    score += kFinderLikePenalty * (core & (lightBefore | lightAfter)).count();
    return score;
}

struct Packed {
    Line rows[kMaxSide];
    Line columns[kMaxSide];
};

int score(const Packed& p, int n) {
    const Line pairs = firstBits(n - 1);  // modules that have a next one
    int total = 0;
    int darkCount = 0;
    for (int i = 0; i < n; ++i) {
        total += linePenalty(p.rows[i], pairs) + linePenalty(p.columns[i], pairs);
        darkCount += p.rows[i].count();
        if (i + 1 < n) {
            // 2x2 blocks: equal to the row below, and along the row.
            const Line vertical = ~(p.rows[i] ^ p.rows[i + 1]);
            const Line along = ~(p.rows[i] ^ p.rows[i].ahead(1));
            total += kBlockPenalty * (vertical & vertical.ahead(1) & along & pairs).count();
        }
    }
    // Ten points for every full 5 % step away from an even balance.
    const int modules = n * n;
    total += kBalancePenalty * (std::abs(darkCount * 100 - modules * 50) / (modules * 5));
    return total;
}

void pack(const Matrix& m, Packed& dark, Packed* data) {
    const int n = m.side();
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            if (m.dark(x, y)) {
                dark.rows[y].assign(x, true);
                dark.columns[x].assign(y, true);
            }
            if (data && !m.isFunction(x, y)) {
                data->rows[y].assign(x, true);
                data->columns[x].assign(y, true);
            }
        }
}

struct MaskTables {
    uint8_t rows[kMaskCount][kMaskPeriod][kMaxSide];
    Line rowBits[kMaskCount][kMaskPeriod];     // bit x of row y % 12
    Line columnBits[kMaskCount][kMaskPeriod];  // bit y of column x % 12
};

constexpr MaskTables makeMaskTables() {
    MaskTables t{};
    for (int m = 0; m < kMaskCount; ++m)
        for (int k = 0; k < kMaskPeriod; ++k)
            for (int i = 0; i < kMaxSide; ++i) {
                t.rows[m][k][i] = maskInverts(m, i, k);
                t.rowBits[m][k].assign(i, maskInverts(m, i, k));
                t.columnBits[m][k].assign(i, maskInverts(m, k, i));
            }
    return t;
}

constexpr MaskTables kMasks = makeMaskTables();

}  // namespace

const uint8_t* maskRow(int mask, int y) { return kMasks.rows[mask][y % kMaskPeriod]; }

int penalty(const Matrix& m) {
    Packed p;
    pack(m, p, nullptr);
    return score(p, m.side());
}

int chooseMask(const Matrix& unmasked) {
    const int n = unmasked.side();
    Packed base, data, masked;
    pack(unmasked, base, &data);
    int best = 0, bestScore = 0;
    for (int mask = 0; mask < kMaskCount; ++mask) {
        for (int i = 0; i < n; ++i) {
            masked.rows[i] = base.rows[i] ^ (kMasks.rowBits[mask][i % kMaskPeriod] & data.rows[i]);
            masked.columns[i] = base.columns[i] ^ (kMasks.columnBits[mask][i % kMaskPeriod] & data.columns[i]);
        }
        const uint32_t format = formatBits(mask);
        for (int bit = 0; bit < 15; ++bit) {
            const bool on = ((format >> bit) & 1) != 0;
            ModulePos a, b;
            formatPositions(n, bit, a, b);
            for (ModulePos p : {a, b}) {
                masked.rows[p.y].assign(p.x, on);
                masked.columns[p.x].assign(p.y, on);
            }
        }
        const int s = score(masked, n);
        if (mask == 0 || s < bestScore) {
            best = mask;
            bestScore = s;
        }
    }
    return best;
}

}  // namespace vesk::qr
