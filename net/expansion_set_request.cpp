// The module's set request (code 5): start/stop, three set-points and the
// thermostat switch, each accepted on its own.
#include <mutex>

#include "control/burner_commands.h"
#include "core/controller_state.h"
#include "net/commands_common.h"
#include "net/expansion_messages.h"
#include "settings/schedule.h"
#include "settings/settings_file.h"

namespace vesk {

namespace {
constexpr int kAskStop = 100;
constexpr int kAskStart = 101;
constexpr int kThermostatOff = 0;
constexpr int kThermostatOn = 20;

bool within(int v, int lo, int hi) { return v >= lo && v <= hi; }
}  // namespace

uint8_t ExpansionMessages::applyStateItems(uint8_t flags, const uint8_t* items, size_t n, size_t& at) {
    DispatcherServices& ds = services_.dispatch;
    ControllerState& s = ds.state;
    std::lock_guard<std::recursive_mutex> g(s.stateLock);
    uint8_t accepted = 0;
    for (uint8_t bit : {kSetStartStop, kSetPower, kSetWater, kSetAir}) {
        if (!(flags & bit)) continue;
        // Items a short request left out are not taken.
        if (at >= n) break;
        const int v = items[at++];
        bool ok = false;
        switch (bit) {
        case kSetStartStop:
            if ((v == kAskStop || v == kAskStart) && ds.commandBurner)
                ok = ds.commandBurner(v == kAskStart ? kCmdRemoteStart : kCmdRemoteStop) == 1;
            break;
        case kSetPower:
            if ((ok = within(v, 50, 100))) s.usr.POW_UST = v;
            break;
        case kSetWater:
            if ((ok = within(v, s.usr.TWAT_UST_LIMIT_MIN, s.usr.TWAT_UST_LIMIT_MAX))) s.usr.TWAT_UST = v;
            break;
        case kSetAir:
            if ((ok = within(v, 5, 35))) s.usr.TAIR_UST = v;
            break;
        }
        if (ok) accepted |= bit;
    }
    // A failed save leaves the values in force, as everywhere else.
    if (accepted & (kSetPower | kSetWater | kSetAir)) saveUserFile(ds);
    return accepted;
}

bool ExpansionMessages::applyThermostat(int value) {
    if (value != kThermostatOff && value != kThermostatOn) return false;
    ScheduleStore& store = services_.dispatch.schedule;
    bool changed;
    {
        std::lock_guard<std::mutex> g(store.scheduleLock);
        const int enabled = value == kThermostatOn ? 1 : 0;
        changed = store.schedule.enabled != enabled;
        store.schedule.enabled = enabled;
    }
    if (changed) saveScheduleFile(services_.dispatch);
    return true;
}

ExpansionMessages::Reply ExpansionMessages::setRequest(const uint8_t* d, size_t n) {
    uint8_t accepted = 0;
    if (n >= 1) {
        const uint8_t flags = d[0];
        size_t at = 1;
        accepted = applyStateItems(flags, d, n, at);
        if ((flags & kSetThermostat) && at < n && applyThermostat(d[at])) accepted |= kSetThermostat;
    }
    if (accepted) signalActivity();
    return {accepted};
}

}  // namespace vesk
