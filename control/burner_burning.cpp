// The burning state: regulated power, the maintenance sub-mode that keeps
// the fire alive without heat demand, and its keep-alive fan puffs.
#include <algorithm>

#include "control/burner.h"
#include "control/control_context.h"
#include "control/control_steps.h"
#include "control/regulation.h"
#include "core/controller_state.h"

namespace vesk {

namespace {

constexpr int kOverheatC = 91;
constexpr int kFadeWaterC = 40;  // without a flue-gas sensor: colder means out

enum class KeepOutcome { Running, WentOut };

int minuteOfDay(const ControllerState& s) { return s.localTime.hour * 60 + s.localTime.minute; }

// One keep-alive puff (blower or exhaust fan): a run of TON seconds, 50 %
// for its first three cycles, then a pause of TPAUSE minutes.
int puff(ControllerState& s, KeepAlivePuff& p, Countdown timer, int use, int pauseMin, int onSec, int power) {
    if (use != 1) {
        p = KeepAlivePuff{};
        s.setCountdown(timer, 0);
        return 0;
    }
    if (p.latch == 1) {
        if (s.countdown(timer) > 0) {
            p.counter = 0;
            return 0;
        }
        s.setCountdown(timer, onSec);
        p.latch = 0;
    } else if (s.countdown(timer) == 0 && pauseMin != 0) {
        s.setCountdown(timer, pauseMin * 60);
        p.latch = 1;
        p.counter = 0;
        return 0;
    }
    const int out = p.counter < 3 ? 50 : power;
    if (p.counter < 3) ++p.counter;
    return out;
}

void keepAlivePuffs(ControllerState& s) {
    const UserParams& u = s.usr;
    CombustionRecords& r = s.combustion;
    s.fanPower = puff(s, r.fanPuff, kTAux7, u.FANKEEP_USE, u.FANKEEP_TPAUSE, u.FANKEEP_TON, u.FANKEEP_POWER);
    s.exhaustFanPower = puff(s, r.exhaustPuff, kTAux8, u.EXFANKEEP_USE, u.EXFANKEEP_TPAUSE, u.EXFANKEEP_TON,
                             u.EXFANKEEP_POWER);
}

KeepOutcome maintenance(ControlContext& c) {
    ControllerState& s = c.s;
    BurnerRecord& b = s.burner;
    const ServiceParams& g = s.svc;
    const UserParams& u = s.usr;
    if (takeEntry(s)) b.subState = 0;
    const int gas = s.sensors[kSensorGas];
    switch (b.subState) {
    case 0:
        keepAlivePuffs(s);
        stopAugerPulse(c);
        if (gas > g.GAS_KEEP) break;
        s.combustion.fanPuff.latch = 0;
        s.combustion.exhaustPuff.latch = 0;
        setBlower(s, 0);
        s.setCountdown(kTStage, u.CHIMN_TOFF * 60);
        b.subState = 1;
        break;
    case 1:
        if (gas >= g.GAS_KEEP + 15) {
            b.subState = 0;
            break;
        }
        if (g.GAS_BURNUP - 5 >= gas) {
            stopAugerPulse(c);
            return KeepOutcome::WentOut;
        }
        if (s.countdown(kTStage) > 0) {
            setBlower(s, 0);
            driveAuger(c, maintenancePower(s));
            break;
        }
        // Before the draught run, a portion of fresh fuel.
        stopAugerPulse(c);
        startAugerPulse(c, g.PRECHIMN_WORM * 10, 0, 1);
        b.subState = 2;
        break;
    case 2:
        if (augerPulseRunning(c)) break;
        s.setCountdown(kTStage, u.CHIMN_TON * 60);
        b.subState = 3;
        break;
    default:
        setBlower(s, fanForPower(s, u.POW_UST_MIN));
        driveAuger(c, u.POW_UST_MIN * kPowerScale);
        if (gas >= g.GAS_MAX) {
            b.subState = 0;
            break;
        }
        if (s.countdown(kTStage) > 0) break;
        if (gas < g.GAS_BURNUP) {
            setBlower(s, 0);
            stopAugerPulse(c);
            return KeepOutcome::WentOut;
        }
        b.subState = 0;
        break;
    }
    return KeepOutcome::Running;
}

// Without a flue-gas sensor the fire is judged by the water, once every
// GAS_TEMP_SENSOR_FADE_TOUT minutes of the clock.
bool fadedWithoutGasSensor(ControllerState& s) {
    int& last = s.combustion.fadeCheckMinute;
    const int now = minuteOfDay(s);
    if (last < 0) last = now;
    int elapsed = now - last;
    if (elapsed < 0) elapsed += 1440;
    if (elapsed < s.usr.GAS_TEMP_SENSOR_FADE_TOUT) return false;
    last = now;
    return s.readSensor(kSensorWater) < kFadeWaterC;
}

}  // namespace

BurningOutcome burningSequence(ControlContext& c) {
    ControllerState& s = c.s;
    BurnerRecord& b = s.burner;
    const ServiceParams& g = s.svc;
    const UserParams& u = s.usr;

    if (s.scheduleActive && s.activePeriod.pause) return BurningOutcome::PauseWanted;
    if (u.HEAT_MODE == 3 && ((s.controlFlags & kFlagDhwOnlyPause) || !isValidTemp(s.readSensor(kSensorDhw))))
        return BurningOutcome::PauseWanted;

    if (takeEntry(s)) {
        // Bumpless start: the regulators begin near the minimum power.
        const int floor = (u.POW_UST_MIN - 2) * kPowerScale;
        for (Regulator* r : {&s.combustion.water, &s.combustion.air, &s.combustion.gas})
            r->iCommitted = std::max(r->iCommitted, floor);
        b.keepMode = 0;
        s.combustion.fadeCheckMinute = minuteOfDay(s);
    }

    if (u.GAS_TEMP_SENSOR_ENABLE == 0 && fadedWithoutGasSensor(s)) {
        enterState(c, kStop);
        return BurningOutcome::WentOutStopped;
    }

    const int water = s.readSensor(kSensorWater);
    const int gas = s.sensors[kSensorGas];
    if (water > kOverheatC) b.overheatLatch = 1;
    if (water < kOverheatC) b.overheatLatch = 0;

    const int target = waterTarget(s);
    const BurningDemand d = burningDemand(s, target);
    const int room = s.readSensor(kSensorAir);
    const int roomTarget = s.scheduleActive ? s.activePeriod.airTarget : u.TAIR_UST;
    const int minPower = u.POW_UST_MIN * kPowerScale;

    const bool keepByThermostat =
        isKestralo(s.variant) && u.THERMOSTAT_RESPONSE == 3 && (s.boardInputs & kInRoomThermostat);
    const bool enterKeep = water >= target + 5 || gas >= g.GAS_MAX + 50 ||
                           (d.airActive && room >= roomTarget + 4) || d.power < minPower || b.overheatLatch ||
                           keepByThermostat;
    const bool leaveKeep = water <= target + 3 && gas <= g.GAS_MAX + 30 &&
                           (!d.airActive || room <= roomTarget + 2) && d.power > minPower;
    if (enterKeep) {
        if (!b.keepMode) s.controlFlags |= kFlagStateEntry;  // maintenance starts afresh
        b.keepMode = 1;
    } else if (leaveKeep && b.keepMode) {
        b.keepMode = 0;
        stopAugerPulse(c);
    }

    if (u.PRIME_LOOP_TYPE == 1) {
        const int keepBefore = b.keepMode;
        bufferTankLoadingStep(c);
        if (s.burnerState != kBurning) return BurningOutcome::Left;
        if (b.keepMode && !keepBefore) s.controlFlags |= kFlagStateEntry;
    }

    b.powerDisplay = (d.power + kPowerScale / 2) / kPowerScale;

    if (!b.keepMode) {
        if (burnupThreshold(s, false) - 5 >= gas) return BurningOutcome::FlameLost;
        driveAuger(c, d.power);
        setBlower(s, fanForPower(s, b.powerDisplay));
        return BurningOutcome::Running;
    }
    return maintenance(c) == KeepOutcome::WentOut ? BurningOutcome::FlameLost : BurningOutcome::Running;
}

}  // namespace vesk
