// Weekly thermostat schedule: the period in force now.
#include "control/schedule_eval.h"

#include <algorithm>
#include <mutex>

namespace vesk {

int mondayFirstDay(uint16_t dayOfWeek) {
    static constexpr int kMap[7] = {6, 0, 1, 2, 3, 4, 5};
    return dayOfWeek < 7 ? kMap[dayOfWeek] : -1;
}

int evaluateSchedule(const Schedule& schedule, const LocalTime& now, Period& dest) {
    if (!schedule.enabled) return 0;
    const int day = mondayFirstDay(now.dayOfWeek);
    if (day < 0) return 0;
    const int32_t program = schedule.dayProgram[day];
    // Anything outside the four programs means "no program" (4 is the one
    // the files write); a negative index must not reach the array.
    if (program < 0 || program >= kSchedulePrograms) return 0;
    const Program& p = schedule.programs[program];
    const int count = std::clamp<int32_t>(p.count, 0, kMaxPeriods);
    for (int i = 0; i < count; ++i) {
        const Period& period = p.periods[i];
        if (period.begin <= now.hour && period.end > now.hour) {
            dest = period;
            return 1;
        }
    }
    return 0;
}

int evaluateSchedule(ScheduleStore& store, const LocalTime& now, Period& dest) {
    std::lock_guard<std::mutex> g(store.scheduleLock);
    return evaluateSchedule(store.schedule, now, dest);
}

}  // namespace vesk
