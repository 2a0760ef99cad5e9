// Optimal segmentation by dynamic programming over the text, one state per
// mode of the segment that is still open.
#include "net/qr/qr_segments.h"

#include <algorithm>
#include <cstdint>

namespace vesk::qr {

namespace {

constexpr int kModes = 3;
constexpr uint32_t kModeIndicator[kModes] = {0x1, 0x2, 0x4};

int index(Mode m) { return static_cast<int>(m); }

bool encodable(Mode m, char c) {
    switch (m) {
    case Mode::Numeric: return c >= '0' && c <= '9';
    case Mode::Alphanumeric: return alphanumericValue(c) >= 0;
    case Mode::Byte: return true;
    }
    return false;
}

size_t dataBits(Mode m, size_t n) {
    switch (m) {
    case Mode::Numeric: return n / 3 * 10 + (n % 3 == 0 ? 0 : n % 3 == 1 ? 4 : 7);
    case Mode::Alphanumeric: return n / 2 * 11 + n % 2 * 6;
    case Mode::Byte: return n * 8;
    }
    return 0;
}

uint32_t roundUpToBit(uint32_t sixths) { return (sixths + 5) / 6 * 6; }

}  // namespace

int countBits(Mode mode, int version) {
    static constexpr int kSmall[kModes] = {10, 9, 8};   // versions 1..9
    static constexpr int kMedium[kModes] = {12, 11, 16};  // versions 10..26
    return version <= 9 ? kSmall[index(mode)] : kMedium[index(mode)];
}

size_t maxCount(Mode mode, int version) { return (size_t{1} << countBits(mode, version)) - 1; }

int alphanumericValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'Z') return c - 'A' + 10;
    static constexpr std::string_view kSymbols = " $%*+-./:";
    size_t at = kSymbols.find(c);
    return at == std::string_view::npos ? -1 : 36 + static_cast<int>(at);
}

std::vector<Segment> planSegments(std::string_view text, int version) {
    std::vector<Segment> out;
    const size_t n = text.size();
    if (n == 0) return out;

    // Costs in sixths of a bit, so that a digit (10/3 bits) and an
    // alphanumeric character (11/2 bits) add up exactly; a segment's cost
    // is rounded up to whole bits when it closes, which gives its true
    // length. Rounding is monotone, so keeping the cheapest path into each
    // state loses nothing.
    constexpr uint32_t kInf = UINT32_MAX / 2;
    constexpr uint32_t kUnit[kModes] = {20, 33, 48};
    constexpr uint8_t kStart = 7;  // path began here; 4 + m: opened after closing m
    uint32_t header[kModes];
    for (int m = 0; m < kModes; ++m) header[m] = 6 * (4 + countBits(static_cast<Mode>(m), version));

    std::vector<uint32_t> cost((n + 1) * kModes, kInf);
    std::vector<uint8_t> via((n + 1) * kModes, kStart);
    for (size_t i = 0; i < n; ++i) {
        uint32_t closed = 0;
        uint8_t closedVia = kStart;
        if (i > 0) {
            closed = kInf;
            for (int m = 0; m < kModes; ++m) {
                uint32_t c = cost[i * kModes + m];
                if (c < kInf && roundUpToBit(c) < closed) {
                    closed = roundUpToBit(c);
                    closedVia = static_cast<uint8_t>(4 + m);
                }
            }
        }
        for (int m = 0; m < kModes; ++m) {
            if (!encodable(static_cast<Mode>(m), text[i])) continue;
            uint32_t best = cost[i * kModes + m];
            uint8_t from = static_cast<uint8_t>(m);
            if (closed + header[m] < best) {
                best = closed + header[m];
                from = closedVia;
            }
            cost[(i + 1) * kModes + m] = best + kUnit[m];
            via[(i + 1) * kModes + m] = from;
        }
    }

    int mode = 0;
    for (int m = 1; m < kModes; ++m)
        if (roundUpToBit(cost[n * kModes + m]) < roundUpToBit(cost[n * kModes + mode])) mode = m;
    size_t end = n;
    for (size_t i = n; i > 0; --i) {
        uint8_t from = via[i * kModes + mode];
        if (from == mode) continue;
        out.push_back({static_cast<Mode>(mode), i - 1, end - (i - 1)});
        end = i - 1;
        if (from == kStart) break;
        mode = from - 4;
    }
    std::reverse(out.begin(), out.end());
    return out;
}

size_t segmentBits(const std::vector<Segment>& segments, int version) {
    size_t bits = 0;
    for (const Segment& s : segments) {
        size_t header = 4 + static_cast<size_t>(countBits(s.mode, version));
        size_t limit = maxCount(s.mode, version);
        for (size_t done = 0; done < s.length; done += limit)
            bits += header + dataBits(s.mode, std::min(limit, s.length - done));
    }
    return bits;
}

void writeSegments(std::string_view text, const std::vector<Segment>& segments, int version,
                   BitBuffer& out) {
    for (const Segment& s : segments) {
        size_t limit = maxCount(s.mode, version);
        for (size_t done = 0; done < s.length; done += limit) {
            size_t n = std::min(limit, s.length - done);
            std::string_view part = text.substr(s.start + done, n);
            out.append(kModeIndicator[index(s.mode)], 4);
            out.append(static_cast<uint32_t>(n), countBits(s.mode, version));
            switch (s.mode) {
            case Mode::Numeric:
                for (size_t i = 0; i < n; i += 3) {
                    size_t k = std::min<size_t>(3, n - i);
                    uint32_t v = 0;
                    for (size_t j = 0; j < k; ++j) v = v * 10 + static_cast<uint32_t>(part[i + j] - '0');
                    out.append(v, k == 3 ? 10 : k == 2 ? 7 : 4);
                }
                break;
            case Mode::Alphanumeric:
                for (size_t i = 0; i < n; i += 2) {
                    if (i + 1 < n)
                        out.append(static_cast<uint32_t>(alphanumericValue(part[i]) * 45 +
                                                         alphanumericValue(part[i + 1])),
                                   11);
                    else
                        out.append(static_cast<uint32_t>(alphanumericValue(part[i])), 6);
                }
                break;
            case Mode::Byte:
                for (char c : part) out.append(static_cast<uint8_t>(c), 8);
                break;
            }
        }
    }
}

}  // namespace vesk::qr
