#include "tools/common/tool_text.h"

#include <cmath>
#include <cstdlib>

namespace vesk {

bool parseNumber(const std::string& w, long lo, long hi, long& out) {
    char* end = nullptr;
    const long v = std::strtol(w.c_str(), &end, 0);
    if (w.empty() || *end != '\0' || v < lo || v > hi) return false;
    out = v;
    return true;
}

std::string hexText(const uint8_t* d, size_t n) {
    static const char digits[] = "0123456789abcdef";
    std::string s;
    for (size_t i = 0; i < n; ++i) {
        s += digits[d[i] >> 4];
        s += digits[d[i] & 15];
    }
    return s;
}

double timeScaleFromEnv() {
    const char* s = std::getenv("VESK_TIME_SCALE");
    if (!s) return 1;
    char* end = nullptr;
    const double v = std::strtod(s, &end);
    return (*end == '\0' && std::isfinite(v) && v > 0) ? v : 1;
}

}  // namespace vesk
