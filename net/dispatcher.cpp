// The two variants' command tables and the run of one command.
#include "net/dispatcher.h"

#include <algorithm>
#include <array>

#include "net/commands_common.h"
#include "settings/coalesced_saves.h"
#include "settings/schedule.h"
#include "settings/settings_file.h"
#include "settings/user_table.h"

namespace vesk {
namespace {

enum class Length : uint8_t { Any, Exact, AtLeast };

struct CommandEntry {
    CommandHandler handler;
    Length rule;
    uint8_t length;
};

constexpr CommandEntry kDeviceInfo{getDeviceInfo, Length::Any, 0};
constexpr CommandEntry kStatus{getStatus, Length::Any, 0};
constexpr CommandEntry kPowerLimits{setPowerLimits, Length::Exact, 2};
constexpr CommandEntry kWaterSetpoint{setWaterSetpoint, Length::Exact, 2};
constexpr CommandEntry kAirSetpoint{setAirSetpoint, Length::Exact, 2};
constexpr CommandEntry kFanLimits{setFanLimits, Length::Exact, 3};
constexpr CommandEntry kAugerCorrection{setAugerCorrection, Length::Exact, 2};
constexpr CommandEntry kConsumptionCorrection{setConsumptionCorrection, Length::Exact, 2};
constexpr CommandEntry kResetFuel{resetFuelCounters, Length::Exact, 2};
constexpr CommandEntry kSmsOptions{setSmsOptions, Length::Exact, 3};
constexpr CommandEntry kClock{setClock, Length::Exact, 6};
constexpr CommandEntry kWeatherCurve{setWeatherCurve, Length::Exact, 5};
constexpr CommandEntry kValveCircuit{setValveCircuit, Length::Exact, 18};
constexpr CommandEntry kFuelAndHeatMode{setFuelAndHeatMode, Length::Exact, 3};
constexpr CommandEntry kKeepAndChimney{setKeepAndChimney, Length::Exact, 4};
constexpr CommandEntry kPumps{setPumps, Length::Exact, 4};
constexpr CommandEntry kRecirculation{setRecirculation, Length::Exact, 5};
constexpr CommandEntry kExhaustFan{setExhaustFan, Length::Exact, 2};
constexpr CommandEntry kAshCleaning{setAshCleaning, Length::Exact, 3};
constexpr CommandEntry kBunker{setBunker, Length::Exact, 4};
constexpr CommandEntry kSensorCorrections{setSensorCorrections, Length::Exact, 3};
constexpr CommandEntry kGetThermostat{getThermostatPrograms, Length::Any, 0};
constexpr CommandEntry kSetThermostat{setThermostatPrograms, Length::AtLeast, 2};
constexpr CommandEntry kStartStop{startStop, Length::Exact, 2};
constexpr CommandEntry kProtocolVersion{getProtocolVersion, Length::Any, 0};

// Indexed by command code.
constexpr std::array kOrvenaTable{
    kDeviceInfo,   kStatus,          kPowerLimits,      kWaterSetpoint,    kAirSetpoint,   kFanLimits,     // 0..5
    kAugerCorrection, kConsumptionCorrection, kResetFuel, kSmsOptions,     kClock,         kWeatherCurve,  // 6..11
    kValveCircuit, kFuelAndHeatMode, kKeepAndChimney,   kPumps,            kRecirculation, kExhaustFan,    // 12..17
    kAshCleaning,  kBunker,          kSensorCorrections, kGetThermostat,   kSetThermostat, kStartStop,     // 18..23
};

// KESTRALO has no fuel counters, ash remover or bunker commands.
constexpr std::array kKestraloTable{
    kDeviceInfo,      kStatus,      kPowerLimits, kWaterSetpoint, kAirSetpoint,  kFanLimits,          // 0..5
    kAugerCorrection, kSmsOptions,  kClock,       kWeatherCurve,  kValveCircuit, kFuelAndHeatMode,    // 6..11
    kKeepAndChimney,  kPumps,       kRecirculation, kExhaustFan,  kSensorCorrections, kGetThermostat, // 12..17
    kSetThermostat,   kStartStop,                                                                     // 18..19
};

constexpr uint16_t kProtocolVersionCode = 128;

const CommandEntry* findCommand(Variant v, uint16_t code, bool knowsCode128) {
    if (code == kProtocolVersionCode) return knowsCode128 ? &kProtocolVersion : nullptr;
    if (isKestralo(v)) return code < kKestraloTable.size() ? &kKestraloTable[code] : nullptr;
    return code < kOrvenaTable.size() ? &kOrvenaTable[code] : nullptr;
}

}  // namespace

bool keyAccepts(const ControllerState& s, std::string_view key, int32_t value) {
    const UserKey* k = findUserKey(s.variant, key);
    return k && k->ruleFor(s.variant).accepts(s.settings, value);
}

void saveUserFile(DispatcherServices& services) {
    if (services.saves) {
        services.saves->requestSave(SavedFile::User);
        return;
    }
    ControllerState& s = services.state;
    // A failed save leaves the values in force; the result stays.
    saveUserSettings(services.settingsDir + "user.cfg", s.settings, s.variant, s.settingsFileLock);
}

void saveScheduleFile(DispatcherServices& services) {
    if (services.saves) {
        services.saves->requestSave(SavedFile::Schedule);
        return;
    }
    // saveSchedule takes the schedule lock itself; a failed write keeps the record.
    saveSchedule(services.settingsDir + "tmstat.cfg", services.schedule);
}

CommandDispatcher::CommandDispatcher(DispatcherServices services, DispatchOptions options)
    : services_(std::move(services)), options_(options) {}

CommandReply CommandDispatcher::run(uint16_t code, const uint8_t* data, size_t n, bool authenticated,
                                    bool replyWanted) {
    if (options_.requireAuth && !authenticated) return {kNotAuthenticated, {}};
    if (options_.lowByteSelects) code &= 0xFF;
    const CommandEntry* entry = findCommand(services_.state.variant, code, options_.knowsCode128);
    if (!entry) return {kUnknownCommand, {}};
    if (!data) n = 0;

    if (entry->rule == Length::Exact && options_.checkExactLength && n != entry->length) return refused();
    if (entry->rule != Length::Any && options_.checkMinimumLength && n < entry->length) return refused();

    // Without the length checks a short request reads zeros, never past
    // the bytes it came with.
    std::array<uint8_t, kMaxBody> padded{};
    if (n < entry->length) {
        std::copy(data, data + n, padded.begin());
        data = padded.data();
        n = entry->length;
    }
    CommandContext c{services_, options_, replyWanted};
    return entry->handler(c, data, n);
}

}  // namespace vesk
