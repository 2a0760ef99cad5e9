// Fuel accounting (ORVENA): auger running time kept as rolling hourly and
// daily counters, an own and a total counter and a bunker-remaining estimate,
// all surviving power loss in the EEPROM; masses are derived only for display.
#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>

namespace vesk {

struct ControllerState;
class Clock;
class Eeprom;
class TimerService;

// Run time is counted in tenths of a second of auger running.
using RunTime = uint32_t;
constexpr int64_t kBunkerUnknown = -1;
// No sensor save yet since start: the first full reading is saved at once.
constexpr int64_t kNeverSaved = -1;

// kg for `t` tenths at `rate` (0.1 kg per hour of auger running) and a
// consumption correction in percent; rounded to the nearest kg.
uint32_t runTimeToKg(uint64_t t, int rate, int consCorr);
// Bunker capacity in run-time units; 0 when the rate is 0 (no estimate).
int64_t bunkerCapacity(int sizeKg, int rate, int consCorr);
// Remaining in percent of the capacity, rounded; -1 when unknown.
int bunkerPercent(int64_t remaining, int64_t capacity);

// Screen texts: "%uкг" below 10 t, tonnes with two, one or no decimals
// (truncated) above; a percentage, or "н.д." when it is not known.
std::string formatFuelMass(uint32_t kg);
std::string formatFuelPercent(int percent);

// What the consumption screen and the remote reads show.
struct FuelFigures {
    uint32_t day = 0;    // last 24 hours, kg
    uint32_t week = 0;   // last 7 days, kg
    uint32_t month = 0;  // last 30 days, kg
    uint32_t own = 0;    // user-resettable, kg
    uint32_t total = 0;  // kg
    int percent = -1;    // bunker remaining, -1 unknown
};

// Reset flags.
enum : unsigned {
    kFuelResetTime = 1,   // hourly and daily counters
    kFuelResetOwn = 2,
    kFuelResetTotal = 4,
};

// The counter record, guarded by the fuel lock.
struct FuelCounters {
    RunTime accumulator = 0;  // current hour; lost on power loss
    int hourIndex = 0;        // 0..23
    int dayIndex = 0;         // 0..29
    std::array<RunTime, 24> hourly{};
    std::array<RunTime, 30> daily{};
    RunTime slotSum = 0;  // all 24 hourly slots
    RunTime today = 0;
    RunTime weekSum = 0;   // the 7 daily slots before dayIndex
    RunTime monthSum = 0;  // all 30 daily slots
    RunTime own = 0;
    RunTime total = 0;
    int64_t remaining = kBunkerUnknown;
    int64_t lastSavedRemaining = kBunkerUnknown;
    int64_t capacity = 0;
    int ticks = 0;  // quarter hours into the current hour
    int64_t lastSensorSaveMs = kNeverSaved;  // panel ms of the last sensor save
};

class FuelAccounting {
public:
    static constexpr int64_t kQuarterHourMs = 900000;
    static constexpr int64_t kSensorSaveGapMs = 299999;

    FuelAccounting(ControllerState& s, Clock& clock, TimerService& timers);
    ~FuelAccounting();
    FuelAccounting(const FuelAccounting&) = delete;
    FuelAccounting& operator=(const FuelAccounting&) = delete;

    // Start-up, after the settings files: reads the counters from `eeprom`
    // (null: nothing to read or write) and starts the quarter-hour timer.
    void load(Eeprom* eeprom);

    // One ended auger ON phase (auger pulse timer thread).
    void addRunTime(int64_t onMs);
    // The quarter-hour timer's work; every fourth call closes an hour.
    void quarterHourStep();
    // Bunker full by the sensor (every cycle) or by the user's
    // confirmation: the remaining becomes the capacity.
    void bunkerCheck(bool confirmed);
    // The bunker screen's "ЗАПОЛНЕН": a changed size (10..9999 kg) goes to
    // BUNK_SIZE and `saveUserSettings` runs, then the confirmed check.
    void confirmFill(int sizeKg, const std::function<void()>& saveUserSettings);
    void reset(unsigned flags);

    FuelFigures figures() const;
    FuelCounters counters() const;

private:
    int rate() const;
    int consCorr() const;
    bool bunkerReadsFull() const;
    void loadLocked();
    void hourlyStepLocked();
    bool saveRemainingLocked();

    ControllerState& s_;
    Clock& clock_;
    TimerService& timers_;
    Eeprom* eeprom_ = nullptr;
    int timerId_ = 0;
    mutable std::mutex m_;  // the fuel lock
    FuelCounters c_;
};

}  // namespace vesk
