// Shared set-up of the toolkit tests: a headless screen, a manual clock, a
// recording sound player and a resource folder of small generated pictures.
#pragma once
#include <cairo.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "core/sound_player.h"
#include "platform/display/headless_display.h"
#include "platform/manual_clock.h"
#include "support/test_support.h"
#include "ui/toolkit/app_frame.h"
#include "ui/toolkit/resources.h"
#include "ui/toolkit/widget.h"

namespace vesk::test {

// Writes a 24-bit PNG of `w` x `h` filled with `fill` (a GDI colour), with
// the top-left pixel in `corner`.
inline void writePng(const std::string& path, int w, int h, Color fill, Color corner) {
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h);
    cairo_surface_flush(s);
    auto* data = cairo_image_surface_get_data(s);
    const int stride = cairo_image_surface_get_stride(s);
    for (int y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(data + y * stride);
        for (int x = 0; x < w; ++x) row[x] = toPixel(fill);
    }
    reinterpret_cast<uint32_t*>(data)[0] = toPixel(corner);
    cairo_surface_mark_dirty(s);
    cairo_surface_write_to_png(s, path.c_str());
    cairo_surface_destroy(s);
}

inline void writePng(const std::string& path, int w, int h, Color fill) { writePng(path, w, h, fill, fill); }

// Advances panel time, stopping at every timer deadline on the way so each
// fires at its own time.
inline void advanceFrame(ManualClock& clock, AppFrame& frame, int64_t ms) {
    const int64_t target = clock.nowMs() + ms;
    for (;;) {
        const int64_t next = frame.nextDueMs();
        if (next > target) break;
        if (next > clock.nowMs()) clock.advance(next - clock.nowMs());
        frame.processPending();
    }
    if (target > clock.nowMs()) clock.advance(target - clock.nowMs());
    frame.processPending();
}

// Key colour of the generated keyed pictures.
constexpr Color kTestKey = 0xFF00FF;

class ToolkitTest : public ::testing::Test {
protected:
    ToolkitTest() {
        std::filesystem::create_directories(dir.file("res"));
        resources = std::make_unique<Resources>(dir.file("res/"), std::vector<std::string>{dir.path()});
        frame = std::make_unique<AppFrame>(display, clock, *resources, sound);
    }

    // A picture of `w` x `h` in `fill`, keyed corner when `keyedCorner`.
    void addPicture(int id, int w, int h, Color fill, bool keyedCorner = false) {
        writePng(dir.file("res/" + std::to_string(id) + ".png"), w, h, fill, keyedCorner ? kTestKey : fill);
    }

    void advance(int64_t ms) { advanceFrame(clock, *frame, ms); }

    uint32_t screenPixel(int x, int y) { return display.pixels()[y * kScreenWidth + x] & 0xFFFFFF; }

    TempDir dir;
    HeadlessDisplay display;
    ManualClock clock;
    RecordingSoundPlayer sound;
    std::unique_ptr<Resources> resources;
    std::unique_ptr<AppFrame> frame;
};

// A widget that writes down what happens to it.
class ProbeWidget : public Widget {
public:
    ProbeWidget(AppFrame* f, std::vector<std::string>* log, std::string name, int x = 0, int y = 0, int w = 320,
                int h = 240)
        : Widget(f, x, y, w, h), log_(log), name_(std::move(name)) {}
    void show() override {
        log_->push_back(name_ + ".show");
        Widget::show();
    }
    void hide() override {
        log_->push_back(name_ + ".hide");
        Widget::hide();
    }
    void refresh() override { log_->push_back(name_ + ".refresh"); }
    void penDown(Point p) override { log_->push_back(name_ + ".down " + std::to_string(p.x) + "," + std::to_string(p.y)); }
    void penMove(Point p) override { log_->push_back(name_ + ".move " + std::to_string(p.x) + "," + std::to_string(p.y)); }
    void penUp(Point p) override { log_->push_back(name_ + ".up " + std::to_string(p.x) + "," + std::to_string(p.y)); }
    void timerTick() override { log_->push_back(name_ + ".tick"); }
    void paint(Painter& p) override {
        log_->push_back(name_ + ".paint");
        Widget::paint(p);
    }

private:
    std::vector<std::string>* log_;
    std::string name_;
};

}  // namespace vesk::test
