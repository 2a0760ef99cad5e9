// The heating-side steps of one control cycle on the step bench: schedule,
// anti-legionella, pumps and the DHW-only pause request, in cycle order.
#pragma once
#include <array>

#include "control/control_steps.h"
#include "protection_rig.h"

namespace vesk::test {

using Pumps = std::array<int, 3>;  // CH, DHW, loop

struct PumpRig : StepRig {
    explicit PumpRig(Variant v = Variant::Orvena, LocalTime start = {2026, 3, 2, 10, 12, 0, 0, 0})
        : StepRig(v, start) {
        s.usr.USE_RECIRC = 0;
        s.usr.HEAT_MODE = 0;
        s.burnerState = kBurning;
    }

    void cycle() {
        s.localTime = clock.localTime();
        evaluateScheduleStep(ctx);
        antiLegionellaStep(ctx);
        pumpStep(ctx);
        dhwOptimisationStep(ctx);
    }
    // Panel time passes, then one cycle runs.
    void after(int seconds) {
        clock.advance(seconds * 1000LL);
        cycle();
    }
    // The wall clock moves on without the countdowns (days of standstill).
    void jump(int64_t seconds) {
        clock.setLocalTime(fromEpochSeconds(toEpochSeconds(clock.localTime()) + seconds));
        cycle();
    }
    Pumps pumps() const { return {s.pumpCh, s.pumpDhw, s.pumpLoop}; }
    void water(int w) { s.sensors[kSensorWater] = w; }
    void dhw(int d) { s.sensors[kSensorDhw] = d; }
    void room(int r) { s.sensors[kSensorAir] = r; }
    bool demand() const { return (s.controlFlags & kFlagDhwDemand) != 0; }
};

}  // namespace vesk::test
