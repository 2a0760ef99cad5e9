// The one entry through which screens, remote clients and the expansion
// module start and stop the burner.
#pragma once

namespace vesk {

struct ControllerState;

enum BurnerCommand : int {
    kCmdModeChanged = 0,
    kCmdManualIgnition = 1,
    kCmdStartIgnition = 2,
    kCmdAuto = 3,
    kCmdStop = 4,
    kCmdRemoteStart = 5,
    kCmdRemoteStop = 6,
    kCmdFuelLoadBegin = 7,
    kCmdFuelLoadEnd = 8,
    kCmdReverseTest = 9,
};

// Takes stateLock. Returns 1 when the command was carried out (or, for
// remote start/stop, when the burner already was where it was asked to
// be), else 0. A change of state also flags a state entry.
int commandBurner(ControllerState& s, int code);

}  // namespace vesk
