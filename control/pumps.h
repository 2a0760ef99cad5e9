// Pieces shared by the pump, hot-water and buffer-tank steps.
#pragma once

namespace vesk {

struct ControllerState;
struct LocalTime;

// A latch on a rising temperature: 1 at or above `onAt`, 0 at or below
// `offAt`, otherwise `current`.
inline int risingLatch(int value, int onAt, int offAt, int current) {
    if (value >= onAt) return 1;
    if (value <= offAt) return 0;
    return current;
}

// A latch on a falling temperature: 1 at or below `onAt`, 0 at or above
// `offAt`, otherwise `current`.
inline int fallingLatch(int value, int onAt, int offAt, int current) {
    if (value <= onAt) return 1;
    if (value >= offAt) return 0;
    return current;
}

int minuteOfDay(const LocalTime& t);
// Minutes from `start` to `now`, both minutes of the day, across midnight.
int minutesSince(int start, int now);

// The pump rules of normal operation for boiler water `water` (valid):
// loop pump (only with `loopRules`, else off), the consumers' release, DHW
// demand, heat modes, CH pause and the room thermostat.
void normalPumpLogic(ControllerState& s, int water, bool loopRules);

}  // namespace vesk
