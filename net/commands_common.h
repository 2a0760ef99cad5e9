// What the command handlers share: their context, their signature, and the
// check-then-store-then-save pattern of the settings commands.
#pragma once
#include <cstring>
#include <mutex>
#include <string_view>
#include <type_traits>

#include "core/controller_state.h"
#include "core/refresh_sink.h"
#include "net/dispatcher.h"

namespace vesk {

struct CommandContext {
    DispatcherServices& services;
    const DispatchOptions& options;
    bool replyWanted;

    ControllerState& state() { return services.state; }
    Variant variant() const { return services.state.variant; }
    void refresh() {
        if (services.refresh) services.refresh->postRefresh();
    }
};

// `d` holds at least the bytes the command's table entry names.
using CommandHandler = CommandReply (*)(CommandContext& c, const uint8_t* d, size_t n);

inline CommandReply done() { return {}; }
inline CommandReply refused() { return {kRefused, {}}; }
inline CommandReply replyWith(std::vector<uint8_t> data) { return {kDone, std::move(data)}; }

inline int32_t s8(uint8_t b) { return static_cast<int8_t>(b); }

// The acceptance test of a user key for the variant, with the limits in
// force.
bool keyAccepts(const ControllerState& s, std::string_view key, int32_t value);

// Saves user.cfg (the caller holds stateLock) or tmstat.cfg from the values
// in force: gathered when the services carry a saver, else written now.
void saveUserFile(DispatcherServices& services);
void saveScheduleFile(DispatcherServices& services);

enum class SaveWhen { Always, IfChanged };

static_assert(std::has_unique_object_representations_v<UserParams>, "user settings are compared bytewise");
inline bool sameUser(const UserParams& a, const UserParams& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// Under stateLock: `edit(state, next)` checks the request against the
// settings in force and writes the new values into `next`, a copy of the
// user settings; false refuses and nothing changes. Accepted values are
// stored together and user.cfg is saved once (with IfChanged, only when a
// value differs).
template <typename Edit>
CommandReply editUserSettings(CommandContext& c, SaveWhen when, Edit edit) {
    ControllerState& s = c.state();
    std::lock_guard<std::recursive_mutex> g(s.stateLock);
    UserParams next = s.usr;
    if (!edit(static_cast<const ControllerState&>(s), next)) return refused();
    if (when == SaveWhen::IfChanged && sameUser(next, s.usr)) return done();
    const UserParams before = s.usr;
    s.usr = next;
    userSettingsChanged(s, before);
    saveUserFile(c.services);
    c.refresh();
    return done();
}

// Handlers, by their ORVENA names.
CommandReply getDeviceInfo(CommandContext& c, const uint8_t* d, size_t n);
CommandReply getStatus(CommandContext& c, const uint8_t* d, size_t n);
CommandReply setPowerLimits(CommandContext& c, const uint8_t* d, size_t n);
CommandReply setWaterSetpoint(CommandContext& c, const uint8_t* d, size_t n);
CommandReply setAirSetpoint(CommandContext& c, const uint8_t* d, size_t n);
CommandReply setFanLimits(CommandContext& c, const uint8_t* d, size_t n);
CommandReply setAugerCorrection(CommandContext& c, const uint8_t* d, size_t n);
CommandReply setConsumptionCorrection(CommandContext& c, const uint8_t* d, size_t n);
CommandReply resetFuelCounters(CommandContext& c, const uint8_t* d, size_t n);
CommandReply setSmsOptions(CommandContext& c, const uint8_t* d, size_t n);
CommandReply setClock(CommandContext& c, const uint8_t* d, size_t n);
CommandReply setWeatherCurve(CommandContext& c, const uint8_t* d, size_t n);
CommandReply setValveCircuit(CommandContext& c, const uint8_t* d, size_t n);
CommandReply setFuelAndHeatMode(CommandContext& c, const uint8_t* d, size_t n);
CommandReply setKeepAndChimney(CommandContext& c, const uint8_t* d, size_t n);
CommandReply setPumps(CommandContext& c, const uint8_t* d, size_t n);
CommandReply setRecirculation(CommandContext& c, const uint8_t* d, size_t n);
CommandReply setExhaustFan(CommandContext& c, const uint8_t* d, size_t n);
CommandReply setAshCleaning(CommandContext& c, const uint8_t* d, size_t n);
CommandReply setBunker(CommandContext& c, const uint8_t* d, size_t n);
CommandReply setSensorCorrections(CommandContext& c, const uint8_t* d, size_t n);
CommandReply getThermostatPrograms(CommandContext& c, const uint8_t* d, size_t n);
CommandReply setThermostatPrograms(CommandContext& c, const uint8_t* d, size_t n);
CommandReply startStop(CommandContext& c, const uint8_t* d, size_t n);
CommandReply getProtocolVersion(CommandContext& c, const uint8_t* d, size_t n);

}  // namespace vesk
