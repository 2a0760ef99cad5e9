// Encoder known answers: format and version information, Reed-Solomon
// check codewords, symbol layout against the codeword totals, version
// choice at every capacity boundary, and optimal segmentation.
#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>

#include "net/qr/qr_encoder.h"
#include "net/qr/qr_matrix.h"
#include "net/qr/qr_reed_solomon.h"
#include "net/qr/qr_segments.h"
#include "net/qr/qr_tables.h"
#include "net/qr/qr_reader.h"

namespace vesk::test {
namespace {

using qr::Mode;

// Data codewords at level Q by version (ISO/IEC 18004 table 7).
constexpr int kDataCodewordsQ[27] = {0,   13,  22,  34,  48,  62,  76,  88,  110, 132, 154, 180, 206, 244,
                                     261, 295, 325, 367, 397, 445, 485, 512, 568, 614, 664, 718, 754};
// Total codewords and remainder bits by version.
constexpr int kTotalCodewords[27] = {0,   26,  44,  70,  100, 134, 172, 196, 242,  292,  346,  404,  466, 532,
                                     581, 655, 733, 815, 901, 991, 1085, 1156, 1258, 1364, 1474, 1588, 1706};
constexpr int kRemainderBits[27] = {0, 0, 7, 7, 7, 7, 7, 0, 0, 0, 0, 0, 0, 0, 3, 3, 3, 3, 3, 3, 3, 4, 4, 4, 4, 4, 4};

int versionOf(const std::string& text) {
    QrSymbol s;
    QrStatus status = encodeQr(text, s);
    return status == QrStatus::Ok ? s.version() : -static_cast<int>(status);
}

// Longest text of `unit` characters that a version holds, from the
// data capacity: header, then whole characters.
int longestFitting(int version, Mode mode) {
    int bits = kDataCodewordsQ[version] * 8 - 4 - qr::countBits(mode, version);
    int n = 0;
    auto cost = [mode](int k) {
        return mode == Mode::Numeric ? (10 * k + 2) / 3 : mode == Mode::Alphanumeric ? (11 * k + 1) / 2 : 8 * k;
    };
    while (cost(n + 1) <= bits) ++n;
    return n;
}

TEST(QrInformation, FormatBitsOfLevelQForEveryMask) {
    constexpr uint32_t kExpected[8] = {0x355F, 0x3068, 0x3F31, 0x3A06, 0x24B4, 0x2183, 0x2EDA, 0x2BED};
    for (int mask = 0; mask < 8; ++mask) EXPECT_EQ(qr::formatBits(mask), kExpected[mask]) << "mask " << mask;
}

TEST(QrInformation, VersionBits) {
    EXPECT_EQ(qr::versionBits(7), 0x07C94u);
    EXPECT_EQ(qr::versionBits(8), 0x085BCu);
    EXPECT_EQ(qr::versionBits(9), 0x09A99u);
    EXPECT_EQ(qr::versionBits(10), 0x0A4D3u);
}

TEST(QrReedSolomon, CheckCodewordsOfTheStandardsExample) {
    // "01234567" at version 1, level M: 16 data and 10 check codewords.
    const uint8_t data[16] = {0x10, 0x20, 0x0C, 0x56, 0x61, 0x80, 0xEC, 0x11,
                              0xEC, 0x11, 0xEC, 0x11, 0xEC, 0x11, 0xEC, 0x11};
    const uint8_t expected[10] = {0xA5, 0x24, 0xD4, 0xC1, 0xED, 0x36, 0xC7, 0x87, 0x2C, 0x55};
    uint8_t ecc[10];
    qr::ReedSolomon(10).remainder(data, 16, ecc);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(ecc[i], expected[i]) << i;
}

TEST(QrSegments, BitStreamOfTheStandardsNumericExample) {
    qr::BitBuffer b;
    std::string text = "01234567";
    qr::writeSegments(text, qr::planSegments(text, 1), 1, b);
    ASSERT_EQ(b.size(), 41);
    const uint8_t expected[6] = {0x10, 0x20, 0x0C, 0x56, 0x61, 0x80};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(b.bytes()[i], expected[i]) << i;
}

TEST(QrSegments, RunsGetTheirModes) {
    auto modes = [](const std::string& t, int v) {
        std::string s;
        for (const qr::Segment& seg : qr::planSegments(t, v))
            s += std::string(seg.mode == Mode::Numeric ? "N" : seg.mode == Mode::Alphanumeric ? "A" : "B") +
                 std::to_string(seg.length);
        return s;
    };
    EXPECT_EQ(modes("HELLO WORLD", 1), "A11");
    EXPECT_EQ(modes("a1b", 1), "B3");
    EXPECT_EQ(modes("abc12345678901234", 1), "B3N14");
    // Six digits save too little to pay for a second header.
    EXPECT_EQ(modes("ID:006-001234\n", 1), "A13B1");
    EXPECT_EQ(modes("ID:006-0012345678\n", 1), "A7N10B1");
    // A short digit run inside letters costs more as its own segment.
    EXPECT_EQ(modes("ABCDEF12GHIJKL", 1), "A14");
}

// Fewest bits over every assignment of a mode to each character; runs of
// one mode form one segment.
size_t bruteForceBits(const std::string& t, int version) {
    const size_t n = t.size();
    size_t best = SIZE_MAX;
    size_t combos = 1;
    for (size_t i = 0; i < n; ++i) combos *= 3;
    for (size_t code = 0; code < combos; ++code) {
        std::vector<qr::Segment> segs;
        size_t c = code;
        bool ok = true;
        for (size_t i = 0; i < n && ok; ++i, c /= 3) {
            Mode m = static_cast<Mode>(c % 3);
            char ch = t[i];
            ok = m == Mode::Byte || (m == Mode::Alphanumeric && qr::alphanumericValue(ch) >= 0) ||
                 (m == Mode::Numeric && ch >= '0' && ch <= '9');
            if (!segs.empty() && segs.back().mode == m)
                ++segs.back().length;
            else
                segs.push_back({m, i, 1});
        }
        if (ok) best = std::min(best, qr::segmentBits(segs, version));
    }
    return best;
}

TEST(QrSegments, PlanIsAsShortAsAnyOtherSegmentation) {
    std::mt19937 rng(2024);
    const std::string alphabet = "0123456789AZ $a\n";
    for (int round = 0; round < 300; ++round) {
        std::string t(1 + rng() % 8, ' ');
        for (char& c : t) c = alphabet[rng() % alphabet.size()];
        for (int version : {1, 10}) {
            auto plan = qr::planSegments(t, version);
            size_t covered = 0;
            for (const auto& s : plan) {
                EXPECT_EQ(s.start, covered);
                covered += s.length;
            }
            EXPECT_EQ(covered, t.size());
            EXPECT_EQ(qr::segmentBits(plan, version), bruteForceBits(t, version)) << '"' << t << '"';
        }
    }
}

TEST(QrLayout, DataAreaHoldsExactlyTheCodewordsAndRemainderBits) {
    for (int v = 1; v <= qr::kMaxVersion; ++v) {
        qr::Matrix m(v);
        EXPECT_EQ(m.side(), 17 + 4 * v);
        EXPECT_EQ(m.dataModuleCount(), kTotalCodewords[v] * 8 + kRemainderBits[v]) << "version " << v;
        EXPECT_EQ(qr::blockLayout(v).totalCodewords, kTotalCodewords[v]);
        EXPECT_EQ(qr::blockLayout(v).dataCodewords(), kDataCodewordsQ[v]) << "version " << v;
    }
}

TEST(QrLayout, AlignmentPatternCentres) {
    auto row = [](int v) {
        int p[qr::kMaxAlignments];
        int n = qr::alignmentPositions(v, p);
        return std::vector<int>(p, p + n);
    };
    EXPECT_EQ(row(1), (std::vector<int>{}));
    EXPECT_EQ(row(2), (std::vector<int>{6, 18}));
    EXPECT_EQ(row(7), (std::vector<int>{6, 22, 38}));
    EXPECT_EQ(row(14), (std::vector<int>{6, 26, 46, 66}));
    EXPECT_EQ(row(15), (std::vector<int>{6, 26, 48, 70}));
    EXPECT_EQ(row(22), (std::vector<int>{6, 26, 50, 74, 98}));
    EXPECT_EQ(row(26), (std::vector<int>{6, 30, 58, 86, 114}));
}

TEST(QrVersion, ByteTextsAtEveryCapacityBoundary) {
    for (int v = 1; v <= qr::kMaxVersion; ++v) {
        int n = longestFitting(v, Mode::Byte);
        EXPECT_EQ(versionOf(std::string(n, 'x')), v) << n << " bytes";
        if (v < qr::kMaxVersion) {
            EXPECT_EQ(versionOf(std::string(n + 1, 'x')), v + 1) << n + 1 << " bytes";
        }
    }
    EXPECT_EQ(longestFitting(1, Mode::Byte), 11);
    EXPECT_EQ(longestFitting(26, Mode::Byte), 751);
}

TEST(QrVersion, NumericAndAlphanumericBoundariesAcrossTheCountWidthChange) {
    for (int v : {1, 5, 9, 10, 20, 26}) {
        int digits = longestFitting(v, Mode::Numeric);
        EXPECT_EQ(versionOf(std::string(digits, '7')), v) << digits << " digits";
        int chars = longestFitting(v, Mode::Alphanumeric);
        EXPECT_EQ(versionOf(std::string(chars, 'Q')), v) << chars << " characters";
        if (v < qr::kMaxVersion) {
            EXPECT_EQ(versionOf(std::string(digits + 1, '7')), v + 1);
            EXPECT_EQ(versionOf(std::string(chars + 1, 'Q')), v + 1);
        }
    }
    EXPECT_EQ(longestFitting(1, Mode::Numeric), 27);
    EXPECT_EQ(longestFitting(1, Mode::Alphanumeric), 16);
}

TEST(QrVersion, TextsBeyondVersion26Fail) {
    EXPECT_EQ(versionOf(std::string(longestFitting(26, Mode::Byte) + 1, 'x')), -int(QrStatus::DataTooLong));
    EXPECT_EQ(versionOf(std::string(longestFitting(26, Mode::Numeric) + 1, '1')), -int(QrStatus::DataTooLong));
    EXPECT_EQ(versionOf(std::string(1 << 20, '1')), -int(QrStatus::DataTooLong));
    EXPECT_EQ(versionOf(""), 1);
}

TEST(QrEncode, CallerMistakesAndFailuresLeaveNoSymbol) {
    uint8_t buf[kQrMatrixBytes];
    int side = -1;
    EXPECT_EQ(encodeQr("A", nullptr, kQrMatrixBytes, &side), QrStatus::BadArgument);
    EXPECT_EQ(side, 0);
    EXPECT_EQ(encodeQr("A", buf, kQrMatrixBytes, nullptr), QrStatus::BadArgument);
    side = -1;
    EXPECT_EQ(encodeQr("A", buf, kQrMatrixBytes - 1, &side), QrStatus::BadArgument);
    EXPECT_EQ(side, 0);
    EXPECT_EQ(encodeQr(std::string_view(nullptr, 3), buf, kQrMatrixBytes, &side), QrStatus::BadArgument);

    std::fill(std::begin(buf), std::end(buf), 0xFF);
    side = -1;
    EXPECT_EQ(encodeQr(std::string(800, 'x'), buf, kQrMatrixBytes, &side), QrStatus::DataTooLong);
    EXPECT_EQ(side, 0);
    for (uint8_t b : buf) ASSERT_EQ(b, 0);
}

TEST(QrEncode, VersionInformationInBothCopies) {
    for (int v : {7, 12, 26}) {
        QrSymbol s;
        ASSERT_EQ(encodeQr(std::string(static_cast<size_t>(longestFitting(v, Mode::Byte)), 'x'), s), QrStatus::Ok);
        ASSERT_EQ(s.version(), v);
        const int n = s.side();
        uint32_t below = 0, right = 0;
        for (int i = 0; i < 18; ++i) {
            below |= static_cast<uint32_t>(s.isDark(i / 3, n - 11 + i % 3)) << i;
            right |= static_cast<uint32_t>(s.isDark(n - 11 + i % 3, i / 3)) << i;
        }
        EXPECT_EQ(below, qr::versionBits(v));
        EXPECT_EQ(right, below);
    }
}

TEST(QrEncode, BufferAndSymbolFormsAgree) {
    const std::string text = "Vesk Kestralo\nP:16 kW\nID:003-000042\nNETPASS:000000\n";
    uint8_t buf[kQrMatrixBytes + 8];
    std::fill(std::begin(buf), std::end(buf), 0xAA);
    int side = 0;
    ASSERT_EQ(encodeQr(text, buf, sizeof buf, &side), QrStatus::Ok);
    QrSymbol s;
    ASSERT_EQ(encodeQr(text, s), QrStatus::Ok);
    EXPECT_EQ(side, s.side());
    EXPECT_TRUE(std::equal(s.bits().begin(), s.bits().end(), buf));
    // Bytes past the matrix are the caller's.
    EXPECT_EQ(buf[kQrMatrixBytes], 0xAA);
    // Column 0 begins with the finder's dark edge and its separator, in the
    // least significant bits of the first byte.
    EXPECT_EQ(buf[0], 0x7F);
    EXPECT_FALSE(s.isDark(-1, 0));
    EXPECT_FALSE(s.isDark(0, s.side()));
}

TEST(QrEncode, EverySymbolReadsBackWithoutASingleError) {
    // Texts that cross the mode switches, block counts with and without
    // longer blocks, and every version range.
    std::vector<std::string> texts = {"", "0", "A", "a", "Vesk Orvena\nP:200 kW\nID:006-001234\nNETPASS:123456\n"};
    std::mt19937 rng(99);
    const std::string bytes = "abcz\n\x01\xff";
    const std::string runs[] = {"0123456789012", "ABC:XYZ-0.5", "$%*+"};
    for (int v = 1; v <= qr::kMaxVersion; ++v) {
        // Full in 8-bit mode; the runs pasted in save a little, so the
        // symbol stays at this version or the one below.
        std::string t(static_cast<size_t>(longestFitting(v, Mode::Byte)), ' ');
        for (char& c : t) c = bytes[rng() % bytes.size()];
        for (size_t at = rng() % 7; at + 13 < t.size(); at += 20 + rng() % 40) {
            const std::string& run = runs[rng() % 3];
            t.replace(at, run.size(), run);
        }
        texts.push_back(t);
    }
    std::set<int> masks, versions;
    for (const std::string& t : texts) {
        QrSymbol s;
        ASSERT_EQ(encodeQr(t, s), QrStatus::Ok);
        QrReading r = readQr(s);
        EXPECT_TRUE(r.ok) << "version " << s.version() << ": " << r.error;
        EXPECT_EQ(r.text, t) << "version " << s.version();
        masks.insert(r.mask);
        versions.insert(s.version());
    }
    EXPECT_EQ(versions.size(), size_t{qr::kMaxVersion});
    // The penalty score does pick different masks for different symbols.
    EXPECT_GT(masks.size(), 3u);
}

}  // namespace
}  // namespace vesk::test
