// The weekly thermostat schedule record, its operations and tmstat.cfg.
#pragma once
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>

namespace vesk {

constexpr int kScheduleDays = 7;          // Monday first
constexpr int kSchedulePrograms = 4;
constexpr int kMaxPeriods = 8;
constexpr int32_t kNoProgram = 4;         // weekday map value: no program
constexpr int32_t kTargetUnset = 0x4000;

struct Period {
    int32_t begin = 0;        // hour 0..23
    int32_t end = 0;          // hour 1..24, exclusive
    int32_t pause = 0;        // heating pauses during the period
    int32_t useAir = 0;
    int32_t airTarget = 0;    // °C
    int32_t useWater = 0;
    int32_t waterTarget = 0;  // °C
};

struct Program {
    Period periods[kMaxPeriods];
    int32_t count = 0;
};

struct Schedule {
    int32_t enabled = 0;
    int32_t dayProgram[kScheduleDays] = {kNoProgram, kNoProgram, kNoProgram, kNoProgram,
                                         kNoProgram, kNoProgram, kNoProgram};
    Program programs[kSchedulePrograms];
};

// The one schedule of the controller and the lock that guards it and
// tmstat.cfg.
struct ScheduleStore {
    Schedule schedule;
    std::mutex scheduleLock;
};

// Disabled, programs emptied, every day without a program.
void resetSchedule(Schedule& s);
// The same under the schedule lock.
void clearSchedule(ScheduleStore& store);

// 1 when each period lies within the day, begins before it ends and not
// before the previous one ends; an empty program is valid.
int validateProgram(const Program& p);

// Periods of every program by begin hour (exchange sort: each later period
// with a smaller begin is swapped into the position). Caller holds the lock.
void sortPrograms(Schedule& s);

// Reads tmstat.cfg into the record under the schedule lock. A missing file,
// no "TMSTAT_BEGIN" or a file that ends inside a block resets the schedule.
// Water targets are accepted within the limits given.
void loadSchedule(const std::string& path, ScheduleStore& store, int32_t waterLimitMin, int32_t waterLimitMax);
// The same over text, on an unlocked record; false when it reset it.
bool parseSchedule(std::string_view text, Schedule& s, int32_t waterLimitMin, int32_t waterLimitMax);

std::string formatSchedule(const Schedule& s);
// Replaces tmstat.cfg whole while holding the schedule lock.
bool saveSchedule(const std::string& path, ScheduleStore& store);

}  // namespace vesk
