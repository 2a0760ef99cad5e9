// Paint costs against the 60 Hz frame budget: a full repaint of a busy
// screen and the partial repaint of one value.
#include <benchmark/benchmark.h>
#include <cairo.h>

#include <filesystem>
#include <string>

#include <unistd.h>

#include "bench/frame_budget.h"
#include "core/sound_player.h"
#include "platform/display/headless_display.h"
#include "platform/manual_clock.h"
#include "ui/toolkit/app_frame.h"
#include "ui/toolkit/button.h"
#include "ui/toolkit/label.h"
#include "ui/toolkit/resources.h"
#include "ui/toolkit/screen.h"
#include "ui/toolkit/value_field.h"

namespace vesk {
namespace {

void writePicture(const std::string& path, int w, int h, uint32_t pixel, bool keyedCorner) {
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h);
    cairo_t* cr = cairo_create(s);
    cairo_set_source_rgb(cr, ((pixel >> 16) & 0xFF) / 255.0, ((pixel >> 8) & 0xFF) / 255.0, (pixel & 0xFF) / 255.0);
    cairo_paint(cr);
    if (keyedCorner) {
        cairo_set_source_rgb(cr, 1, 0, 1);
        cairo_rectangle(cr, 0, 0, 6, 6);  // key-coloured corners, as the art has
        cairo_rectangle(cr, w - 6, h - 6, 6, 6);
        cairo_fill(cr);
    }
    cairo_destroy(cr);
    cairo_surface_write_to_png(s, path.c_str());
    cairo_surface_destroy(s);
}

// A screen like the busiest editor: background, 15 keyed pictures with
// captions, 20 texts and one value field.
struct BusyScreen {
    BusyScreen() : dir(std::filesystem::temp_directory_path() / ("vesk-ui-bench-" + std::to_string(::getpid()))) {
        std::filesystem::create_directories(dir / "res");
        const std::string res = (dir / "res").string() + "/";
        writePicture(res + "193.png", 320, 240, 0xD8E4F0, false);
        writePicture(res + "173.png", 94, 40, 0x007CC3, true);
        writePicture(res + "172.png", 94, 40, 0x004070, true);
        writePicture(res + "229.png", 150, 36, 0xFFFFFF, true);
        writePicture(res + "228.png", 150, 36, 0xF0C080, true);
        resources = std::make_unique<Resources>(res, std::vector<std::string>{});
        frame = std::make_unique<AppFrame>(display, clock, *resources, sound);
        screen = new Screen(frame.get());
        screen->setBackground(193, false);
        for (int i = 0; i < 15; ++i) {
            auto* b = new Button(screen);
            b->setBitmaps((i % 3) * 106, 2 + (i / 3) * 46, 173, 172);
            b->setText("КНОПКА " + std::to_string(i));
            b->setFont(12, true);
            screen->addChild(b);
        }
        for (int i = 0; i < 20; ++i) {
            auto* l = new Label(screen);
            l->setBounds((i % 2) * 160, 2 + (i / 2) * 23, 160, 20, 0, "Температура " + std::to_string(i * 7) + "°C");
            l->setFont(i % 3 == 0 ? 14 : 11, i % 2 == 0);
            screen->addChild(l);
        }
        field = new ValueField(screen);
        field->setBitmaps(20, 200, 229, 228);
        field->setText("ГИСТЕРЕЗИС");
        field->setValueKind(0);
        field->setValue(65, false);
        screen->addChild(field);
        frame->setRoot(screen);
    }
    ~BusyScreen() {
        frame.reset();
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
    std::filesystem::path dir;
    HeadlessDisplay display;
    ManualClock clock;
    RecordingSoundPlayer sound;
    std::unique_ptr<Resources> resources;
    std::unique_ptr<AppFrame> frame;
    Screen* screen = nullptr;
    ValueField* field = nullptr;
};

void BM_FullRepaint(benchmark::State& state) {
    BusyScreen s;
    const double start = threadCpuSeconds();
    for (auto _ : state) {
        s.frame->invalidateAll();
        s.frame->processPending();
    }
    reportBudget(state, start);
}
BENCHMARK(BM_FullRepaint)->Unit(benchmark::kMicrosecond);

void BM_ValueRepaint(benchmark::State& state) {
    BusyScreen s;
    s.frame->invalidateAll();
    s.frame->processPending();
    int v = 0;
    const double start = threadCpuSeconds();
    for (auto _ : state) {
        s.field->setValue(v++ % 100, true);
        s.frame->processPending();
    }
    reportBudget(state, start);
}
BENCHMARK(BM_ValueRepaint)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace vesk

BENCHMARK_MAIN();
