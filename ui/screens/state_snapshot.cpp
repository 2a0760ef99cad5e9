// The one place the screens copy the controller state.
#include "ui/screens/state_snapshot.h"

#include <mutex>

namespace vesk {

StateSnapshot takeSnapshot(ControllerState& s) {
    StateSnapshot v;
    std::lock_guard<std::recursive_mutex> g(s.stateLock);
    v.variant = s.variant;
    v.sensors = s.sensors;
    v.boardVersion = s.boardVersion;
    v.boardInputs = s.boardInputs;
    v.linkOk = s.linkOk;
    v.burnerState = s.burnerState;
    v.faults = s.faults;
    v.warnings = s.warnings;
    v.controlFlags = s.controlFlags;
    v.fanPower = s.fanPower;
    v.augerOn = s.augerOn;
    v.emergencyMode = s.emergencyMode;
    v.keepMode = s.burner.keepMode;
    v.burnerPower = s.burner.powerDisplay;
    v.pumpCh = s.pumpCh;
    v.pumpDhw = s.pumpDhw;
    v.pumpLoop = s.pumpLoop;
    v.expansionConnected = s.expansionConnected;
    v.expansionSignal = s.expansionSignal;
    v.expansionEvent = s.expansionEvent;
    v.settings = s.settings;
    // A silent board's last readings are history, not what the boiler
    // reads now: the screens show them as missing until frames return.
    if (v.linkOk == 0) {
        v.sensors.fill(kInvalidTemp);
        v.boardInputs = 0;
    }
    return v;
}

}  // namespace vesk
