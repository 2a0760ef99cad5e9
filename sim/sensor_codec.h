// Units in which the power board reports temperatures, and their inverses:
// whole and quarter degrees, kelvin counts, type-K thermocouple counts.
#pragma once
#include <cstdint>

namespace vesk {

// Error codes of the older firmwares (anything from 0x4000 is an error).
constexpr uint16_t kSensorOpenCode = 0x4001;
constexpr uint16_t kSensorShortCode = 0x4002;

// Scale word of firmware 0x2215: word / 20480 kelvin per count. 2560 gives
// 0.125 K per count, so -40..+150 °C lie at counts 1865..3385 and the
// 12-bit range ends at 238 °C.
constexpr uint16_t kAdcScaleWord = 2560;
constexpr float kAdcScaleUnit = 4.8828126e-05f;
constexpr int kAdcCountMax = 4095;  // 0 and 4095 are the board's wire faults

constexpr float kThermocoupleMvPerCount = 0.0040531158f;
constexpr float kThermocoupleMinMv = -3.554f;
constexpr float kThermocoupleMaxMv = 54.886f;

int16_t wholeDegrees(double celsius);
int16_t quarterDegrees(double celsius);

// Count for a temperature at `scaleWord`, kept inside 1..4094.
uint16_t kelvinCounts(double celsius, uint16_t scaleWord);
// Tenths of °C that the panel makes of a count (truncated), or 0x4000.
int panelTenthsFromCounts(int counts, uint16_t scaleWord);

// Thermocouple temperature above the cold junction for `counts`, computed
// in single precision the way the panel does.
float thermocoupleCelsius(int counts);
// Counts whose truncated forward value is `wholeDelta` (°C above the cold
// junction); the forward curve has gaps at 0 mV and 20.644 mV, where the
// nearest reachable value is chosen.
int16_t thermocoupleCounts(int wholeDelta);

}  // namespace vesk
