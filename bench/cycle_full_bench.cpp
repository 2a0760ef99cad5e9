// One control cycle with every step taking its full path: schedule period in
// force, pumps, both valves regulating, bunker filling, ash remover, fuel
// level record, warnings and faults, and the burner burning. Each iteration
// is one panel second: the cycle plus the countdowns and timers it drives.
#include <benchmark/benchmark.h>

#include <mutex>

#include "control/auger_pulse.h"
#include "control/control_cycle.h"
#include "control/control_steps.h"
#include "control/fuel_accounting.h"
#include "core/controller_state.h"
#include "core/countdown_service.h"
#include "core/refresh_sink.h"
#include "core/sound_player.h"
#include "platform/eeprom.h"
#include "platform/manual_clock.h"
#include "platform/manual_timer_service.h"
#include "settings/schedule.h"
#include "settings/service_table.h"
#include "settings/user_table.h"

namespace vesk {
namespace {

struct FullCycle {
    explicit FullCycle(Variant v) : s(v) {
        serviceDefaults(s.settings, v, true);
        userDefaults(s.settings, v, false, 0);
        initAugerPulse(s);
        initRegulators(s);
        UserParams& u = s.usr;
        s.svc.EMSTART_ENABLE = 0;
        s.svc.feedRate[u.FUEL] = 1563;
        u.HEAT_MODE = 1;
        u.USE_WHETHER = 1;
        u.USE_EMPTY_SENS = 1;
        u.USE_FULL_SENS = 1;
        u.BUNK_AUTOFILL = 1;
        u.USE_ASH = 1;
        u.ANTI_LEGION_ENABLE = 1;
        for (ValveParams* p : {&u.VLV1, &u.VLV2}) {
            p->MODE = 2;
            p->USEWH = 1;
            p->USEAIR = 1;
        }
        // Every hour of every day has a period with both targets.
        Schedule& sch = schedule.schedule;
        sch.enabled = 1;
        sch.programs[0].count = 1;
        sch.programs[0].periods[0] = Period{0, 24, 0, 1, 21, 1, 70};
        for (int32_t& d : sch.dayProgram) d = 0;

        s.sensors = {20, -5, 72, 55, 160, 70, 48, 40, 20, 38, 25, 25};
        s.boardVersion = 0x1100;
        s.boardVersionCopy = 0x1100;
        s.boardInputs = kInBunkerFull;
        s.linkOk = 1;
        s.burnerState = kBurning;
        s.controlFlags |= kFlagStateEntry;
        countdowns.start();
        if (!isKestralo(v)) fuel.load(&eeprom);
        pulse.setFuelHook([this](int64_t ms) { fuel.addRunTime(ms); });
    }

    void second() {
        {
            std::lock_guard<std::recursive_mutex> g(s.stateLock);
            cycle.run();
        }
        clock.advance(1000);
    }

    ControllerState s;
    ManualClock clock;
    ManualTimerService timers{clock};
    CountdownService countdowns{s, timers};
    ScheduleStore schedule;
    RecordingSoundPlayer sound;
    CountingRefreshSink refresh;
    MemoryEeprom eeprom;
    FuelAccounting fuel{s, clock, timers};
    AugerPulseTimer pulse{s, clock, timers, refresh, [] {}};
    ControlCycle cycle{ControlContext{s, clock, timers, refresh, sound, schedule, [] {}, &pulse,
                                      isKestralo(s.variant) ? nullptr : &fuel}};
};

void BM_FullCycleSecond(benchmark::State& state) {
    FullCycle f(state.range(0) ? Variant::Kestralo : Variant::Orvena);
    for (auto _ : state) {
        f.second();
        // The water wanders so that regulators and valves keep working.
        f.s.sensors[kSensorWater] = 68 + static_cast<int>(state.iterations() % 9);
        f.s.sensors[kSensorValve1] = 38 + static_cast<int>(state.iterations() % 5);
    }
    state.SetLabel(state.range(0) ? "KESTRALO" : "ORVENA");
}
BENCHMARK(BM_FullCycleSecond)->Arg(0)->Arg(1);

}  // namespace
}  // namespace vesk

BENCHMARK_MAIN();
