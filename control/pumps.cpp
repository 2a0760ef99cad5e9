// Pump step: overheat dump, run-on after a stop, anti-freeze, the pumps'
// anti-jam exercise and the idle modes of a stopped boiler.
#include "control/pumps.h"

#include "control/control_context.h"
#include "control/control_steps.h"
#include "core/controller_state.h"
#include "core/refresh_sink.h"
#include "platform/clock.h"
#include "settings/user_table.h"

namespace vesk {

namespace {

constexpr int kDumpOnC = 92;
constexpr int kDumpOffC = 90;
// Emergency thermostat tripped, boiler overheat: the water must move.
constexpr uint32_t kFaultsAllPumps = 0x040 | 0x002;
constexpr int kFrostHysteresis = 2;

void setAll(ControllerState& s, int on) {
    s.pumpCh = on;
    s.pumpDhw = on;
    s.pumpLoop = on;
}

// True while an exercise runs. It starts once ANTI_JAM_PERIOD days of
// standstill have passed and ends ANTI_JAM_DURATION minutes later.
bool antiJamExercise(ControllerState& s) {
    UserParams& u = s.usr;
    if (u.ANTI_JAM_ENABLE != 1 || u.ANTI_JAM_DAY < 0) return false;
    const int today = antiJamDayNumber(s.localTime);
    if (today - u.ANTI_JAM_DAY < u.ANTI_JAM_PERIOD) {
        // An exercise cut short (the burner started, the day was renewed)
        // must not leave its start behind: the next one would take it for
        // its own and end before it ran.
        u.ANTI_JAM_MIN = -1;
        return false;
    }
    const int now = minuteOfDay(s.localTime);
    if (u.ANTI_JAM_MIN < 0) {
        u.ANTI_JAM_MIN = now;
        return false;
    }
    if (minutesSince(u.ANTI_JAM_MIN, now) <= u.ANTI_JAM_DURATION) return true;
    u.ANTI_JAM_MIN = -1;
    u.ANTI_JAM_DAY = today;
    return false;
}

// Anti-freeze; true when it took the pumps.
bool antiFreeze(ControllerState& s, int water) {
    PumpRecord& p = s.pumps;
    const int t = s.usr.ANTI_FREEZE_TEMP;
    p.frostLatch = fallingLatch(water, t, t + kFrostHysteresis, p.frostLatch);
    if (!p.frostLatch || s.usr.ANTI_FREEZE_ENABLE != 1) return false;
    s.pumpCh = 1;
    s.pumpLoop = s.usr.USE_HYDROSEP ? 1 : 0;
    return true;
}

void stoppedPumps(ControllerState& s, int water) {
    const UserParams& u = s.usr;
    if (u.PRIME_LOOP_TYPE == 1 && u.USE_HYDROSEP == 1 && water <= u.TRC_HSEP_OFF) s.pumpLoop = 0;
    if (antiFreeze(s, water)) return;
    if (antiJamExercise(s)) {
        setAll(s, 1);
        return;
    }
    if (s.countdown(kTPumps) != 0) {
        normalPumpLogic(s, water, true);
        return;
    }
    switch (u.PUMPS_IDLE_MODE) {
    case 1:
        setAll(s, 0);
        if (u.HEAT_MODE == 3)
            s.pumpDhw = 1;
        else if (u.USE_HYDROSEP)
            s.pumpLoop = 1;
        else
            s.pumpCh = 1;
        break;
    case 2:
        setAll(s, 0);
        break;
    default:
        normalPumpLogic(s, water, u.USE_HYDROSEP == 1);
        break;
    }
}

void pumpRules(ControllerState& s) {
    PumpRecord& p = s.pumps;
    const int water = s.readSensor(kSensorWater);
    const bool valid = isValidTemp(water);
    if (valid) p.dumpLatch = risingLatch(water, kDumpOnC, kDumpOffC, p.dumpLatch);
    if (!valid || p.dumpLatch || (s.faults & kFaultsAllPumps)) {
        setAll(s, 1);
        return;
    }
    if (s.burnerState == kStop) {
        stoppedPumps(s, water);
        return;
    }
    // Renewed while the burner runs, so the pumps run on after a stop.
    s.setCountdown(kTPumps, s.svc.PUMPS_TOUT * 60);
    // A burner the anti-legionella window left in manual ignition burns
    // nothing; the frost protection of a stopped boiler still applies.
    if (s.burnerState == kManualIgnition && p.legionManual && antiFreeze(s, water)) return;
    normalPumpLogic(s, water, true);
}

}  // namespace

int minuteOfDay(const LocalTime& t) { return t.hour * 60 + t.minute; }

int minutesSince(int start, int now) {
    const int d = now - start;
    return d < 0 ? d + 1440 : d;
}

void pumpStep(ControlContext& c) {
    ControllerState& s = c.s;
    const int ch = s.pumpCh, dhw = s.pumpDhw, loop = s.pumpLoop;
    pumpRules(s);
    if (s.pumpCh != ch || s.pumpDhw != dhw || s.pumpLoop != loop) {
        if (c.sendNow) c.sendNow();
        c.refresh.postRefresh();
    }
}

}  // namespace vesk
