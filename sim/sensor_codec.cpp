// Temperature units of the power-board firmwares.
#include "sim/sensor_codec.h"

#include <algorithm>
#include <cmath>

namespace vesk {

namespace {

int16_t clampReading(double v) {
    return static_cast<int16_t>(std::clamp(std::lround(v), -16384L, 0x3FFFL));
}

}  // namespace

int16_t wholeDegrees(double celsius) { return clampReading(celsius); }

int16_t quarterDegrees(double celsius) { return clampReading(celsius * 4); }

uint16_t kelvinCounts(double celsius, uint16_t scaleWord) {
    double kPerCount = scaleWord * static_cast<double>(kAdcScaleUnit);
    long c = std::lround((celsius + 273.15) / kPerCount);
    return static_cast<uint16_t>(std::clamp(c, 1L, static_cast<long>(kAdcCountMax - 1)));
}

int panelTenthsFromCounts(int counts, uint16_t scaleWord) {
    if (counts <= 0 || counts >= kAdcCountMax) return 0x4000;
    float scale = static_cast<float>(scaleWord) * kAdcScaleUnit;
    return static_cast<int>((static_cast<float>(counts) * scale - 273.15f) * 10.0f);
}

float thermocoupleCelsius(int counts) {
    float v = static_cast<float>(counts) * kThermocoupleMvPerCount;
    if (v < 0) return 25.07386f * v - 0.0266435f - 0.7368674f * v * v;
    if (v < 20.644f) return 24.963146f * v - 10.552915f - 0.0337890f * v * v;
    return 19.433937f * v + 66.969429f + 0.0776045f * v * v;
}

int16_t thermocoupleCounts(int wholeDelta) {
    // Aim at the middle of the degree so that truncation toward zero lands on it.
    const float goal = static_cast<float>(wholeDelta) + (wholeDelta >= 0 ? 0.5f : -0.5f);
    const int lo = static_cast<int>(std::ceil(kThermocoupleMinMv / kThermocoupleMvPerCount));
    const int hi = static_cast<int>(std::floor(kThermocoupleMaxMv / kThermocoupleMvPerCount));
    const int zero = 0;
    const int knee = static_cast<int>(std::ceil(20.644f / kThermocoupleMvPerCount));
    // Each piece of the curve rises; search them one by one.
    const int pieces[3][2] = {{lo, zero - 1}, {zero, knee - 1}, {knee, hi}};
    int best = 0;
    float bestErr = 1e30f;
    for (const auto& p : pieces) {
        int a = p[0], b = p[1];
        while (a < b) {
            int m = a + (b - a) / 2;
            if (thermocoupleCelsius(m) < goal) a = m + 1;
            else b = m;
        }
        for (int c : {a - 1, a}) {
            if (c < p[0] || c > p[1]) continue;
            float err = std::fabs(thermocoupleCelsius(c) - goal);
            if (err < bestErr) {
                bestErr = err;
                best = c;
            }
        }
    }
    return static_cast<int16_t>(best);
}

}  // namespace vesk
