// The menus against the 60 Hz frame budget: opening the user menu (build,
// full repaint, and deleting it again) and opening an editor likewise; and
// one press of an editor's arrow with its partial repaint.
#include <benchmark/benchmark.h>

#include <time.h>

#include <filesystem>

#include "control/auger_pulse.h"
#include "core/refresh_sink.h"
#include "core/sound_player.h"
#include "platform/display/headless_display.h"
#include "platform/manual_clock.h"
#include "platform/manual_timer_service.h"
#include "platform/process.h"
#include "settings/settings_file.h"
#include "ui/screens/editor/editor_screen.h"
#include "ui/screens/menu/menus.h"
#include "ui/screens/menu/screen_catalogue.h"
#include "ui/screens/screen_parts.h"
#include "ui/toolkit/app_frame.h"
#include "ui/toolkit/resources.h"
#include "ui/toolkit/screen.h"

namespace vesk {
namespace {

constexpr double kFrameSeconds = 1.0 / 60;

// An AppFrame with the generated artwork over a bare root screen, and the
// controller state the menus read.
struct MenuRig {
    MenuRig() : state(Variant::Orvena), resources(Resources::forProgram(executableFolder(), executableFolder(), "ORVENA")) {
        loadServiceSettings("", state.settings, state.variant);
        loadUserSettings("", state.settings, state.variant, 0);
        state.boardVersion = 0x2214;
        ctx.backlightPresent = [] { return true; };
        frame = std::make_unique<AppFrame>(display, clock, resources, sound);
        frame->setRoot(new Screen(frame.get()));
        frame->processPending();
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

bool haveArt(benchmark::State& state) {
    if (std::filesystem::exists(executableFolder() + "res/189.png")) return true;
    state.SkipWithError("no artwork beside the benchmark (build vesk_artwork)");
    return false;
}

double threadSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

// The share of a frame, by the UI thread's own CPU time: a busy machine
// stretches the wall time, not the work.
template <typename Body>
void measure(benchmark::State& state, Body body) {
    const double start = threadSeconds();
    for (auto _ : state) body();
    if (state.iterations() > 0)
        state.counters["frame_fraction"] = (threadSeconds() - start) / double(state.iterations()) / kFrameSeconds;
}

// "МЕНЮ": the user menu is built from its table and painted whole.
void BM_OpenUserMenu(benchmark::State& state) {
    if (!haveArt(state)) return;
    MenuRig r;
    measure(state, [&] {
        openUserMenu(*r.frame, r.ctx);
        r.frame->processPending();
        // Deleted at the start of the next round's processPending.
        closeScreen(r.frame->top());
    });
}
BENCHMARK(BM_OpenUserMenu)->Unit(benchmark::kMicrosecond);

// An editor of three value fields over the menu, built and painted whole.
void BM_OpenEditor(benchmark::State& state) {
    if (!haveArt(state)) return;
    MenuRig r;
    measure(state, [&] {
        openScreen(*r.frame, r.ctx, ScreenId::CombustionCorrection);
        r.frame->processPending();
        // Deleted at the start of the next round's processPending.
        closeScreen(r.frame->top());
    });
}
BENCHMARK(BM_OpenEditor)->Unit(benchmark::kMicrosecond);

// One arrow press: limits read under stateLock, the value box repainted.
void BM_EditorPress(benchmark::State& state) {
    if (!haveArt(state)) return;
    MenuRig r;
    openScreen(*r.frame, r.ctx, ScreenId::RoomSetpoint);
    r.frame->processPending();
    auto* e = static_cast<EditorScreen*>(r.frame->top());
    int n = 0;
    measure(state, [&] {
        if (n++ % 40 < 20)
            e->increase();
        else
            e->decrease();
        r.frame->processPending();
    });
}
BENCHMARK(BM_EditorPress)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace vesk

BENCHMARK_MAIN();
