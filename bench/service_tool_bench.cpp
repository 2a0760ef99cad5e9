// The service tool against the 60 Hz frame: from the start of the Tavrik
// process to its first painted page, the sheet's own build and first paint,
// and a switch from one page to another.
#include <benchmark/benchmark.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>

#include "core/sound_player.h"
#include "platform/display/headless_display.h"
#include "platform/manual_clock.h"
#include "platform/process.h"
#include "service_tool/board_test.h"
#include "service_tool/service_sheet.h"
#include "settings/service_table.h"
#include "support/child_process.h"
#include "support/line_link.h"
#include "ui/toolkit/app_frame.h"
#include "ui/toolkit/resources.h"

namespace vesk {
namespace {

using Clock = std::chrono::steady_clock;
constexpr double kFrameSeconds = 1.0 / 60;

class NoRefresh : public RefreshSink {
public:
    void postRefresh() override {}
};

class NoAdapter : public NetworkAdapter {
public:
    AdapterState query() override { return {}; }
};

struct SheetRig {
    SheetRig()
        : resources(executableFolder() + "res/", {executableFolder()}),
          frame(display, clock, resources, sound),
          board(clock, refresh) {
        serviceDefaults(record.settings, kToolVariant, true);
    }
    ServiceSheet* open() {
        auto* sheet = new ServiceSheet(&frame, record, board, adapter, {});
        frame.setRoot(sheet);
        frame.invalidateAll();
        frame.processPending();
        return sheet;
    }
    HeadlessDisplay display;
    ManualClock clock;
    RecordingSoundPlayer sound;
    Resources resources;
    AppFrame frame;
    NoRefresh refresh;
    BoardTest board;
    NoAdapter adapter;
    ServiceRecord record;
};

void reportFrames(benchmark::State& state, double secondsPerRun) {
    state.counters["frame_fraction"] = secondsPerRun / kFrameSeconds;
}

// exec, libraries, fonts, pictures, the sheet and the first paint, as the
// automation socket's "sync" (which paints what is pending) sees them.
void BM_TavrikStartToFirstPaint(benchmark::State& state) {
    const std::string dir = std::filesystem::temp_directory_path() / ("vesk-tavrik-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    double total = 0;
    for (auto _ : state) {
        const std::string sock = dir + "/ui.sock";
        std::filesystem::remove(sock);
        const auto start = Clock::now();
        test::ChildProcess tool;
        tool.start(executableFolder() + "Tavrik", {},
                   {{"VESK_HOME", dir + "/"}, {"VESK_DISPLAY", "headless"}, {"VESK_AUTOMATION", sock},
                    {"VESK_COM1", dir + "/no-board"}, {"SDL_AUDIODRIVER", "dummy"}});
        test::LineLink ui(sock, std::chrono::milliseconds(20000));
        if (!ui.connected() || ui.ask("sync") != "ok") {
            state.SkipWithError("Tavrik did not answer");
            break;
        }
        const double s = std::chrono::duration<double>(Clock::now() - start).count();
        state.SetIterationTime(s);
        total += s;
        ::kill(tool.pid(), SIGTERM);
        while (tool.running()) ::usleep(1000);
    }
    if (state.iterations() > 0) reportFrames(state, total / static_cast<double>(state.iterations()));
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_TavrikStartToFirstPaint)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

void BM_SheetBuildAndFirstPaint(benchmark::State& state) {
    SheetRig rig;
    rig.open();  // pictures and fonts loaded once, as in the running tool
    const auto start = Clock::now();
    for (auto _ : state) rig.open();
    reportFrames(state, std::chrono::duration<double>(Clock::now() - start).count() / double(state.iterations()));
}
BENCHMARK(BM_SheetBuildAndFirstPaint)->Unit(benchmark::kMicrosecond);

// Leaving one page (its values applied) and painting the next whole.
void BM_PageSwitch(benchmark::State& state) {
    SheetRig rig;
    ServiceSheet* sheet = rig.open();
    int page = 0;
    const int pages[] = {ServiceSheet::kAugerPage, ServiceSheet::kCombustion2Page, ServiceSheet::kTestPage,
                         ServiceSheet::kPidPage};
    const auto start = Clock::now();
    for (auto _ : state) {
        sheet->selectPage(pages[page++ % 4]);
        rig.frame.processPending();
    }
    reportFrames(state, std::chrono::duration<double>(Clock::now() - start).count() / double(state.iterations()));
}
BENCHMARK(BM_PageSwitch)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace vesk

BENCHMARK_MAIN();
