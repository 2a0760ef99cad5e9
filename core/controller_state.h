// The one live record of the controller: readings from the power board,
// settings in force, control sub-states, commands to the board, countdowns,
// fault and warning words. Made once by the Controller and handed down.
#pragma once
#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>

#include "core/combustion_records.h"
#include "core/heating_records.h"
#include "core/protection_records.h"
#include "core/variant.h"
#include "platform/clock.h"
#include "settings/params.h"
#include "settings/schedule.h"

namespace vesk {

constexpr int kInvalidTemp = 0x4000;  // readings at or above this are faults
inline bool isValidTemp(int t) { return t < kInvalidTemp; }

enum BurnerState : int {
    kStop = 0,
    kManualIgnition = 1,
    kIgnition = 2,
    kBurning = 3,
    kBlowup = 4,
    kPause = 5,
    kFuelLoading = 6,
    kAugerReverseTest = 7,
};

enum SensorIndex : int {
    kSensorAir = 0,
    kSensorOutdoor = 1,
    kSensorWater = 2,
    kSensorReturn = 3,
    kSensorGas = 4,
    kSensorCh = 5,
    kSensorDhw = 6,
    kSensorValve1 = 7,
    kSensorValveAir = 8,
    kSensorValve2 = 9,  // auger tube when EMSTART_ENABLE is 1
    kSensorBoardRef = 10,
    kSensorAux = 11,
    kSensorCount = 12,
};

// boardInputs bits
enum : uint8_t {
    kInFuse = 0x01,
    kInEmergencyThermostat = 0x02,
    kInRoomThermostat = 0x04,
    kInBunkerEmpty = 0x08,       // KESTRALO: ash-removal auger jammed
    kInBunkerFull = 0x10,        // KESTRALO: bunker empty
    kInInverterOverheat = 0x20,
    kInAugerJam = 0x40,
    kInWrongPhasing = 0x80,      // KESTRALO only
};

// controlFlags bits
enum : uint32_t {
    kFlagDhwOnlyPause = 0x001,
    kFlagStateEntry = 0x002,
    kFlagIgniter = 0x004,
    kFlagDhwDemand = 0x020,
    kFlagBlowupFromBurning = 0x040,
    kFlagIgnitionFromBlowup = 0x080,
    kFlagBunkerRestart = 0x200,
    kFlagBunkerFillFailed = 0x400,
    kFlagAugerReverse = 0x800,
    kFlagAugerReverseEnd = 0x1000,
};

// faults bits that do not suspend combustion
constexpr uint32_t kFaultsNotSuspending = 0x080 | 0x100;

// outputFlags bits
enum : uint16_t {
    kOutValve1Open = 0x08,
    kOutValve1Close = 0x10,
    kOutValve2Open = 0x20,
    kOutValve2Close = 0x40,
    kOutBunkerFiller = 0x200,
    kOutAshRemover = 0x400,
};

// Countdowns, all decremented once a second by the countdown service.
enum Countdown : int {
    kTIgnition,
    kTStage,
    kTBlowup,
    kTBunkerSound,
    kTPumps,
    kTDhwPause,
    kTAux0,  // valve 1
    kTAux1,  // valve 2
    kTAux2,  // ash remover
    kTAux3,  // bunker filling
    kTAux4,  // never counted down
    kTAux5,  // emergency start
    kTAux6,  // spare
    kTAux7,  // keep-alive fan
    kTAux8,  // keep-alive exhaust fan
    kCountdownCount,
};

// Sub-states of the burner state machine.
struct BurnerRecord {
    int subState = 0;        // blow-up, maintenance and semi-automatic ignition share it
    int ignitionStep = 0;    // 0, 1, 2
    int ignitionTries = 0;   // attempts left
    int16_t ignitionStartGas = 0;
    int keepMode = 0;        // burning is in its maintenance sub-mode
    int overheatLatch = 0;   // water above 91 degrees
    int savedState = 0;      // state to return to after fuel loading
    int fadeLatch = 0;       // semi-automatic fade timer running
    int powerDisplay = 0;    // rounded burner power, %
};

// The expansion module's own network as it reports it; all zero while the
// panel's own adapter is up or before the first report.
struct ExpansionNetReport {
    int type = 0;             // low byte of the report type
    uint32_t address = 0;     // IPv4, first octet in the top byte
    int extra = 0;            // one further byte, passed on as it came
    int localConnections = 0;
    int internetUp = 0;
    bool operator==(const ExpansionNetReport&) const = default;
};

struct ControllerState {
    explicit ControllerState(Variant v) : variant(v) {}
    ControllerState(const ControllerState&) = delete;
    ControllerState& operator=(const ControllerState&) = delete;

