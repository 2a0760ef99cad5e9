// A control step bench: one ControllerState with healthy readings, the real
// countdown service on manual time, and the context the steps run with.
#pragma once
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

struct StepRig {
    explicit StepRig(Variant v = Variant::Orvena, LocalTime start = {2026, 3, 2, 10, 12, 0, 0, 0})
        : s(v), clock(start) {
        serviceDefaults(s.settings, v, true);
        userDefaults(s.settings, v, false, antiJamDayNumber(start));
        for (int& t : s.sensors) t = 20;
        s.sensors[kSensorWater] = 60;
        s.sensors[kSensorGas] = 120;
        s.boardVersion = 0x2214;
        s.boardVersionCopy = 0x2214;
        s.linkOk = 1;
        s.localTime = clock.localTime();
        countdowns.start();
    }

    // One control-cycle worth of fault work: warnings, then faults.
    void evaluate() {
        s.localTime = clock.localTime();
        evaluateWarnings(ctx);
        evaluateFaults(ctx);
    }
    // Lets one second of panel time pass; the countdowns go down by one.
    void second() {
        clock.advance(1000);
        s.localTime = clock.localTime();
    }

    ControllerState s;
    ManualClock clock;
    ManualTimerService timers{clock};
    CountdownService countdowns{s, timers};
    CountingRefreshSink refresh;
    RecordingSoundPlayer sound;
    ScheduleStore schedule;
    int wakes = 0;
    ControlContext ctx{s, clock, timers, refresh, sound, schedule, [this] { ++wakes; }};
};

}  // namespace vesk::test
