// What the screens show, copied from the controller state in one go under
// stateLock, so that painting never reads fields other threads write.
#pragma once
#include <array>
#include <cstdint>

#include "core/controller_state.h"

namespace vesk {

struct StateSnapshot {
    Variant variant = Variant::Orvena;
    std::array<int, kSensorCount> sensors{};
    uint16_t boardVersion = 0;
    uint8_t boardInputs = 0;
    int linkOk = 0;
    int burnerState = kStop;
    uint32_t faults = 0;
    uint32_t warnings = 0;
    uint32_t controlFlags = 0;
    int fanPower = 0;
    int augerOn = 0;
    int emergencyMode = 0;
    int keepMode = 0;      // burning in its maintenance sub-mode
    int burnerPower = 0;   // %, as the regulators last set it
    int pumpCh = 0;
    int pumpDhw = 0;
    int pumpLoop = 0;
    int expansionConnected = 0;
    int expansionSignal = 255;
    int expansionEvent = 0;
    Settings settings;

    StateSnapshot() { sensors.fill(kInvalidTemp); }
    const ServiceParams& svc() const { return settings.svc; }
    const UserParams& usr() const { return settings.usr; }
};

// Takes stateLock.
StateSnapshot takeSnapshot(ControllerState& s);

}  // namespace vesk
