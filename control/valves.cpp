// Mixing valves driven by timed motor steps: a valve has no position
// feedback, so a full closing run defines "closed" and every correction is
// a short open or close pulse followed by a wait for the water to settle.
#include "control/valves.h"

#include <algorithm>

#include "control/control_context.h"
#include "control/control_steps.h"
#include "control/weather_line.h"
#include "core/controller_state.h"

namespace vesk {

namespace {

enum ValveStepCode : int { kVsStart = 0, kVsClosing = 1, kVsArm = 2, kVsWaiting = 3, kVsMoving = 4 };

constexpr int kCurveLow = 20;
constexpr int kFloorCurveHigh = 60;

int driveShift(int valve) { return valve == 0 ? 3 : 5; }

void drive(ControllerState& s, int valve, ValveMotor d) {
    const int shift = driveShift(valve);
    const uint16_t mask = static_cast<uint16_t>(3u << shift);
    s.outputFlags = static_cast<uint16_t>((s.outputFlags & ~mask) | (static_cast<unsigned>(d) << shift));
}

// What one valve sees this cycle.
struct ValveView {
    int tw;       // circuit water
    int ta;       // room air
    int ts;       // source water
    int target;   // water target B
    bool water;   // water control possible
    bool air;     // air control possible
};

ValveView look(const ControllerState& s, const ValveParams& p, int valve, ValveRecord& r) {
    ValveView v{};
    v.tw = s.readSensor(valve == 0 ? kSensorValve1 : kSensorValve2);
    v.ta = s.readSensor(kSensorValveAir);
    const int ch = s.readSensor(kSensorCh);
    v.ts = s.usr.USE_HYDROSEP == 1 && isValidTemp(ch) ? ch : s.readSensor(kSensorWater);
    v.air = p.USEAIR == 1 && isValidTemp(v.ta);
    v.water = isValidTemp(v.tw);

    const int outdoor = s.readSensor(kSensorOutdoor);
    if (p.USEWH == 1 && isValidTemp(outdoor)) {
        if (p.MODE == 2) {
            v.target = std::clamp(weatherLine(p.AIRL_CH, p.WATL_CH, p.AIRH_CH, p.WATH_CH, outdoor), kCurveLow,
                                  std::max(kCurveLow, s.usr.TWAT_UST_LIMIT_MAX));
        } else {
            v.target = std::clamp(weatherLine(p.AIRL_FL, p.WATL_FL, p.AIRH_FL, p.WATH_FL, outdoor), kCurveLow,
                                  kFloorCurveHigh);
        }
        r.curveTarget = v.target;
    } else {
        v.target = p.WATER;
        r.curveTarget = 255;
        v.water = v.water && p.USEWATER == 1;
    }
    return v;
}

bool operates(const ControllerState& s, const ValveParams& p, const ValveView& v) {
    if (s.burnerState == kStop && s.usr.PUMPS_IDLE_MODE == 2) return false;
    if (!v.water && !v.air) return false;
    if (!(p.MODE == 2 || (p.MODE == 1 && v.water))) return false;
    return isValidTemp(v.ts);
}

void circuitPumpStep(ValveRecord& r, const ValveParams& p, const ValveView& v) {
    const bool warm = (v.water && v.tw >= v.target) || (v.air && v.ta >= p.AIR) || r.closedLatch;
    const bool cold = (!v.water || v.tw <= v.target - 3) && (!v.air || v.ta <= p.AIR - 2);
    if (warm)
        r.circuitPump = 0;
    else if (cold)
        r.circuitPump = 1;
}

// The interval is over: decide the next correction.
void correct(ControllerState& s, const ValveParams& p, int valve, const ValveView& v, Countdown timer) {
    ValveRecord& r = s.valves[valve];
    // Mixed water as hot as the source: the position is unknown, so a known
    // closed position is found first.
    if ((v.water && v.tw >= v.ts) || (v.air && v.ta >= v.ts)) {
        r.valveStep = r.closedLatch ? kVsArm : kVsStart;
        return;
    }
    const bool holdWater = v.water && (v.ts < v.tw + 2 || v.tw >= v.target);
    const bool holdAir = v.air && (v.ts < v.ta + 2 || v.ta >= p.AIR);
    if (!holdWater && !holdAir) {
        drive(s, valve, ValveMotor::Open);
        r.closedLatch = 0;
        s.setCountdown(timer, p.STEP);
    } else if ((v.water && v.tw > v.target) || (v.air && v.ta > p.AIR)) {
        drive(s, valve, ValveMotor::Close);
        s.setCountdown(timer, p.STEP);
    }
    // Inside the band: no move, and the next cycle arms another interval.
    r.valveStep = kVsMoving;
}

}  // namespace

ValveMotor valveMotor(const ControllerState& s, int valve) {
    return static_cast<ValveMotor>((s.outputFlags >> driveShift(valve == 0 ? 0 : 1)) & 3u);
}

void valveStep(ControlContext& c, int valve) {
    ControllerState& s = c.s;
    valve = valve == 0 ? 0 : 1;
    const ValveParams& p = valve == 0 ? s.usr.VLV1 : s.usr.VLV2;
    const Countdown timer = valve == 0 ? kTAux0 : kTAux1;
    ValveRecord& r = s.valves[valve];

    const ValveView v = look(s, p, valve, r);
    if (!operates(s, p, v)) {
        drive(s, valve, ValveMotor::Stop);
        r.circuitPump = 0;
        r.lastMode = p.MODE;
        r.valveStep = kVsStart;
        return;
    }
    if (p.MODE != r.lastMode) {
        r.valveStep = kVsStart;
        r.lastMode = p.MODE;
    }
    circuitPumpStep(r, p, v);

    switch (r.valveStep) {
    case kVsStart:
        if (!r.closedLatch) {
            drive(s, valve, ValveMotor::Close);
            s.setCountdown(timer, p.TOPEN);
            r.valveStep = kVsClosing;
        } else {
            r.valveStep = kVsArm;
        }
        return;
    case kVsClosing:
        if (s.countdown(timer) != 0) return;
        drive(s, valve, ValveMotor::Stop);
        r.closedLatch = 1;
        s.setCountdown(timer, p.INT);
        r.valveStep = kVsWaiting;
        break;
    case kVsArm:
        s.setCountdown(timer, p.INT);
        r.valveStep = kVsWaiting;
        break;
    case kVsWaiting: break;
    case kVsMoving:
        if (s.countdown(timer) != 0) return;
        drive(s, valve, ValveMotor::Stop);
        r.valveStep = kVsArm;
        return;
    default:
        // A sub-state the step never sets: start over from a closing run.
        r.valveStep = kVsStart;
        return;
    }
    if (s.countdown(timer) != 0) return;
    correct(s, p, valve, v, timer);
}

}  // namespace vesk
