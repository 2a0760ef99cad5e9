// The menus against the 60 Hz frame budget: opening the user menu (build,
// full repaint, and deleting it again) and opening an editor likewise; and
// one press of an editor's arrow with its partial repaint.
#include <benchmark/benchmark.h>

#include "bench/frame_budget.h"
#include "bench/screen_rig.h"
#include "ui/screens/editor/editor_screen.h"
#include "ui/screens/menu/menus.h"
#include "ui/screens/menu/screen_catalogue.h"
#include "ui/screens/screen_parts.h"
#include "ui/toolkit/screen.h"

namespace vesk {
namespace {

// A bare root screen under the menus, and a backlight to set.
struct MenuRig : ScreenRig {
    MenuRig() {
        ctx.backlightPresent = [] { return true; };
        frame->setRoot(new Screen(frame.get()));
        frame->processPending();
    }
};

bool haveArt(benchmark::State& state) { return haveArtwork(state, 189); }

// The share of a frame, by the UI thread's own CPU time.
template <typename Body>
void measure(benchmark::State& state, Body body) {
    const double start = threadCpuSeconds();
    for (auto _ : state) body();
    reportBudget(state, start);
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
