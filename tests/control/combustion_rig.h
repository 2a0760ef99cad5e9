// A burner bench without a boiler: readings are set by hand, the real
// countdowns and auger pulse timer run on manual time.
#pragma once
#include <mutex>

#include "control/auger_pulse.h"
#include "protection_rig.h"

namespace vesk::test {

struct CombustionRig : StepRig {
    explicit CombustionRig(Variant v = Variant::Orvena, LocalTime start = {2026, 3, 2, 10, 12, 0, 0, 0})
        : StepRig(v, start) {
        initRegulators(s);
        initAugerPulse(s);
        pulse.setFuelHook([this](int64_t ms) { fedMs += ms; });
        ctx.pulse = &pulse;
        water(60);
    }

    // Whole degrees, with the quarter-degree copy the regulators read.
    void water(int c) {
        s.sensors[kSensorWater] = c;
        s.waterQ = static_cast<int16_t>(4 * c);
    }
    void room(int c) {
        s.sensors[kSensorAir] = c;
        s.airQ = static_cast<int16_t>(4 * c);
    }
    void gas(int c) { s.sensors[kSensorGas] = c; }
    void state(int st) {
        s.burnerState = st;
        s.controlFlags |= kFlagStateEntry;
    }

    // One automatic (or semi-automatic) step, then a second of panel time.
    void automatic(int seconds = 1) {
        for (int i = 0; i < seconds; ++i) {
            {
                std::lock_guard<std::recursive_mutex> g(s.stateLock);
                s.localTime = clock.localTime();
                automaticStep(ctx);
            }
            clock.advance(1000);
        }
    }
    void semiAutomatic(int seconds = 1) {
        for (int i = 0; i < seconds; ++i) {
            {
                std::lock_guard<std::recursive_mutex> g(s.stateLock);
                s.localTime = clock.localTime();
                semiAutomaticStep(ctx);
            }
            clock.advance(1000);
        }
    }

    int64_t fedMs = 0;
    AugerPulseTimer pulse{s, clock, timers, refresh, [this] { ++wakes; }};
};

}  // namespace vesk::test
