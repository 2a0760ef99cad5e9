// The command dispatcher of the remote protocol: both variants' command
// tables, run against the controller state, the settings files and the
// schedule. The network connections and the expansion module's relay share
// it; the options hold where the relay differs.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "net/message.h"
#include "net/status_record.h"

namespace vesk {

struct ControllerState;
struct ScheduleStore;
class Clock;
class RefreshSink;
class LoginGuard;
class SaveRequests;

struct DispatchOptions {
    // Refuse data of another length than the command's (network only).
    bool checkExactLength = true;
    // Refuse data shorter than the command reads. With both checks off the
    // missing bytes read as 0.
    bool checkMinimumLength = true;
    // Run nothing for a caller that has not logged in (result 3).
    bool requireAuth = true;
    // GetProtocolVersion (128); unknown to the relay.
    bool knowsCode128 = true;
    // Accept a thermostat write whose programs are all present, whatever
    // the hours and targets in them.
    bool thermostatStructureOnly = false;
    // Only the low byte of the code selects the command.
    bool lowByteSelects = false;
};

// The expansion module's relay (message code 103).
inline DispatchOptions relayOptions() {
    DispatchOptions o;
    o.checkExactLength = false;
    o.requireAuth = false;
    o.knowsCode128 = false;
    o.thermostatStructureOnly = true;
    o.lowByteSelects = true;
    return o;
}

// What the commands act on.
struct DispatcherServices {
    ControllerState& state;
    ScheduleStore& schedule;
    Clock& clock;
    // Folder of user.cfg and tmstat.cfg ("" for bare names).
    std::string settingsDir;
    // The burner's one start/stop entry (commandBurner).
    std::function<int(int code)> commandBurner;
    // ORVENA fuel accounting; unset reads zeros and resets nothing.
    std::function<FuelReadout()> readFuel;
    std::function<void(int mask)> resetFuelCounters;
    // Told after every change the screen should show; may be null.
    RefreshSink* refresh = nullptr;
    // Damps password guessing across every login path; null lets every
    // attempt through at once.
    LoginGuard* loginGuard = nullptr;
    // Gathers the saves of user.cfg and tmstat.cfg against flash wear;
    // null writes each at once.
    SaveRequests* saves = nullptr;
};

struct CommandReply {
    uint16_t result = kDone;
    std::vector<uint8_t> data;  // reply data after code and result
};

class CommandDispatcher {
public:
    explicit CommandDispatcher(DispatcherServices services, DispatchOptions options = {});

    // Runs command `code` on `n` data bytes. `authenticated` is the
    // caller's login state; without `replyWanted` commands that only read
    // do nothing.
    CommandReply run(uint16_t code, const uint8_t* data, size_t n, bool authenticated, bool replyWanted = true);

    const DispatchOptions& options() const { return options_; }
    DispatcherServices& services() { return services_; }

private:
    DispatcherServices services_;
    DispatchOptions options_;
};

}  // namespace vesk
