// Which period of the weekly thermostat schedule is in force at a given time.
#pragma once
#include <cstdint>

#include "platform/clock.h"
#include "settings/schedule.h"

namespace vesk {

// Day index of the schedule's day map and of the weekly anti-legionella
// window: Monday 0 .. Sunday 6, from a clock weekday (Sunday 0); -1 for a
// weekday outside 0..6.
int mondayFirstDay(uint16_t dayOfWeek);

// 1 and `dest` filled when a period of today's program covers the hour of
// `now`; the first such period in program order wins. 0 when the schedule
// is off, today has no program or no period matches (`dest` untouched).
// The caller holds the schedule lock.
int evaluateSchedule(const Schedule& schedule, const LocalTime& now, Period& dest);
// The same under the store's lock. The control cycle calls it holding
// stateLock, so nothing may ask for stateLock while holding the schedule lock.
int evaluateSchedule(ScheduleStore& store, const LocalTime& now, Period& dest);

}  // namespace vesk
