// A controller state with known settings, a temporary settings folder and
// the protocol's dispatcher and session over it, with recording stand-ins
// for the burner entry and the fuel counters.
#pragma once
#include <cstring>
#include <filesystem>
#include <initializer_list>
#include <memory>
#include <vector>

#include "core/controller_state.h"
#include "core/refresh_sink.h"
#include "net/dispatcher.h"
#include "net/protocol_session.h"
#include "platform/manual_clock.h"
#include "settings/param_table.h"
#include "settings/schedule.h"
#include "support/test_support.h"

namespace vesk::test {

using Bytes = std::vector<uint8_t>;

constexpr uint32_t kSerial = 123456;
constexpr uint32_t kPassword = 4321;

struct ProtocolRig {
    explicit ProtocolRig(Variant v = Variant::Orvena, DispatchOptions options = {})
        : s(v), clock(LocalTime{2026, 3, 2, 10, 12, 30, 15, 0}) {
        serviceDefaults(s.settings, v, true);
        userDefaults(s.settings, v, false, 1);
        s.svc.SERIAL = kSerial;
        s.usr.LAN_PWD = kPassword;
        s.svc.POWER_MIN = 20;
        s.svc.MAX_TSENS_CORR = 5;
        s.svc.WORM_CORR_MAX = 20;
        s.svc.FAN100 = 95;
        for (int i = 0; i < kFuelCount; ++i) s.svc.FAN_MIN[i] = 30 + 2 * i;
        s.usr.TWAT_UST_LIMIT_MIN = 60;
        s.usr.TWAT_UST_LIMIT_MAX = 85;
        dispatcher = std::make_unique<CommandDispatcher>(services(), options);
        session = std::make_unique<ProtocolSession>(services());
    }

    DispatcherServices services() {
        DispatcherServices d{s, schedule, clock, dir.path()};
        d.commandBurner = [this](int code) {
            burnerCodes.push_back(code);
            return 1;
        };
        d.readFuel = [this] { return fuel; };
        d.resetFuelCounters = [this](int mask) { fuelResets.push_back(mask); };
        d.refresh = &refresh;
        return d;
    }

    CommandReply run(uint16_t code, Bytes data, bool replyWanted = true) {
        return dispatcher->run(code, data.data(), data.size(), true, replyWanted);
    }
    uint16_t result(uint16_t code, Bytes data) { return run(code, std::move(data)).result; }

    std::string userFile() const { return dir.file("user.cfg"); }
    std::string scheduleFile() const { return dir.file("tmstat.cfg"); }
    // Forgets the saved files, so that the next save shows.
    void clearFiles() {
        std::filesystem::remove(userFile());
        std::filesystem::remove(scheduleFile());
    }
    bool userSaved() const { return std::filesystem::exists(userFile()); }
    bool scheduleSaved() const { return std::filesystem::exists(scheduleFile()); }

    TempDir dir;
    ControllerState s;
    ManualClock clock;
    ScheduleStore schedule;
    CountingRefreshSink refresh;
    std::vector<int> burnerCodes;
    FuelReadout fuel;
    std::vector<int> fuelResets;
    std::unique_ptr<CommandDispatcher> dispatcher;
    std::unique_ptr<ProtocolSession> session;
};

inline Bytes wire(uint16_t group, uint16_t kind, Bytes body) {
    Bytes m{static_cast<uint8_t>(group), static_cast<uint8_t>(group >> 8), static_cast<uint8_t>(kind),
            static_cast<uint8_t>(kind >> 8), static_cast<uint8_t>(body.size()),
            static_cast<uint8_t>(body.size() >> 8)};
    for (uint8_t b : body) m.push_back(b);
    return m;
}

inline bool sameUserSettings(const UserParams& a, const UserParams& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

inline Bytes le16(uint16_t v) { return {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8)}; }

inline Bytes concat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& p : parts)
        for (uint8_t b : p) out.push_back(b);
    return out;
}

}  // namespace vesk::test
