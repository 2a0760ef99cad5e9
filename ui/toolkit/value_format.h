// The value kinds of value fields and the texts of sensor readouts.
#pragma once
#include <cstdint>
#include <string>

namespace vesk {

enum ValueKind : int {
    kValueCelsius = 0,        // "21°C"
    kValueSeconds = 1,        // "30с"
    kValueMinutes = 2,        // "15м"
    kValuePercent = 3,        // "40%"
    kValueSignedPercent = 4,  // "+5%", "0%"
    kValueSignedCelsius = 5,  // "-3°C", "0°C"
    kValueTenths = 6,         // "21.5"
    kValueWeekday = 7,        // "ПН" .. "ВС"
    kValuePlain = 8,          // "7"
};

std::string formatValue(int kind, int value);

// A firmware that reports temperatures in tenths of a degree.
constexpr uint16_t kTenthsFirmware = 0x2215;

// SensorReadout text: mode 0 the number ("-" when nothing is bound), mode
// 1 "°C" with "--°C" for a failed reading, other modes nothing.
std::string sensorText(int mode, const int* value, uint16_t firmware);

}  // namespace vesk
