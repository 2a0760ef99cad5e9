// The screens' surroundings for the UI benchmarks: an AppFrame on a
// headless display with the generated artwork, manual time, and the
// controller state with its control services, defaults loaded (ORVENA).
#pragma once
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>

#include "control/auger_pulse.h"
#include "core/refresh_sink.h"
#include "core/sound_player.h"
#include "platform/display/headless_display.h"
#include "platform/manual_clock.h"
#include "platform/manual_timer_service.h"
#include "platform/process.h"
#include "settings/settings_file.h"
#include "ui/screens/screen_context.h"
#include "ui/toolkit/app_frame.h"
#include "ui/toolkit/resources.h"

namespace vesk {

struct ScreenRig {
    ScreenRig() : state(Variant::Orvena), resources(Resources::forProgram(executableFolder(), executableFolder(), "ORVENA")) {
        loadServiceSettings("", state.settings, state.variant);
        loadUserSettings("", state.settings, state.variant, 0);
        state.boardVersion = 0x2214;
        clock.setListener(&timers);
        frame = std::make_unique<AppFrame>(display, clock, resources, sound);
    }
    ~ScreenRig() {
        frame.reset();
        clock.setListener(nullptr);
    }

    HeadlessDisplay display;
    ManualClock clock;
    ManualTimerService timers{clock};
    RecordingSoundPlayer sound;
    CountingRefreshSink refresh;
    ControllerState state;
    ScheduleStore schedule;
    AugerPulseTimer pulse{state, clock, timers, refresh, {}};
    ControlContext control{state, clock, timers, refresh, sound, schedule, {}, &pulse};
    ScreenContext ctx{control, "", nullptr};
    Resources resources;
    std::unique_ptr<AppFrame> frame;
};

// False, with the benchmark marked skipped, when picture `id` of the
// generated artwork is not beside the benchmark.
inline bool haveArtwork(benchmark::State& state, int id) {
    if (std::filesystem::exists(executableFolder() + "res/" + std::to_string(id) + ".png")) return true;
    state.SkipWithError("no artwork beside the benchmark (build vesk_artwork)");
    return false;
}

}  // namespace vesk