    const Variant variant;

    // Auger pulse timer (guarded by pulseLock).
    int pulseActive = 0;
    int pulseTimerId = 0;
    int pulseOnMs = 0;
    int pulseOffMs = 0;
    int pulseCount = 0;
    int64_t pulseStartTick = 0;

    // Core control fields.
    int burnerState = kStop;
    // Written by the auger pulse timer under pulseLock, which never waits
    // for stateLock; every reader takes the one word as it stands.
    std::atomic<int> augerOn{0};
    int augerStopPulse = 0;
    float adcScale = 0.0f;
    int boardVersionCopy = 0;
    std::array<int, kSensorCount> sensors{};
    uint16_t boardVersion = 0;
    uint8_t boardInputs = 0;
    int linkOk = 0;
    uint32_t faults = 0;
    uint32_t warnings = 0;
    uint32_t controlFlags = 0;

    // Settings in force.
    Settings settings;
    ServiceParams& svc = settings.svc;
    UserParams& usr = settings.usr;

    // Derived control values; the control steps add their records here.
    int16_t waterQ = 0;  // boiler water, quarter degrees (raw counts on 0x2215)
    int16_t airQ = 0;    // room air, quarter degrees (raw counts on 0x2215)
    int emergencyMode = 0;  // auger-tube emergency start: 1 feed, 2 hold
    BurnerRecord burner;
    CombustionRecords combustion;
    ProtectionRecords protection;
    PumpRecord pumps;
    ValveRecord valves[2];
    // Thermostat schedule result of this cycle.
    int scheduleActive = 0;   // a period of today's program is in force
    Period activePeriod;

    // Outputs to the power board.
    int fanPower = 0;
    int exhaustFanPower = 0;
    int pumpCh = 0;
    int pumpDhw = 0;
    int pumpLoop = 0;
    uint16_t outputFlags = 0;

    // Countdowns in seconds (guarded by timerLock).
    std::array<int, kCountdownCount> countdowns{};

    // Local time, refreshed at the start of every control cycle.
    LocalTime localTime;

    // Burner state kept in the EEPROM.
    int lastPersistedState = 0;
    uint8_t persistInhibit = 0;

    // Burner state as the remote status report reads it (KESTRALO).
    int reportedBurnerState = 0;

    // Expansion module: whether its phone numbers may operate the boiler
    // (SMS control), and whether the module is answering on its line.
    int smsControlEnable = 0;
    int expansionConnected = 0;
    // The module's radio signal, 0..5 bars or 255 for no reading, and an
    // event it reported that the signal indicator has not flashed yet.
    int expansionSignal = 255;
    int expansionEvent = 0;
    // The module has asked for network data (messages 100..104), and what
    // it last reported of its own network.
    int expansionNetCapable = 0;
    ExpansionNetReport expansionReport;

    // Sensor substitution (service screen); negative = not substituted.
    int substOn = 0;
    int substGas = -1;
    int substWater = -1;
    int substDhw = -1;
    // Fault test screen: an auger-tube reading (board unit) that stands in
    // for the sensor whether or not substitution is on; negative = none.
    int substAuger = -1;

    // Locks. timerLock is never held while stateLock is requested.
    std::recursive_mutex stateLock;
    std::mutex settingsFileLock;
    std::mutex bunkerLock;
    std::mutex timerLock;
    std::mutex pulseLock;

    void lockState() { stateLock.lock(); }
    void unlockState() { stateLock.unlock(); }
    void lockBunker() { bunkerLock.lock(); }
    void unlockBunker() { bunkerLock.unlock(); }

    // Corrected reading through the firmware's unit: 0 above index 11; a
    // valid value is divided by 10 under 0x2215 except the flue gas.
    int readSensor(int index) const;

    void setCountdown(Countdown which, int seconds);
    int countdown(Countdown which);
};

// What the control side must know when user settings change outside the
// cycle (screens, remote commands, the module, an SD import); the caller
// holds stateLock and has put the new values in force. A new BUNK_AUTOFILL
// restarts the bunker logic, so that a fill starts with its whole time-out.
void userSettingsChanged(ControllerState& s, const UserParams& before);

}  // namespace vesk
