// The boiler water target: schedule or weather base, then the raises and
// limits of the hot water, separator, buffer tank, anti-legionella and room
// thermostat.
#include <algorithm>

#include "control/regulation.h"
#include "control/weather_line.h"
#include "core/controller_state.h"

namespace vesk {

int waterTarget(ControllerState& s) {
    const UserParams& u = s.usr;
    const bool kestralo = isKestralo(s.variant);
    int target = u.TWAT_UST;
    s.combustion.weatherTarget = 255;
    const int outdoor = s.readSensor(kSensorOutdoor);
    if (s.scheduleActive && s.activePeriod.useWater) {
        target = s.activePeriod.waterTarget;
    } else if (u.USE_WHETHER == 1 && isValidTemp(outdoor)) {
        target = weatherLine(u.WHETH_AIR_LOW, u.WHETH_WAT_LOW, u.WHETH_AIR, u.WHETH_WAT, outdoor);
        target = std::clamp(target, u.TWAT_UST_LIMIT_MIN, std::max(u.TWAT_UST_LIMIT_MIN, u.TWAT_UST_LIMIT_MAX));
        s.combustion.weatherTarget = target;
    }

    if (u.HEAT_MODE == 3 || ((u.HEAT_MODE == 1 || u.HEAT_MODE == 2) && (s.controlFlags & kFlagDhwDemand))) {
        if (isValidTemp(s.readSensor(kSensorDhw))) target = std::max(target, u.TDHW_UST + (kestralo ? 15 : 5));
        target = std::min(target, kestralo ? u.DHW_OPT_UST_MAX : 80);
    }
    // With a separator and every consumer off the boiler only heats itself.
    if (u.USE_HYDROSEP == 1 && !s.pumpCh && !s.pumpDhw && !s.valves[0].circuitPump && !s.valves[1].circuitPump)
        target = std::min(target, 85);
    if (u.PRIME_LOOP_TYPE == 1 && u.USE_HYDROSEP == 1 && s.pumps.tankLoading)
        target = std::max(target, u.PRIME_LOOP_TANK_UST + u.PRIME_LOOP_TANK_DELTA);
    if (s.pumps.legionActive) target = std::max(target, kestralo ? u.ANTI_LEGION_UST : 80);
    // KESTRALO shifts TWAT_UST itself on the room thermostat instead.
    if (!kestralo && (s.boardInputs & kInRoomThermostat) && u.RESPONSE_ON_TMSTAT_TWAT_UST_ENABLE == 1)
        target = std::max(target - u.RESPONSE_ON_TMSTAT_TWAT_UST_DECREASE, u.TWAT_UST_LIMIT_MIN);
    return target;
}

}  // namespace vesk
