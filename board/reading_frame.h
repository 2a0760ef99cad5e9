// Decoding of the power board's reading frames into ControllerState: layout
// and unit by firmware, sensor corrections, quarter-degree copies, inputs,
// sensor substitution.
#pragma once
#include <cstddef>
#include <cstdint>

#include "core/controller_state.h"
#include "core/variant.h"

namespace vesk {

// Error code for a thermocouple out of its table or result range.
constexpr int kSensorAbsent = 0x4001;

// Quarter degrees to whole °C, halves away from zero.
int quarterToWhole(int raw);

// Firmware 0x2215: one ADC count to tenths of °C (0x4000 outside 1..4094).
int countsToTenths(int counts, float adcScale);

// Firmware 0x2215: type-K thermocouple counts to whole °C on top of the cold
// junction `refC` (whole °C); an invalid reference is passed through.
int thermocoupleCelsius(int counts, int refC);

// Applies one accepted payload (check byte removed). The caller holds
// `stateLock`. Stores the version from bytes 0-1; for a known firmware with
// a payload long enough for its layout stores readings, inputs, the
// quarter-degree copies, substitution and overrides, sets `linkOk`, and
// returns true. Otherwise nothing else changes and it returns false. A
// payload shorter than two bytes changes nothing at all.
bool applyReadingFrame(ControllerState& s, Variant variant, const uint8_t* payload, size_t n);

// Payload length a firmware's layout needs, or 0 for an unknown firmware.
size_t readingPayloadSize(uint16_t version);

}  // namespace vesk
