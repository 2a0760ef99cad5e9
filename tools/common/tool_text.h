// Small helpers the stand-in tools share: numbers typed at a prompt, bytes
// shown as hex, and the time scale they run at like the panel.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

namespace vesk {

// A whole decimal (or 0x hex) number within lo..hi.
bool parseNumber(const std::string& w, long lo, long hi, long& out);
// Lower-case hex digits, no separators.
std::string hexText(const uint8_t* d, size_t n);
// VESK_TIME_SCALE, or 1 when unset or not a positive number.
double timeScaleFromEnv();

}  // namespace vesk
