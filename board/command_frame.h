// The command frame the panel sends the power board: one of three payload
// layouts chosen by the firmware version the board last reported.
#pragma once
#include <cstdint>
#include <vector>

#include "core/controller_state.h"

namespace vesk {

// Firmware versions the board reports in bytes 0-1 of every frame.
enum BoardFirmware : uint16_t {
    kFirmware1000 = 0x1000,
    kFirmware1100 = 0x1100,
    kFirmware2200 = 0x2200,
    kFirmware2214 = 0x2214,
    kFirmware2215 = 0x2215,
};

// Auger command byte of the 22-byte layout.
enum : uint8_t {
    kAugerRun = 10,
    kAugerStop = 5,
    kAugerExplicitStop = 12,
};

// Payload length for the firmware: 22, 8 or 7 bytes.
size_t commandPayloadSize(uint16_t boardVersion);

// Builds the payload from the outputs and settings in force, for a caller
// that holds `stateLock` (one consistent picture). Consumes a pending
// `augerStopPulse`.
std::vector<uint8_t> buildCommandPayload(ControllerState& s);

}  // namespace vesk
