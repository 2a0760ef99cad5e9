// Periodic deadline stepping shared by the timer services.
#include "platform/timer_schedule.h"

namespace vesk {

namespace {
// Behind by more than this (a stalled host), missed ticks are dropped
// rather than fired in one long burst.
constexpr int64_t kMaxCatchUpMs = 60000;
}  // namespace

int64_t nextPeriodicDeadline(int64_t deadline, int64_t period, int64_t now) {
    int64_t next = deadline + period;
    if (now - next > kMaxCatchUpMs) next += (now - next) / period * period;
    return next;
}

}  // namespace vesk
