// Pump rules of normal operation: boiler loop pump, release of the
// consumers, DHW demand, the four heat modes, CH pause, room thermostat.
#include <algorithm>

#include "control/pumps.h"
#include "core/controller_state.h"

namespace vesk {

namespace {

constexpr int kDhwOnlyBoost = 15;   // DHW-only mode: forced charging above TWAT_UST + this
constexpr int kDhwOnlyBoostCap = 90;
constexpr int kEnableHysteresis = 2;

void loopPumpRule(ControllerState& s, int water) {
    const UserParams& u = s.usr;
    if (u.PRIME_LOOP_TYPE == 1) return;  // the buffer-tank step drives it
    if (u.USE_HYDROSEP) {
        s.pumpLoop = risingLatch(water, u.TRC_HSEP_ON, u.TRC_HSEP_OFF, s.pumpLoop);
    } else if (u.USE_RECIRC) {
        // Warms a cold return; stops once the return is warm.
        const int ret = s.readSensor(kSensorReturn);
        if (!isValidTemp(ret) || ret >= u.TRECIRC_OFF)
            s.pumpLoop = 0;
        else if (ret <= u.TRECIRC_ON)
            s.pumpLoop = 1;
    } else {
        s.pumpLoop = 0;
    }
}

void dhwDemand(ControllerState& s) {
    const UserParams& u = s.usr;
    if (u.HEAT_MODE != 1 && u.HEAT_MODE != 2) {
        s.controlFlags &= ~kFlagDhwDemand;
        return;
    }
    const int dhw = s.readSensor(kSensorDhw);
    if (!isValidTemp(dhw) || dhw >= u.TDHW_UST)
        s.controlFlags &= ~kFlagDhwDemand;
    else if (dhw <= u.TDHW_UST - u.DHW_OPT_DELTA)
        s.controlFlags |= kFlagDhwDemand;
}

// The CH pump by the room: the schedule's room target when it gives one.
void roomRule(ControllerState& s) {
    const int room = s.readSensor(kSensorAir);
    if (!isValidTemp(room) || (s.scheduleActive && !s.activePeriod.useAir)) {
        s.pumpCh = 1;
        return;
    }
    const int target = s.scheduleActive ? s.activePeriod.airTarget : s.usr.TAIR_UST;
    s.pumpCh = fallingLatch(room, target - s.svc.AIR_HYST, target, s.pumpCh);
}

void chRule(ControllerState& s) {
    if (s.usr.USE_HYDROSEP)
        roomRule(s);
    else
        s.pumpCh = 1;
}

// W boiler water, D tank, U tank target, dU charging band, O margin the
// boiler must have over the tank to charge it.
struct DhwTemps {
    int w, d, u, du, o;
};

void dhwPriority(ControllerState& s, const DhwTemps& t) {
    if (t.w >= t.d + t.o) {
        if (t.d >= t.u) {
            roomRule(s);
            s.pumpDhw = 0;
        } else if (t.d <= t.u - t.du) {
            s.pumpCh = 0;
            s.pumpDhw = 1;
        } else if (!s.pumpDhw) {
            roomRule(s);
        } else {
            s.pumpCh = 0;
        }
    } else if (t.d < t.w) {
        if (!s.pumpDhw && t.d > t.u - t.du)
            roomRule(s);
        else
            s.pumpCh = 0;
    } else {
        s.pumpDhw = 0;
        if (t.d > t.u - t.du)
            roomRule(s);
        else
            s.pumpCh = 0;
    }
}

void parallelPumps(ControllerState& s, const DhwTemps& t) {
    roomRule(s);
    if (t.d >= t.w)
        s.pumpDhw = 0;
    else if (t.w < t.d + t.o)
        return;
    else if (t.d >= t.u)
        s.pumpDhw = 0;
    else if (t.d <= t.u - t.du)
        s.pumpDhw = 1;
}

void dhwOnly(ControllerState& s, const DhwTemps& t) {
    const UserParams& u = s.usr;
    s.pumpCh = 0;
    const int boost = std::min(u.TWAT_UST + kDhwOnlyBoost, kDhwOnlyBoostCap);
    if (u.DHW_OPT_ENABLE == 1 && t.w >= boost)
        s.pumpDhw = 1;
    else if (t.w > boost - 2 && s.pumpDhw)
        return;
    else if (t.d >= t.u || t.d >= t.w)
        s.pumpDhw = 0;
    else if (t.d > t.u - t.du || t.w < t.d + t.o)
        return;
    else
        s.pumpDhw = 1;
}

void heatModeRules(ControllerState& s, int water) {
    const UserParams& u = s.usr;
    const DhwTemps t{water, s.readSensor(kSensorDhw), u.TDHW_UST, u.DHW_OPT_DELTA, u.DHW_OPT_DELTA_OVH};
    const bool dhwValid = isValidTemp(t.d);
    switch (u.HEAT_MODE) {
    case 1:
        if (dhwValid) {
            dhwPriority(s, t);
        } else {
            chRule(s);
            s.pumpDhw = 0;
        }
        break;
    case 2:
        if (dhwValid) {
            parallelPumps(s, t);
        } else {
            roomRule(s);
            s.pumpDhw = 0;
        }
        break;
    case 3:
        if (dhwValid) {
            dhwOnly(s, t);
        } else {
            // No tank reading: keep charging rather than risk a cold tank.
            s.pumpCh = 0;
            s.pumpDhw = 1;
        }
        break;
    default:
        chRule(s);
        s.pumpDhw = 0;
        break;
    }
    if (s.pumps.legionActive) s.pumpDhw = 1;
}

// The CH pump rests for PUMP_CH_OFF_DURATION minutes while the room is warm,
// then runs for PUMP_CH_ON_DURATION minutes whatever the room.
void chPause(ControllerState& s) {
    const UserParams& u = s.usr;
    int& start = s.pumps.chPauseStart;
    if (u.PUMP_CH_PAUSE_ENABLE != 1 || u.USE_HYDROSEP) {
        start = -1;
        return;
    }
    const int now = minuteOfDay(s.localTime);
    if (start < 0) start = now;
    if (minutesSince(start, now) > u.PUMP_CH_ON_DURATION + u.PUMP_CH_OFF_DURATION) start = now;
    if (minutesSince(start, now) > u.PUMP_CH_OFF_DURATION) {
        s.pumpCh = 1;
        return;
    }
    const int room = s.readSensor(kSensorAir);
    if (!isValidTemp(room) || room >= u.TAIR_UST) s.pumpCh = 0;
}

}  // namespace

void normalPumpLogic(ControllerState& s, int water, bool loopRules) {
    const UserParams& u = s.usr;
    PumpRecord& p = s.pumps;
    if (loopRules)
        loopPumpRule(s, water);
    else
        s.pumpLoop = 0;

    const int offAt = (u.USE_HYDROSEP ? u.TPUMPS_ON_HSEP : u.TPUMPS_ON) - kEnableHysteresis;
    p.pumpsEnabled = risingLatch(water, u.TPUMPS_ON, offAt, p.pumpsEnabled);
    dhwDemand(s);
    if (!p.pumpsEnabled) {
        s.pumpCh = 0;
        s.pumpDhw = 0;
        return;
    }
    heatModeRules(s, water);
    chPause(s);
    // KESTRALO answers the room thermostat through THERMOSTAT_RESPONSE.
    if (!isKestralo(s.variant) && (s.boardInputs & kInRoomThermostat) && u.RESPONSE_ON_TMSTAT_TWAT_UST_ENABLE == 0)
        s.pumpCh = 0;
}

}  // namespace vesk
