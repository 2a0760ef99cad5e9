// Value texts.
#include "ui/toolkit/value_format.h"

#include <cstdlib>

namespace vesk {

namespace {

std::string signedText(int v) { return (v > 0 ? "+" : "") + std::to_string(v); }

}  // namespace

std::string formatValue(int kind, int value) {
    static constexpr const char* kDays[] = {"ПН", "ВТ", "СР", "ЧТ", "ПТ", "СБ", "ВС"};
    switch (kind) {
    case kValueCelsius:
        return std::to_string(value) + "°C";
    case kValueSeconds:
        return std::to_string(value) + "с";
    case kValueMinutes:
        return std::to_string(value) + "м";
    case kValuePercent:
        return std::to_string(value) + "%";
    case kValueSignedPercent:
        return signedText(value) + "%";
    case kValueSignedCelsius:
        return signedText(value) + "°C";
    case kValueTenths: {
        // One sign for the whole number: -15 is "-1.5", -5 is "-0.5".
        const long long a = std::llabs(static_cast<long long>(value));
        return (value < 0 ? "-" : "") + std::to_string(a / 10) + "." + std::to_string(a % 10);
    }
    case kValueWeekday:
        return kDays[value >= 0 && value < 7 ? value : 0];
    case kValuePlain:
        return std::to_string(value);
    default:
        return {};
    }
}

std::string sensorText(int mode, const int* value, uint16_t firmware) {
    auto scaled = [&](int v) { return firmware == kTenthsFirmware ? v / 10 : v; };
    if (mode == 0) return value ? std::to_string(scaled(*value)) : "-";
    if (mode == 1) {
        if (!value || *value >= 0x4000) return "--°C";
        return std::to_string(scaled(*value)) + "°C";
    }
    return {};
}

}  // namespace vesk
