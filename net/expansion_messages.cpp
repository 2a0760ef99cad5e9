// Dispatch of the module's messages and the replies to its state queries.
#include "net/expansion_messages.h"

#include <algorithm>
#include <mutex>

#include "core/controller_state.h"
#include "core/refresh_sink.h"
#include "core/sound_player.h"
#include "net/expansion_tables.h"
#include "net/message.h"

namespace vesk {

namespace {
constexpr uint8_t kSmsEnabled = 100;
constexpr uint8_t kSmsDisabled = 101;
constexpr uint8_t kSignalTaken = 100;
constexpr uint8_t kBunkerUnknown = 255;

uint8_t byteOf(int v) { return static_cast<uint8_t>(v); }
}  // namespace

ExpansionMessages::ExpansionMessages(ExpansionServices services)
    : services_(std::move(services)), relay_(services_.dispatch, relayOptions()) {}

std::optional<std::vector<uint8_t>> ExpansionMessages::handle(const std::vector<uint8_t>& message) {
    if (message.empty()) return std::nullopt;
    const uint8_t* d = message.data() + 1;
    const size_t n = message.size() - 1;
    switch (message[0]) {
    case kModuleFaults: return faults();
    case kModuleTemperatures: return temperatures();
    case kModuleSetpoints: return setpoints();
    case kModuleSet: return setRequest(d, n);
    case kModuleSmsControl: return smsControl();
    case kModuleState: return boilerState();
    case kModuleSignal: return signal(d, n);
    case kModuleIdentity: return identity();
    case kModuleEvents: return events();
    case kModuleLogin: return login(d, n);
    case kModuleRelay: return relay(d, n);
    case kModuleNetReport: return netReport(d, n);
    default: return std::nullopt;
    }
}

void ExpansionMessages::refresh() {
    if (services_.dispatch.refresh) services_.dispatch.refresh->postRefresh();
}

void ExpansionMessages::signalActivity() {
    if (services_.sound) services_.sound->play(kModuleEventSound, kSoundAsync | kSoundNoStop);
    ControllerState& s = services_.dispatch.state;
    {
        std::lock_guard<std::recursive_mutex> g(s.stateLock);
        s.expansionEvent = 1;
    }
    refresh();
}

ExpansionMessages::Reply ExpansionMessages::faults() {
    ControllerState& s = services_.dispatch.state;
    std::lock_guard<std::recursive_mutex> g(s.stateLock);
    return {byteOf(moduleFaultCode(s.faults)), byteOf((s.warnings & 7) * 2)};
}

ExpansionMessages::Reply ExpansionMessages::temperatures() {
    Reply r(8);
    {
        ControllerState& s = services_.dispatch.state;
        std::lock_guard<std::recursive_mutex> g(s.stateLock);
        const int readings[4] = {s.readSensor(kSensorWater), s.readSensor(kSensorAir), s.readSensor(kSensorOutdoor),
                                 s.sensors[kSensorGas]};
        for (int i = 0; i < 4; ++i) putU16(r.data() + 2 * i, static_cast<uint16_t>(moduleTemperature(readings[i])));
    }
    signalActivity();
    return r;
}

ExpansionMessages::Reply ExpansionMessages::setpoints() {
    Reply r;
    {
        ControllerState& s = services_.dispatch.state;
        std::lock_guard<std::recursive_mutex> g(s.stateLock);
        r = {byteOf(s.usr.POW_UST), byteOf(s.usr.TWAT_UST), byteOf(s.usr.TAIR_UST)};
    }
    signalActivity();
    return r;
}

ExpansionMessages::Reply ExpansionMessages::smsControl() {
    bool enabled;
    {
        ControllerState& s = services_.dispatch.state;
        std::lock_guard<std::recursive_mutex> g(s.stateLock);
        enabled = s.smsControlEnable != 0;
    }
    if (enabled) signalActivity();
    return {enabled ? kSmsEnabled : kSmsDisabled};
}

ExpansionMessages::Reply ExpansionMessages::boilerState() {
    // The fuel counters have their own lock; read them before stateLock.
    int percent = -1;
    if (services_.dispatch.readFuel) percent = services_.dispatch.readFuel().remainingPercent;
    Reply r;
    {
        ControllerState& s = services_.dispatch.state;
        std::lock_guard<std::recursive_mutex> g(s.stateLock);
        r = {byteOf(moduleStateCode(s.faults, s.warnings, s.usr.BURN_MODE, s.burnerState)),
             percent < 0 ? kBunkerUnknown : byteOf(std::min(percent, 100))};
    }
    signalActivity();
    return r;
}

ExpansionMessages::Reply ExpansionMessages::signal(const uint8_t* d, size_t n) {
    // Without a value byte the level in force stays.
    if (n >= 1) {
        ControllerState& s = services_.dispatch.state;
        bool changed;
        {
            std::lock_guard<std::recursive_mutex> g(s.stateLock);
            const int level = signalLevel(d[0], s.expansionSignal);
            changed = level != s.expansionSignal;
            s.expansionSignal = level;
        }
        if (changed) refresh();
    }
    return {kSignalTaken};
}

}  // namespace vesk
