// The messages of the expansion module and the panel's replies: state
// queries for SMS, the set request, the signal level, the module's network
// report and the command protocol relayed for the module's clients.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "net/dispatcher.h"

namespace vesk {

class SoundPlayer;

// Message codes from the module.
enum ModuleCode : uint8_t {
    kModuleFaults = 1,
    kModuleTemperatures = 3,
    kModuleSetpoints = 4,
    kModuleSet = 5,
    kModuleSmsControl = 6,
    kModuleState = 7,
    kModuleSignal = 8,
    kModuleIdentity = 100,
    kModuleEvents = 101,
    kModuleLogin = 102,
    kModuleRelay = 103,
    kModuleNetReport = 104,
};

// Items of the set request, by flag bit.
enum ModuleSetItem : uint8_t {
    kSetStartStop = 0x01,
    kSetPower = 0x02,
    kSetWater = 0x04,
    kSetAir = 0x08,
    kSetThermostat = 0x10,
};

constexpr int kModuleEventSound = 240;

struct ExpansionServices {
    // State, schedule, clock, settings folder, burner entry, fuel counters
    // and refresh, shared with the relayed commands.
    DispatcherServices dispatch;
    // Plays the module's event sound; may be null.
    SoundPlayer* sound = nullptr;
    // The panel's own adapter is up (the network status query); unset
    // counts as not up.
    std::function<bool()> adapterUp;
};

class ExpansionMessages {
public:
    explicit ExpansionMessages(ExpansionServices services);

    // The reply message (without its check byte) to one message from the
    // module, or nothing for a message the panel does not handle.
    std::optional<std::vector<uint8_t>> handle(const std::vector<uint8_t>& message);

    // Counts the changes of the status value that code 101 has seen.
    uint8_t eventCounter() const { return eventCounter_; }

private:
    using Reply = std::vector<uint8_t>;
    Reply faults();
    Reply temperatures();
    Reply setpoints();
    Reply setRequest(const uint8_t* d, size_t n);
    Reply smsControl();
    Reply boilerState();
    Reply signal(const uint8_t* d, size_t n);
    Reply identity();
    Reply events();
    Reply login(const uint8_t* d, size_t n);
    Reply relay(const uint8_t* d, size_t n);
    Reply netReport(const uint8_t* d, size_t n);

    // Items 0..3 under stateLock, user.cfg saved when a set-point was taken.
    uint8_t applyStateItems(uint8_t flags, const uint8_t* items, size_t n, size_t& at);
    bool applyThermostat(int value);
    // Event sound and the signal indicator's flash.
    void signalActivity();
    void markNetCapable();
    void refresh();

    ExpansionServices services_;
    CommandDispatcher relay_;
    uint8_t eventCounter_ = 0;
    uint32_t lastStatus_ = 0;
};

}  // namespace vesk
