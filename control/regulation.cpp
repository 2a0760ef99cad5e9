// Power regulation: regulator records, the PID step, selection, the water
// trend and the burning demands.
#include "control/regulation.h"

#include <algorithm>
#include <cstdlib>

#include "control/control_context.h"
#include "control/control_steps.h"
#include "core/controller_state.h"

namespace vesk {

namespace {

void setUp(Regulator& r, int32_t ServiceParams::*kp, int32_t ServiceParams::*ki, int32_t ServiceParams::*kd,
           int pScale, int iDiv, int dScale, int iPeriod) {
    r = Regulator{};
    r.kp = kp;
    r.ki = ki;
    r.kd = kd;
    r.pScale = pScale;
    r.iDiv = iDiv;
    r.dScale = dScale;
    r.iPeriod = static_cast<uint8_t>(iPeriod);
}

// Under firmware 0x2215 the quarter-degree copies come from tenths, so the
// automatic regulators take whole-degree readings instead.
bool wholeDegreeErrors(const ControllerState& s) { return s.boardVersion == 0x2215; }

int waterErrorQ(const ControllerState& s, int target) {
    if (wholeDegreeErrors(s)) return (target - s.readSensor(kSensorWater)) * 4;
    return target * 4 - s.waterQ;
}

int airErrorQ(const ControllerState& s, int target) {
    if (wholeDegreeErrors(s)) return (target - s.readSensor(kSensorAir)) * 4;
    return target * 4 - s.airQ;
}

bool roomAirRegulated(const ControllerState& s) {
    const UserParams& u = s.usr;
    if (u.USE_HYDROSEP != 0 || !isValidTemp(s.readSensor(kSensorAir))) return false;
    if (u.HEAT_MODE == 3) return false;
    if ((u.HEAT_MODE == 1 || u.HEAT_MODE == 2) && (s.controlFlags & kFlagDhwDemand)) return false;
    return !s.scheduleActive || s.activePeriod.useAir;
}

}  // namespace

int fuelIndex(const ControllerState& s) { return std::clamp<int>(s.usr.FUEL, 0, kFuelCount - 1); }

void initRegulators(ControllerState& s) {
    CombustionRecords& r = s.combustion;
    setUp(r.water, &ServiceParams::WPID_KP, &ServiceParams::WPID_KI, &ServiceParams::WPID_KD, 6, 1, 1200, 15);
    setUp(r.saWater, &ServiceParams::SA_WPID_KP, &ServiceParams::SA_WPID_KI, &ServiceParams::SA_WPID_KD, 6, 1,
          1200, 15);
    setUp(r.gas, &ServiceParams::GPID_KP, &ServiceParams::GPID_KI, &ServiceParams::GPID_KD, 10, 10, 1, 1);
    setUp(r.air, &ServiceParams::APID_KP, &ServiceParams::APID_KI, &ServiceParams::APID_KD, 50, 1, 1, 30);
    r.trend = WaterTrend{};
}

int pidStep(Regulator& r, const ServiceParams& gains, int e, const WaterTrend* trend, int lowPct, int highPct) {
    const int lo = lowPct * kPowerScale;
    const int hi = highPct * kPowerScale;
    const int kp = gains.*r.kp;
    const int ki = gains.*r.ki;
    const int kd = gains.*r.kd;
    // Limits as the terms are formed, so no ordering of them overflows.
    auto limit = [](long long v, int a, int b) { return static_cast<int>(std::clamp<long long>(v, a, b)); };

    r.pTerm = limit(static_cast<long long>(kp) * r.pScale * e, -hi, hi);
    r.iTentative = r.iCommitted;
    if (r.iCounter == 0) {
        r.iCounter = r.iPeriod;
        const int iDiv = r.iDiv > 0 ? r.iDiv : 1;
        const long long step = (static_cast<long long>(e) * ki + iDiv / 2) / iDiv;
        r.iTentative = limit(r.iCommitted + step, lo, hi);
    }
    if (r.iCounter > 0) --r.iCounter;
    r.dTerm = 0;
    if (trend && trend->trend != 0)
        r.dTerm = limit(-(static_cast<long long>(r.dScale) * kd) / trend->trend, -hi, hi);
    r.output = limit(static_cast<long long>(r.iTentative) + r.dTerm + r.pTerm, lo, hi);
    return r.output;
}

void saturate(Regulator& r, int highPct) {
    r.output = highPct * kPowerScale;
    r.iTentative = r.iCommitted;
}

int selectRegulator(std::initializer_list<Regulator*> inOrder) {
    Regulator* winner = nullptr;
    for (Regulator* r : inOrder)
        if (!winner || r->output < winner->output) winner = r;
    if (!winner) return 0;
    winner->iCommitted = winner->iTentative;
    return winner->output;
}

void updateWaterTrend(WaterTrend& t, int q) {
    if (!isValidTemp(q)) {
        t.trend = kNoTrend;
        t.valid = 0;
        return;
    }
    if (!t.valid) {
        t.valid = 1;
        t.reference = q;
        t.count = 0;
        t.deviations = 0;
        t.trend = kNoTrend;
        return;
    }
    if (t.count < t.cap)
        ++t.count;
    else
        t.trend = kNoTrend;
    if (std::abs(q - t.reference) < 2) {
        t.deviations = 0;
        if (t.count > std::abs(t.trend)) t.trend = t.trend < 0 ? -t.count : t.count;
        return;
    }
    if (++t.deviations < 5) return;
    t.trend = q > t.reference ? t.count : -t.count;
    t.count = 4;
    t.deviations = 0;
    t.reference = q;
}

void waterTrendStep(ControlContext& c) { updateWaterTrend(c.s.combustion.trend, c.s.waterQ); }

BurningDemand burningDemand(ControllerState& s, int target) {
    CombustionRecords& r = s.combustion;
    const ServiceParams& g = s.svc;
    const int lo = s.usr.POW_UST_MIN - 2;
    const int hi = s.usr.POW_UST;
    BurningDemand d;

    const int gasError = g.GAS_MAX - s.sensors[kSensorGas];
    if (gasError > 100)
        saturate(r.gas, hi);
    else
        pidStep(r.gas, g, gasError, nullptr, lo, hi);

    d.airActive = roomAirRegulated(s);
    if (d.airActive) {
        const int roomTarget = s.scheduleActive ? s.activePeriod.airTarget : s.usr.TAIR_UST;
        const int airError = airErrorQ(s, roomTarget);
        if (airError > 12)
            saturate(r.air, hi);
        else
            pidStep(r.air, g, airError, nullptr, lo, hi);
    }

    const int waterError = waterErrorQ(s, target);
    if (waterError < 21)
        pidStep(r.water, g, waterError, &r.trend, lo, hi);
    else
        saturate(r.water, hi);

    d.power = d.airActive ? selectRegulator({&r.gas, &r.air, &r.water}) : selectRegulator({&r.gas, &r.water});
    return d;
}

int semiAutomaticBlower(ControlContext& c, int target) {
    ControllerState& s = c.s;
    CombustionRecords& r = s.combustion;
    const ServiceParams& g = s.svc;

    // The blower ceiling ramps from SA_FAN_BUP to 100 % over SA_BLOW_TIME.
    const int span = 100 - s.usr.SA_FAN_BUP;
    const int total = g.SA_BLOW_TIME * 60;
    int ceiling = 100;
    if (total > 0) {
        const long long n = (static_cast<long long>(span) * s.countdown(kTBlowup) + total - 1) / total;
        ceiling = n > span ? s.usr.SA_FAN_BUP : 100 - static_cast<int>(n);
    }
    const int lo = g.SA_FAN_MIN - 1;

    // waterQ is in quarter degrees with every firmware here.
    const int waterError = target * 4 - s.waterQ;
    if (waterError <= 20)
        pidStep(r.saWater, g, waterError, &r.trend, lo, ceiling);
    else
        saturate(r.saWater, ceiling);
    const int gasError = g.SA_GAS_LIM - s.sensors[kSensorGas];
    if (gasError > 100)
        saturate(r.gas, ceiling);
    else
        pidStep(r.gas, g, gasError, nullptr, lo, ceiling);

    int fan = (selectRegulator({&r.gas, &r.saWater}) + kPowerScale / 2) / kPowerScale;
    if (waterError < -19 || gasError < -50 || fan < g.SA_FAN_MIN) fan = 0;
    // With no pump running the heat has nowhere to go.
    if (s.usr.USE_HYDROSEP == 0 && s.readSensor(kSensorWater) >= s.usr.TPUMPS_ON && !s.pumpCh && !s.pumpDhw)
        fan = 0;
    s.burner.powerDisplay = fan;
    setBlower(s, fan);
    return fan;
}

}  // namespace vesk
