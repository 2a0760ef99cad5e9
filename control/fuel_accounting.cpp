// Fuel counters: auger run time in, rolling hours and days, bunker estimate,
// and their EEPROM copies. Hours and days follow panel running time, not the
// calendar.
#include "control/fuel_accounting.h"

#include <algorithm>
#include <limits>

#include "control/control_context.h"
#include "control/control_steps.h"
#include "control/fuel_accounting_store.h"
#include "core/controller_state.h"
#include "platform/clock.h"
#include "platform/timer_service.h"

namespace vesk {

namespace L = fuel_layout;

namespace {

constexpr uint32_t kErased = 0xFFFFFFFF;

// A failed read counts 0. An erased cell also counts 0: no counter can
// reach 13 years of auger running, and a fresh chip must not show that.
RunTime counterValue(std::optional<uint32_t> v) { return v && *v != kErased ? *v : 0; }

uint32_t encodeRemaining(int64_t remaining) {
    if (remaining < 0) return kErased;
    return static_cast<uint32_t>(std::min<int64_t>(remaining, kErased - 1));
}

int weekOut(int dayIndex) { return (dayIndex + 30 - 7) % 30; }

}  // namespace

uint32_t runTimeToKg(uint64_t t, int rate, int consCorr) {
    if (rate <= 0) return 0;
    const uint64_t kg = (t * static_cast<uint64_t>(rate) * static_cast<uint64_t>(100 + consCorr) + 18000000) / 36000000;
    return static_cast<uint32_t>(std::min<uint64_t>(kg, std::numeric_limits<uint32_t>::max()));
}

int64_t bunkerCapacity(int sizeKg, int rate, int consCorr) {
    if (rate <= 0 || sizeKg <= 0) return 0;
    return (static_cast<int64_t>(sizeKg) * (100 - consCorr) * 360000 + static_cast<int64_t>(rate) * 50) /
           (static_cast<int64_t>(rate) * 100);
}

int bunkerPercent(int64_t remaining, int64_t capacity) {
    if (remaining < 0 || capacity <= 0) return -1;
    return static_cast<int>((remaining * 100 + capacity / 2) / capacity);
}

FuelAccounting::FuelAccounting(ControllerState& s, Clock& clock, TimerService& timers)
    : s_(s), clock_(clock), timers_(timers) {}

FuelAccounting::~FuelAccounting() {
    if (timerId_ != 0) timers_.cancel(timerId_);
    // A quarter-hour step already under way finishes before the record goes.
    std::lock_guard<std::mutex> g(m_);
}

int FuelAccounting::rate() const {
    return s_.svc.feedRate[std::clamp(s_.usr.FUEL, 0, kFuelCount - 1)];
}

int FuelAccounting::consCorr() const {
    return s_.usr.CONS_CORR[std::clamp(s_.usr.FUEL, 0, kFuelCount - 1)];
}

bool FuelAccounting::bunkerReadsFull() const {
    return s_.usr.USE_FULL_SENS == 1 && (s_.boardInputs & kInBunkerFull);
}

void FuelAccounting::load(Eeprom* eeprom) {
    const int r = rate();
    const int corr = consCorr();
    const int size = s_.usr.BUNK_SIZE;
    {
        std::lock_guard<std::mutex> g(m_);
        eeprom_ = eeprom;
        loadLocked();
        if (c_.remaining != kBunkerUnknown) c_.capacity = bunkerCapacity(size, r, corr);
    }
    if (timerId_ != 0) timers_.cancel(timerId_);
    timerId_ = timers_.startPeriodic(kQuarterHourMs, [this] { quarterHourStep(); });
}

void FuelAccounting::loadLocked() {
    c_ = FuelCounters{};
    std::optional<uint8_t> h = readTriple8(eeprom_, L::kHourIndex);
    c_.hourIndex = h && *h <= 23 ? *h : 0;
    std::optional<uint8_t> d = readTriple8(eeprom_, L::kDayIndex);
    c_.dayIndex = d && *d <= 29 ? *d : 0;

    for (int i = 0; i < 24; ++i) {
        c_.hourly[i] = counterValue(readTriple32(eeprom_, L::hourlySlot(i)));
        c_.slotSum += c_.hourly[i];
        if (i < c_.hourIndex) c_.today += c_.hourly[i];
    }
    // Backwards from the day index: the first seven are the last week.
    int day = c_.dayIndex;
    for (int i = 0; i < 30; ++i) {
        day = day == 0 ? 29 : day - 1;
        c_.daily[day] = counterValue(readTriple32(eeprom_, L::dailySlot(day)));
        if (i < 7) c_.weekSum += c_.daily[day];
        c_.monthSum += c_.daily[day];
    }
    c_.own = counterValue(readTriple32(eeprom_, L::kOwn));
    c_.total = counterValue(readTriple32(eeprom_, L::kTotal));

    std::optional<uint32_t> b = readTriple32(eeprom_, L::kBunker);
    c_.remaining = b && *b != kErased ? static_cast<int64_t>(*b) : kBunkerUnknown;
    c_.lastSavedRemaining = c_.remaining;
}

void FuelAccounting::addRunTime(int64_t onMs) {
    if (onMs < 100) return;
    const RunTime t = static_cast<RunTime>(std::min<int64_t>(onMs / 100, std::numeric_limits<RunTime>::max()));
    const bool full = bunkerReadsFull();
    std::lock_guard<std::mutex> g(m_);
    c_.accumulator += t;
    c_.today += t;
    c_.own += t;
    c_.total += t;
    // A bunker that reads full stays full however long the auger runs.
    if (c_.remaining != kBunkerUnknown && !full) c_.remaining = std::max<int64_t>(0, c_.remaining - t);
}

bool FuelAccounting::saveRemainingLocked() {
    if (!writeTriple32(eeprom_, L::kBunker, encodeRemaining(c_.remaining))) return false;
    c_.lastSavedRemaining = c_.remaining;
    return true;
}

void FuelAccounting::quarterHourStep() {
    std::lock_guard<std::mutex> g(m_);
    if (c_.remaining != c_.lastSavedRemaining) saveRemainingLocked();
    c_.ticks = (c_.ticks + 1) % 4;
    if (c_.ticks == 0) hourlyStepLocked();
}

void FuelAccounting::hourlyStepLocked() {
    // Sums run modulo 2^32 like the slots they track.
    const int h = c_.hourIndex;
    c_.slotSum += c_.accumulator - c_.hourly[h];
    c_.hourly[h] = c_.accumulator;
    writeTriple32(eeprom_, L::hourlySlot(h), c_.accumulator);
    c_.accumulator = 0;
    c_.hourIndex = h + 1;
    if (c_.hourIndex < 24) {
        writeTriple8(eeprom_, L::kHourIndex, static_cast<uint8_t>(c_.hourIndex));
    } else {
        c_.hourIndex = 0;
        writeTriple8(eeprom_, L::kHourIndex, 0);
        const int d = c_.dayIndex;
        c_.monthSum += c_.today - c_.daily[d];
        c_.weekSum += c_.today - c_.daily[weekOut(d)];
        c_.daily[d] = c_.today;
        writeTriple32(eeprom_, L::dailySlot(d), c_.today);
        c_.today = 0;
        c_.dayIndex = (d + 1) % 30;
        writeTriple8(eeprom_, L::kDayIndex, static_cast<uint8_t>(c_.dayIndex));
    }
    writeTriple32(eeprom_, L::kOwn, c_.own);
    writeTriple32(eeprom_, L::kTotal, c_.total);
}

void FuelAccounting::bunkerCheck(bool confirmed) {
    if (!confirmed && !bunkerReadsFull()) return;
    const int64_t capacity = bunkerCapacity(s_.usr.BUNK_SIZE, rate(), consCorr());
    const int64_t now = clock_.nowMs();
    std::lock_guard<std::mutex> g(m_);
    c_.capacity = capacity;
    // Without a feed rate there is nothing to fill the estimate with.
    if (capacity <= 0 || capacity == c_.remaining) return;
    c_.remaining = capacity;
    if (confirmed) {
        saveRemainingLocked();
    } else if (c_.lastSensorSaveMs == kNeverSaved || now - c_.lastSensorSaveMs > kSensorSaveGapMs) {
        // A sensor that flickers must not wear the chip out; the quarter-hour
        // step saves whatever is left unsaved.
        saveRemainingLocked();
        c_.lastSensorSaveMs = now;
    }
}

void FuelAccounting::confirmFill(int sizeKg, const std::function<void()>& saveUserSettings) {
    if (sizeKg >= 10 && sizeKg <= 9999 && sizeKg != s_.usr.BUNK_SIZE) {
        s_.usr.BUNK_SIZE = sizeKg;
        if (saveUserSettings) saveUserSettings();
    }
    bunkerCheck(true);
}

void FuelAccounting::reset(unsigned flags) {
    std::lock_guard<std::mutex> g(m_);
    if (flags & kFuelResetTime) {
        c_.accumulator = 0;
        c_.today = 0;
        c_.hourIndex = 0;
        c_.dayIndex = 0;
        c_.hourly.fill(0);
        c_.daily.fill(0);
        c_.slotSum = 0;
        c_.weekSum = 0;
        c_.monthSum = 0;
        // Indexes and every slot lie together in front of the own counter.
        static const uint8_t zeros[L::kOwn - L::kHourIndex] = {};
        writeInPages(eeprom_, L::kHourIndex, zeros, sizeof zeros);
    }
    if (flags & kFuelResetOwn) {
        c_.own = 0;
        writeTriple32(eeprom_, L::kOwn, 0);
    }
    if (flags & kFuelResetTotal) {
        c_.total = 0;
        writeTriple32(eeprom_, L::kTotal, 0);
    }
}

FuelFigures FuelAccounting::figures() const {
    const int r = rate();
    const int corr = consCorr();
    std::lock_guard<std::mutex> g(m_);
    const int h = c_.hourIndex;
    const int d = c_.dayIndex;
    const int w = weekOut(d);
    const RunTime day = c_.slotSum - c_.hourly[h] + std::max(c_.hourly[h], c_.accumulator);
    const RunTime week = c_.weekSum - c_.daily[w] + std::max(c_.daily[w], c_.today);
    const RunTime month = c_.monthSum - c_.daily[d] + std::max(c_.daily[d], c_.today);
    FuelFigures f;
    f.day = runTimeToKg(day, r, corr);
    f.week = runTimeToKg(week, r, corr);
    f.month = runTimeToKg(month, r, corr);
    f.own = runTimeToKg(c_.own, r, corr);
    f.total = runTimeToKg(c_.total, r, corr);
    f.percent = bunkerPercent(c_.remaining, c_.capacity);
    return f;
}

FuelCounters FuelAccounting::counters() const {
    std::lock_guard<std::mutex> g(m_);
    return c_;
}

void fuelLevelRecordStep(ControlContext& c) {
    if (c.fuel) c.fuel->bunkerCheck(false);
}

}  // namespace vesk
