// Panel time: every delay and time-out of the panel goes through a Clock so
// that tests and simulations can run it faster than real time.
#pragma once
#include <cstdint>
#include <memory>

namespace vesk {

// The local time record the control cycle reads once a second.
struct LocalTime {
    uint16_t year = 0;
    uint16_t month = 0;      // 1..12
    uint16_t dayOfWeek = 0;  // 0 = Sunday .. 6 = Saturday
    uint16_t day = 0;        // 1..31
    uint16_t hour = 0;
    uint16_t minute = 0;
    uint16_t second = 0;
    uint16_t milliseconds = 0;
};

class Clock {
public:
    virtual ~Clock() = default;
    // Monotonic panel milliseconds since the clock was made.
    virtual int64_t nowMs() const = 0;
    virtual LocalTime localTime() const = 0;
    // Sets the panel's local time; the host clock is never touched.
    virtual void setLocalTime(const LocalTime& t) = 0;
    // Blocks the calling thread for `ms` panel milliseconds.
    virtual void sleepMs(int64_t ms) = 0;
    // Real milliseconds that `panelMs` of panel time take (for poll slices).
    virtual int64_t realMsFor(int64_t panelMs) const = 0;
};

// Converts a broken-down time to seconds since 1970 and back (UTC arithmetic,
// used for local-time offsets only).
int64_t toEpochSeconds(const LocalTime& t);
LocalTime fromEpochSeconds(int64_t s, uint16_t ms = 0);

}  // namespace vesk
