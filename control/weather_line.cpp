// Weather-compensation line in integer arithmetic.
#include "control/weather_line.h"

#include <algorithm>
#include <cstdlib>

namespace vesk {

int weatherLine(int x0, int y0, int x1, int y1, int t) {
    const int b = x1 - x0;
    // Both points at one outdoor temperature (the settings allow it): no
    // slope to divide by.
    if (b == 0) return t < x0 ? std::max(y0, y1) : std::min(y0, y1);
    const int c = (y1 - y0) * (t - x0);
    const int h = std::abs(b) / 2;
    return c >= 0 ? y0 + (c + h) / b : y0 - (h - c) / b;
}

}  // namespace vesk
