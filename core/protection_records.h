// Records of the fuel-path protections and the fault evaluation. Kept in
// ControllerState; owned by those steps.
#pragma once
#include <cstdint>

namespace vesk {

struct ProtectionRecords {
    // Auger-tube emergency start: 0 idle, 1 feeding, 2 pausing.
    uint8_t emergencyStep = 0;
    // Auger-tube temperature when the last pause began.
    int16_t emergencyLastTemp = 0;
    // Ash remover in its run phase.
    int ashOn = 0;
    // Bunker filling: 0 waiting, 1 filling, 2 fill failed.
    int bunkerStep = 0;
    // Filling started by hand on the bunker screen: the filler runs until
    // the screen stops it, is left, or the bunker reads full.
    int manualFill = 0;
    // Safety-thermostat reminder: start of the current half-hour window in
    // seconds since midnight, -1 before the first window.
    int reminderStart = -1;
    // KESTRALO: counts the cycles of the disabled-auger-sensor warning.
    int augerSensorCounter = 0;
};

}  // namespace vesk
