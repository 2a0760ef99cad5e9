// The KEY=VALUES line format shared by the settings files.
#pragma once
#include <cstdint>
#include <string_view>
#include <vector>

namespace vesk {

constexpr int kMaxLineValues = 6;

struct SettingsLine {
    std::string_view key;  // everything before the first '=', untrimmed
    int32_t values[kMaxLineValues] = {};
    int count = 0;
};

// Reads up to six decimal integers: optional white space and sign, digits;
// stops at the first text without a number or at a value that overflowed
// (clamped to the 32-bit limits); ' ', ',' and ';' separate values.
int parseValues(std::string_view text, int32_t (&out)[kMaxLineValues]);

// False for a line without '=' or without a readable first value.
bool parseSettingsLine(std::string_view line, SettingsLine& out);

// The file's lines without their '\n'; a last line without one counts.
std::vector<std::string_view> splitLines(std::string_view text);

}  // namespace vesk
