// From a power to the actuators: blower, exhaust fan and auger pulses.
#include <algorithm>
#include <cstdint>

#include "control/auger_pulse.h"
#include "control/control_context.h"
#include "control/regulation.h"
#include "core/controller_state.h"

namespace vesk {

namespace {

// Exact fraction num / den with den > 0; the auger arithmetic stays in
// whole numbers so truncation to tenths never suffers from rounding.
struct Fraction {
    int64_t num;
    int64_t den;
};

int floorTenths(Fraction f) {
    if (f.num <= 0) return 0;
    return static_cast<int>(f.num / f.den);
}

int blowerMinimum(const ControllerState& s) {
    return s.usr.BURN_MODE == 1 ? s.svc.SA_FAN_MIN : s.svc.FAN_MIN[fuelIndex(s)];
}

int exhaustFor(const ControllerState& s, int m) {
    const UserParams& u = s.usr;
    const int mode = u.EXFAN_MODE;
    if (s.burnerState != kStop && (s.fanPower > 0 || mode == 1)) {
        if (mode == 1) return std::max(u.EXFAN_UST, m);
        if (mode != 2) return 0;
        if (s.fanPower < m) return 0;
        if (u.EXFAN_UST - m < 1 || m >= 100) return m;
        return m + ((s.fanPower - m) * (u.EXFAN_UST - m) + (100 - m) / 2) / (100 - m);
    }
    // Chimney sweep: a stopped, cooled boiler gets draught for the cleaning.
    if (mode == 3 && s.burnerState == kStop && s.sensors[kSensorGas] < 110) return u.EXFAN_UST;
    return 0;
}

}  // namespace

int fanForPower(const ControllerState& s, int p) {
    const int f = fuelIndex(s);
    const int lo = s.usr.FAN_MIN[f];
    const int hi = s.usr.FAN_MAX[f];
    const int pMin = s.svc.POWER_MIN;
    const int range = 100 - pMin;
    int fan = range > 0 ? lo + ((hi - lo) * (p - pMin) + range / 2) / range : hi;
    return std::clamp(fan, std::min(lo, 100), 100);
}

void setBlower(ControllerState& s, int a) {
    const int m = blowerMinimum(s);
    s.fanPower = a < m ? 0 : a;
    s.exhaustFanPower = exhaustFor(s, m);
}

AugerTiming augerTiming(const ControllerState& s, int power) {
    const int f = fuelIndex(s);
    // Period Tp = WORM_PERIOD x 10 / (1 + WORM_CORR / 100) tenths.
    const int64_t corr = 100 + s.usr.WORM_CORR[f];
    if (corr <= 0 || s.svc.WORM_PERIOD[f] <= 0) return {};
    Fraction period{int64_t{s.svc.WORM_PERIOD[f]} * 1000, corr};
    // ON time t = P x WORM100 / 25600 tenths.
    Fraction on{int64_t{power} * s.svc.WORM100[f], 25600};
    if (on.num <= 0) return {};
    if (on.num > 15 * on.den) {
        // Same duty in shorter pulses: Tp := Tp x 15 / t + 0.5, t := 15.
        period = Fraction{30 * period.num * on.den + period.den * on.num, 2 * period.den * on.num};
        on = Fraction{15, 1};
    }
    // At least one second off: t > Tp - 10 means t x den > num - 10 x den.
    const Fraction cut{period.num - 10 * period.den, period.den};
    if (on.num * cut.den > cut.num * on.den) return {floorTenths(cut), 10};
    const Fraction off{period.num * on.den - on.num * period.den, period.den * on.den};
    return {floorTenths(on), floorTenths(off)};
}

void driveAuger(ControlContext& c, int power) {
    const AugerTiming t = augerTiming(c.s, power);
    if (c.pulse) c.pulse->start(t.onTenths, t.offTenths, -1);
}

int maintenancePower(const ControllerState& s) {
    const int f = fuelIndex(s);
    const int64_t a = s.usr.KEEP_WORM_CORR[f];
    const int64_t base = f == 0 ? 2048 : f == 1 ? 2560 : 768;
    // r = 25.6 x a, rounded half away from zero.
    const int64_t r = a >= 0 ? (256 * a + 5) / 10 : -((-256 * a + 5) / 10);
    const int64_t e = base - r;
    // The feed into a fire kept without the blower never exceeds the feed of
    // the lowest regulated power. The formula reaches that bound at a
    // divisor of 256 (correction 20 for pellets) and rises steeply towards
    // its pole beyond; KESTRALO accepts corrections up to 50, past the pole.
    const int64_t bound = static_cast<int64_t>(s.usr.POW_UST_MIN) * kPowerScale;
    if (e <= 256) return static_cast<int>(bound);
    return static_cast<int>((static_cast<int64_t>(s.usr.POW_UST_MIN) * 65536 + e / 2) / e);
}

}  // namespace vesk
