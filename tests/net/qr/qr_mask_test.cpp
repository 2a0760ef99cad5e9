// The packed penalty score against a plain module-by-module reading of the
// rules, and the mask choice as the lowest of the eight scores.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <vector>

#include "net/qr/qr_mask.h"
#include "net/qr/qr_matrix.h"
#include "net/qr/qr_tables.h"

namespace vesk::test {
namespace {

int referencePenalty(const qr::Matrix& m) {
    const int n = m.side();
    // Outside the symbol is light.
    auto at = [&](bool row, int line, int k) {
        if (k < 0 || k >= n) return false;
        return row ? m.dark(k, line) : m.dark(line, k);
    };
    int score = 0;
    for (bool row : {true, false})
        for (int line = 0; line < n; ++line) {
            for (int k = 0; k < n;) {
                int end = k;
                while (end < n && at(row, line, end) == at(row, line, k)) ++end;
                if (end - k >= 5) score += 3 + (end - k - 5);
                k = end;
            }
            static const bool kFinder[7] = {true, false, true, true, true, false, true};
            for (int k = 0; k + 7 <= n; ++k) {
                bool match = true;
                for (int j = 0; j < 7; ++j) match = match && at(row, line, k + j) == kFinder[j];
                if (!match) continue;
                bool before = true, after = true;
                for (int j = 1; j <= 4; ++j) {
                    before = before && !at(row, line, k - j);
                    after = after && !at(row, line, k + 6 + j);
                }
                if (before || after) score += 40;
            }
        }
    int dark = 0;
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            dark += m.dark(x, y);
            if (x + 1 < n && y + 1 < n && m.dark(x, y) == m.dark(x + 1, y) && m.dark(x, y) == m.dark(x, y + 1) &&
                m.dark(x, y) == m.dark(x + 1, y + 1))
                score += 3;
        }
    const double percent = 100.0 * dark / (n * n);
    score += 10 * static_cast<int>(std::abs(percent - 50.0) / 5.0);
    return score;
}

TEST(QrMask, PenaltyAndChoiceAgreeWithThePlainRules) {
    std::mt19937 rng(5);
    for (int v : {1, 2, 5, 7, 13, 16, 26}) {
        for (int round = 0; round < 3; ++round) {
            qr::Matrix m(v);
            std::vector<uint8_t> codewords(static_cast<size_t>(qr::blockLayout(v).totalCodewords));
            // Random data, and data with long light and dark stretches.
            for (uint8_t& c : codewords) c = round == 0 ? static_cast<uint8_t>(rng()) : rng() % 3 ? 0x00 : 0xFF;
            m.placeCodewords(codewords.data(), static_cast<int>(codewords.size()));
            const int chosen = qr::chooseMask(m);
            int best = 0, bestScore = 0;
            for (int mask = 0; mask < qr::kMaskCount; ++mask) {
                m.applyMask(mask);
                m.drawFormat(mask);
                const int expected = referencePenalty(m);
                EXPECT_EQ(qr::penalty(m), expected) << "version " << v << " mask " << mask;
                if (mask == 0 || expected < bestScore) {
                    best = mask;
                    bestScore = expected;
                }
                m.applyMask(mask);
            }
            EXPECT_EQ(chosen, best) << "version " << v;
        }
    }
}

TEST(QrMask, PatternsRepeatEveryTwelveModules) {
    for (int mask = 0; mask < qr::kMaskCount; ++mask)
        for (int y = 0; y < qr::kMaxSide; ++y)
            for (int x = 0; x < qr::kMaxSide; ++x) {
                ASSERT_EQ(qr::maskRow(mask, y)[x], qr::maskInverts(mask, x, y));
                ASSERT_EQ(qr::maskInverts(mask, x, y), qr::maskInverts(mask, x % 12, y % 12));
            }
}

}  // namespace
}  // namespace vesk::test
