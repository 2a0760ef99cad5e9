// The two variants' command tables and the run of one command.
#include "net/dispatcher.h"

#include <algorithm>
#include <array>

#include "net/commands_common.h"
#include "settings/settings_file.h"
#include "settings/user_table.h"

namespace vesk {
namespace {

enum class Length : uint8_t { Any, Exact, AtLeast };

struct CommandSpec {
    CommandHandler handler;
    Length rule;
    uint8_t length;
};

constexpr CommandSpec kDeviceInfo{getDeviceInfo, Length::Any, 0};
constexpr CommandSpec kStatus{getStatus, Length::Any, 0};
constexpr CommandSpec kPowerLimits{setPowerLimits, Length::Exact, 2};
constexpr CommandSpec kWaterSetpoint{setWaterSetpoint, Length::Exact, 2};
constexpr CommandSpec kAirSetpoint{setAirSetpoint, Length::Exact, 2};
constexpr CommandSpec kFanLimits{setFanLimits, Length::Exact, 3};
constexpr CommandSpec kAugerCorrection{setAugerCorrection, Length::Exact, 2};
constexpr CommandSpec kConsumptionCorrection{setConsumptionCorrection, Length::Exact, 2};
constexpr CommandSpec kResetFuel{resetFuelCounters, Length::Exact, 2};
constexpr CommandSpec kSmsOptions{setSmsOptions, Length::Exact, 3};
constexpr CommandSpec kClock{setClock, Length::Exact, 6};
constexpr CommandSpec kWeatherCurve{setWeatherCurve, Length::Exact, 5};
constexpr CommandSpec kValveCircuit{setValveCircuit, Length::Exact, 18};
constexpr CommandSpec kFuelAndHeatMode{setFuelAndHeatMode, Length::Exact, 3};
constexpr CommandSpec kKeepAndChimney{setKeepAndChimney, Length::Exact, 4};
constexpr CommandSpec kPumps{setPumps, Length::Exact, 4};
constexpr CommandSpec kRecirculation{setRecirculation, Length::Exact, 5};
constexpr CommandSpec kExhaustFan{setExhaustFan, Length::Exact, 2};
constexpr CommandSpec kAshCleaning{setAshCleaning, Length::Exact, 3};
constexpr CommandSpec kBunker{setBunker, Length::Exact, 4};
constexpr CommandSpec kSensorCorrections{setSensorCorrections, Length::Exact, 3};
constexpr CommandSpec kGetThermostat{getThermostatPrograms, Length::Any, 0};
constexpr CommandSpec kSetThermostat{setThermostatPrograms, Length::AtLeast, 2};
constexpr CommandSpec kStartStop{startStop, Length::Exact, 2};
constexpr CommandSpec kProtocolVersion{getProtocolVersion, Length::Any, 0};

constexpr std::array kOrvenaTable{
    kDeviceInfo,     kStatus,        kPowerLimits,   kWaterSetpoint,     kAirSetpoint,       kFanLimits,
    kAugerCorrection, kConsumptionCorrection, kResetFuel, kSmsOptions,   kClock,             kWeatherCurve,
    kValveCircuit,   kFuelAndHeatMode, kKeepAndChimney, kPumps,          kRecirculation,     kExhaustFan,
    kAshCleaning,    kBunker,        kSensorCorrections, kGetThermostat, kSetThermostat,     kStartStop,
};

constexpr std::array kKestraloTable{
    kDeviceInfo,   kStatus,          kPowerLimits,    kWaterSetpoint, kAirSetpoint,   kFanLimits,
    kAugerCorrection, kSmsOptions,   kClock,          kWeatherCurve,  kValveCircuit,  kFuelAndHeatMode,
    kKeepAndChimney, kPumps,         kRecirculation,  kExhaustFan,    kSensorCorrections, kGetThermostat,
    kSetThermostat, kStartStop,
};

constexpr uint16_t kProtocolVersionCode = 128;

const CommandSpec* findCommand(Variant v, uint16_t code, bool knowsCode128) {
    if (code == kProtocolVersionCode) return knowsCode128 ? &kProtocolVersion : nullptr;
    if (isKestralo(v)) return code < kKestraloTable.size() ? &kKestraloTable[code] : nullptr;
    return code < kOrvenaTable.size() ? &kOrvenaTable[code] : nullptr;
}

}  // namespace

bool keyAccepts(const ControllerState& s, std::string_view key, int32_t value) {
    const UserKey* k = findUserKey(s.variant, key);
    return k && k->ruleFor(s.variant).accepts(s.settings, value);
}

void saveUserFile(CommandContext& c) {
    ControllerState& s = c.state();
    // A failed save leaves the values in force; the result stays.
    saveUserSettings(c.services.settingsDir + "user.cfg", s.settings, s.variant, s.settingsFileLock);
}

CommandDispatcher::CommandDispatcher(DispatcherServices services, DispatchOptions options)
    : services_(std::move(services)), options_(options) {}

CommandReply CommandDispatcher::run(uint16_t code, const uint8_t* data, size_t n, bool authenticated,
                                    bool replyWanted) {
    if (options_.requireAuth && !authenticated) return {kNotAuthenticated, {}};
    if (options_.lowByteSelects) code &= 0xFF;
    const CommandSpec* spec = findCommand(services_.state.variant, code, options_.knowsCode128);
    if (!spec) return {kUnknownCommand, {}};
    if (!data) n = 0;

    if (spec->rule == Length::Exact && options_.checkExactLength && n != spec->length) return refused();
    if (spec->rule != Length::Any && options_.checkMinimumLength && n < spec->length) return refused();

    // Without the length checks a short request reads zeros, never past
    // the bytes it came with.
    std::array<uint8_t, kMaxBody> padded{};
    if (n < spec->length) {
        std::copy(data, data + n, padded.begin());
        data = padded.data();
        n = spec->length;
    }
    CommandContext c{services_, options_, replyWanted};
    return spec->handler(c, data, n);
}

}  // namespace vesk
