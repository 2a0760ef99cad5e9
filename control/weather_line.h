// The weather-compensation line: a water target from the outdoor
// temperature, shared by the boiler water target and the mixing valves.
#pragma once

namespace vesk {

// Water target at outdoor temperature `t` on the line through (x0, y0) and
// (x1, y1), in integer arithmetic (halves round away from zero for x1 > x0).
int weatherLine(int x0, int y0, int x1, int y1, int t);

}  // namespace vesk
