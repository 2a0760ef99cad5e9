#include "control/burner_commands.h"

#include <mutex>

#include "core/controller_state.h"
#include "settings/param_table.h"

namespace vesk {

namespace {
constexpr uint32_t kWarnWentOut = 0x001;

void markToday(ControllerState& s) { s.usr.ANTI_JAM_DAY = antiJamDayNumber(s.localTime); }

// Every stop starts the pumps' standstill count afresh.
int enter(ControllerState& s, int state, bool entryFlag = true) {
    if (state == kStop) markToday(s);
    s.burnerState = state;
    if (entryFlag) s.controlFlags |= kFlagStateEntry;
    return 1;
}
}  // namespace

int commandBurner(ControllerState& s, int code) {
    std::lock_guard<std::recursive_mutex> g(s.stateLock);
    const int st = s.burnerState;
    switch (code) {
    case kCmdModeChanged:
        s.warnings &= ~kWarnWentOut;
        if (s.usr.BURN_MODE == 0 || s.usr.BURN_MODE == 1) return enter(s, kStop);
        if (s.usr.BURN_MODE == 2) return enter(s, kBurning);
        return 0;
    case kCmdManualIgnition:
        s.warnings &= ~kWarnWentOut;
        return st == kManualIgnition ? 0 : enter(s, kManualIgnition);
    case kCmdStartIgnition:
        s.warnings &= ~kWarnWentOut;
        return st == kIgnition ? 0 : enter(s, kIgnition);
    case kCmdAuto:
        return st == kManualIgnition ? enter(s, kBlowup) : 0;
    case kCmdStop:
        return st == kStop ? 0 : enter(s, kStop);
    case kCmdRemoteStart:
        if (s.usr.BURN_MODE != 0) return 0;
        if (st == kStop) {
            s.warnings &= ~kWarnWentOut;
            // Without the automatic heater for this fuel the fire is taken as lit.
            bool autoIgnite = (s.usr.FUEL == 2 || s.usr.FUEL == 5) && s.usr.EN_AUTOHEATER == 1;
            return enter(s, autoIgnite ? kIgnition : kBurning);
        }
        return (st >= kIgnition && st <= kPause) ? 1 : 0;
    case kCmdRemoteStop:
        if (s.usr.BURN_MODE != 0) return 0;
        if (st >= kIgnition && st <= kPause) return enter(s, kStop);
        return st == kStop ? 1 : 0;
    case kCmdFuelLoadBegin:
        if (st == kStop || st == kFuelLoading) return 0;
        s.burner.savedState = st;
        return enter(s, kFuelLoading, false);
    case kCmdFuelLoadEnd:
        if (st != kFuelLoading) return 0;
        return enter(s, s.burner.savedState, false);
    case kCmdReverseTest:
        return st == kAugerReverseTest ? 0 : enter(s, kAugerReverseTest);
    default:
        return 0;
    }
}

}  // namespace vesk
