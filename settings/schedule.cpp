// Operations on the schedule record.
#include "settings/schedule.h"

#include <algorithm>
#include <utility>

namespace vesk {
namespace {

int periodCount(const Program& p) { return std::clamp<int32_t>(p.count, 0, kMaxPeriods); }

}  // namespace

void resetSchedule(Schedule& s) { s = Schedule{}; }

void clearSchedule(ScheduleStore& store) {
    std::lock_guard<std::mutex> g(store.scheduleLock);
    resetSchedule(store.schedule);
}

int validateProgram(const Program& p) {
    // Hours compare unsigned, so a negative hour is out of the day too.
    uint32_t previousEnd = 0;
    for (int i = 0; i < periodCount(p); ++i) {
        const auto begin = static_cast<uint32_t>(p.periods[i].begin);
        const auto end = static_cast<uint32_t>(p.periods[i].end);
        if (begin > 23 || end > 24 || begin >= end || begin < previousEnd) return 0;
        previousEnd = end;
    }
    return 1;
}

void sortPrograms(Schedule& s) {
    for (Program& p : s.programs)
        for (int i = 0; i < periodCount(p); ++i)
            for (int j = i + 1; j < periodCount(p); ++j)
                if (p.periods[j].begin < p.periods[i].begin) std::swap(p.periods[i], p.periods[j]);
}

}  // namespace vesk
