// Line splitting and the integer reader of the settings files.
#include "settings/line_parser.h"

#include <limits>

namespace vesk {
namespace {

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
constexpr int32_t kMin = std::numeric_limits<int32_t>::min();

// One integer the way strtol reads it on a 32-bit long: out-of-range
// values clamp to the limits. False when no digit was read.
bool readInteger(std::string_view text, size_t& pos, int32_t& value) {
    size_t p = pos;
    while (p < text.size() && isSpace(text[p])) ++p;
    bool negative = false;
    if (p < text.size() && (text[p] == '+' || text[p] == '-')) negative = text[p++] == '-';
    if (p >= text.size() || !isDigit(text[p])) return false;
    int64_t magnitude = 0;
    const int64_t cap = int64_t{kMax} + 1;
    for (; p < text.size() && isDigit(text[p]); ++p)
        if (magnitude < cap) magnitude = magnitude * 10 + (text[p] - '0');
    if (negative)
        value = magnitude >= cap ? kMin : static_cast<int32_t>(-magnitude);
    else
        value = magnitude > kMax ? kMax : static_cast<int32_t>(magnitude);
    pos = p;
    return true;
}

}  // namespace

int parseValues(std::string_view text, int32_t (&out)[kMaxLineValues]) {
    int count = 0;
    size_t pos = 0;
    while (count < kMaxLineValues) {
        int32_t v = 0;
        if (!readInteger(text, pos, v)) break;
        // A clamped value means overflow; so does an exact limit, as the
        // clamping reader cannot tell them apart.
        if (v == kMax || v == kMin) break;
        out[count++] = v;
        while (pos < text.size() && (text[pos] == ' ' || text[pos] == ',' || text[pos] == ';')) ++pos;
        if (pos >= text.size()) break;
    }
    return count;
}

bool parseSettingsLine(std::string_view line, SettingsLine& out) {
    const size_t eq = line.find('=');
    if (eq == std::string_view::npos) return false;
    out.key = line.substr(0, eq);
    out.count = parseValues(line.substr(eq + 1), out.values);
    return out.count > 0;
}

std::vector<std::string_view> splitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

}  // namespace vesk
