// A burner bench without a boiler: readings are set by hand, the real
// countdowns and auger pulse timer run on manual time.
#pragma once
#include <mutex>

#include "control/auger_pulse.h"
#include "control/control_context.h"
#include "control/control_steps.h"
#include "core/controller_state.h"
#include "core/countdown_service.h"
#include "core/refresh_sink.h"
#include "core/sound_player.h"
#include "platform/manual_clock.h"
#include "platform/manual_timer_service.h"
#include "settings/schedule.h"
#include "settings/service_table.h"
#include "settings/user_table.h"

namespace vesk::test {

struct CombustionRig {
    explicit CombustionRig(Variant v = Variant::Orvena, LocalTime start = {2026, 3, 2, 10, 12, 0, 0, 0})
        : s(v), clock(start) {
        serviceDefaults(s.settings, v, true);
        userDefaults(s.settings, v, false, antiJamDayNumber(start));
        initRegulators(s);
        initAugerPulse(s);
        pulse.setFuelHook([this](int64_t ms) { fedMs += ms; });
        for (int& t : s.sensors) t = 20;
        water(60);
        s.sensors[kSensorGas] = 120;
        s.boardVersion = 0x2214;
        s.boardVersionCopy = 0x2214;
        s.linkOk = 1;
        s.localTime = clock.localTime();
        countdowns.start();
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

    ControllerState s;
    ManualClock clock;
    ManualTimerService timers{clock};
    CountdownService countdowns{s, timers};
    CountingRefreshSink refresh;
    RecordingSoundPlayer sound;
    ScheduleStore schedule;
    int wakes = 0;
    int64_t fedMs = 0;
    AugerPulseTimer pulse{s, clock, timers, refresh, [this] { ++wakes; }};
    ControlContext ctx{s, clock, timers, refresh, sound, schedule, [this] { ++wakes; }, &pulse};
};

}  // namespace vesk::test
