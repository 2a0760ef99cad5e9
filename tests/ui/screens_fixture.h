// Shared set-up of the screen tests: a headless screen and a manual clock,
// the controller state with its control services, and a resource folder in
// which every picture and animation the screens use is drawn at its real
// size in one flat colour of its own, so pixels tell what is shown.
#pragma once
#include <cairo.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "control/auger_pulse.h"
#include "control/control_context.h"
#include "core/controller_state.h"
#include "core/refresh_sink.h"
#include "core/sound_player.h"
#include "platform/display/headless_display.h"
#include "platform/manual_clock.h"
#include "platform/manual_timer_service.h"
#include "settings/schedule.h"
#include "settings/settings_file.h"
#include "support/test_support.h"
#include "toolkit_fixture.h"
#include "ui/screens/screen_context.h"
#include "ui/toolkit/app_frame.h"
#include "ui/toolkit/resources.h"

namespace vesk {
inline void PrintTo(Variant v, std::ostream* os) { *os << variantInfo(v).programName; }
}  // namespace vesk

namespace vesk::test {

constexpr uint32_t kKeyPixel = 0xFF00FF;

// The flat colour of picture `id` (an XRGB pixel; never the key).
inline uint32_t pictureColor(int id) {
    const uint32_t r = 30 + (id * 37) % 200, g = 30 + (id * 91) % 200, b = 30 + (id * 53) % 200;
    return r << 16 | g << 8 | b;
}

// The flat colour of frame `f` of animation file number `n`.
inline uint32_t frameColor(int n, int f) { return pictureColor(1000 + n * 10 + f); }

struct PictureSize {
    int id, w, h;
};

// Catalogue sizes of the pictures the home, manual ignition and dialog
// screens use.
inline const std::vector<PictureSize>& screenPictures() {
    static const std::vector<PictureSize> sizes = {
        {167, 320, 240}, {193, 320, 240}, {170, 80, 28},  {171, 80, 28},  {243, 80, 28},  {244, 80, 28},
        {172, 94, 48},   {173, 94, 48},   {195, 190, 26}, {196, 190, 26}, {197, 190, 26}, {199, 190, 26},
        {201, 44, 18},   {202, 28, 28},   {203, 28, 28},  {204, 22, 18},  {205, 22, 18},  {207, 276, 26},
        {209, 276, 26},  {210, 50, 26},   {211, 50, 26},  {212, 50, 26},  {213, 50, 26},  {214, 28, 24},
        {215, 28, 24},   {216, 28, 24},   {217, 46, 16},  {218, 32, 32},  {219, 32, 32},  {225, 113, 132},
        {226, 184, 176}, {241, 30, 22},   {242, 54, 46},  {268, 187, 34}, {273, 22, 36},  {274, 78, 24},
        {275, 78, 24},   {283, 47, 12},   {284, 47, 12},  {285, 26, 22},  {286, 26, 22},  {287, 26, 22},
        {288, 145, 24},  {289, 92, 56},   {290, 92, 56},  {291, 36, 14},  {292, 36, 14},  {299, 30, 22},
        {300, 30, 22},   {301, 30, 22},   {302, 30, 22},  {303, 30, 22},  {304, 30, 22},
        // Menus and editors.
        {163, 234, 44},  {277, 234, 44},  {182, 184, 36}, {183, 184, 36}, {184, 94, 60},  {185, 94, 60},
        {186, 94, 60},   {187, 94, 60},   {189, 320, 240}, {228, 235, 36}, {229, 235, 36}, {230, 56, 60},
        {231, 56, 60},   {232, 56, 60},   {233, 56, 60},  {247, 36, 34},  {248, 36, 34},  {249, 36, 34},
        {250, 36, 34},
        // Screens with their own layouts.
        {255, 243, 36}, {256, 243, 36}, {257, 55, 28},  {258, 55, 28},  {259, 40, 28},  {260, 57, 24},
        {261, 30, 24},  {266, 106, 28}, {267, 106, 28}, {271, 195, 34}, {272, 195, 34}, {279, 195, 34},
        {280, 195, 34}, {281, 118, 36}, {282, 118, 36},
    };
    return sizes;
}

struct AnimationFile {
    const char* file;
    int n, w, h, frames, period;
};

inline const std::vector<AnimationFile>& screenAnimations() {
    static const std::vector<AnimationFile> files = {
        {"fan.mbm", 1, 22, 22, 4, 100},   {"wormORVENA.mbm", 2, 110, 20, 4, 150}, {"worm.mbm", 3, 96, 20, 4, 150},
        {"fire.mbm", 4, 64, 36, 6, 120},  {"smoke.mbm", 5, 64, 36, 6, 200},       {"pumpon.mbm", 6, 28, 28, 4, 100},
    };
    return files;
}

inline int animationNumber(const std::string& file) {
    for (const AnimationFile& a : screenAnimations())
        if (file == a.file) return a.n;
    return 0;
}

// A flat picture; the top-left pixel is the key, and so is `hole`.
inline void writeFlatPng(const std::string& path, int w, int h, uint32_t fill, Rect hole = {}) {
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h);
    cairo_surface_flush(s);
    auto* data = cairo_image_surface_get_data(s);
    const int stride = cairo_image_surface_get_stride(s);
    for (int y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(data + y * stride);
        for (int x = 0; x < w; ++x) row[x] = hole.contains(x, y) ? kKeyPixel : fill;
    }
    reinterpret_cast<uint32_t*>(data)[0] = kKeyPixel;
    cairo_surface_mark_dirty(s);
    cairo_surface_write_to_png(s, path.c_str());
    cairo_surface_destroy(s);
}

inline void put16(std::vector<uint8_t>& b, uint32_t v) {
    for (int i = 0; i < 2; ++i) b.push_back((v >> (8 * i)) & 0xFF);
}
inline void put32(std::vector<uint8_t>& b, uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back((v >> (8 * i)) & 0xFF);
}

// Frames of one flat colour each, the top-left pixel keyed.
inline void writeFlatMbm(const std::string& path, const AnimationFile& a) {
    std::vector<uint8_t> b;
    put16(b, uint32_t(a.frames));
    put16(b, uint32_t(a.period));
    const int stride = (a.w + 3) & ~3;
    for (int f = 0; f < a.frames; ++f) {
        for (uint32_t v : {40u, uint32_t(a.w), uint32_t(a.h)}) put32(b, v);
        put16(b, 1);
        put16(b, 8);
        for (uint32_t v : {0u, uint32_t(stride * a.h), 0u, 0u, 2u, 0u}) put32(b, v);
        for (uint32_t c : {kKeyPixel, frameColor(a.n, f)}) {
            b.push_back(c & 0xFF);
            b.push_back((c >> 8) & 0xFF);
            b.push_back((c >> 16) & 0xFF);
            b.push_back(0);
        }
        for (int stored = 0; stored < a.h; ++stored)
            for (int x = 0; x < stride; ++x) b.push_back(stored == a.h - 1 && x == 0 ? 0 : 1);
    }
    writeText(path, std::string(b.begin(), b.end()));
}

// Stands in for the network layer.
struct FakeNetwork : NetworkIndicators {
    NetworkView view;
    NetworkView network() override { return view; }
};

class ScreensTest : public ::testing::Test {
protected:
    explicit ScreensTest(Variant v) : state(v) {
        std::filesystem::create_directories(dir.file("res"));
        std::filesystem::create_directories(dir.file("CFG"));
        for (const PictureSize& p : screenPictures()) {
            // The boiler picture lets the fuel icon show through its window.
            const Rect hole = p.id == 226 ? Rect{39, 121, 75, 135} : Rect{};
            writeFlatPng(dir.file("res/" + std::to_string(p.id) + ".png"), p.w, p.h, pictureColor(p.id), hole);
        }
        for (const AnimationFile& a : screenAnimations()) writeFlatMbm(dir.file(a.file), a);
        resources = std::make_unique<Resources>(dir.file("res/"), std::vector<std::string>{dir.path()});
        frame = std::make_unique<AppFrame>(display, clock, *resources, sound);

        loadServiceSettings(dir.file("CFG/none.cfg"), state.settings, state.variant);
        loadUserSettings(dir.file("CFG/none.cfg"), state.settings, state.variant, 0);
        state.linkOk = 1;
        state.boardVersion = state.boardVersionCopy = 0x2214;
        for (int i = 0; i < kSensorCount; ++i) state.sensors[i] = 20;
        clock.setListener(&timers);
    }
    ~ScreensTest() override {
        frame.reset();
        clock.setListener(nullptr);
    }

    bool kestralo() const { return isKestralo(state.variant); }

    // Posts a refresh as the other threads do and handles it.
    void refresh() {
        frame->postRefresh();
        frame->processPending();
    }
    // Panel time goes on; window timers fire at their own times.
    void advance(int64_t ms) { advanceFrame(clock, *frame, ms); }
    void tap(int x, int y) {
        frame->penDown(x, y);
        frame->penUp(x, y);
        frame->processPending();
    }
    uint32_t px(int x, int y) { return display.pixels()[y * kScreenWidth + x] & 0xFFFFFF; }
    // Pixels of `r` (screen coordinates) that have colour `c`.
    int count(const Rect& r, uint32_t c) {
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) n += px(x, y) == c;
        return n;
    }
    // Copies a screen area, for before/after comparisons.
    std::vector<uint32_t> grab(const Rect& r) {
        std::vector<uint32_t> out;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) out.push_back(px(x, y));
        return out;
    }

    TempDir dir;
    HeadlessDisplay display;
    ManualClock clock;
    ManualTimerService timers{clock};
    RecordingSoundPlayer sound;
    CountingRefreshSink refreshSink;
    ControllerState state;
    ScheduleStore schedule;
    AugerPulseTimer pulse{state, clock, timers, refreshSink, {}};
    ControlContext control{state, clock, timers, refreshSink, sound, schedule, {}, &pulse};
    FakeNetwork network;
    ScreenContext ctx{control, dir.path(), &network};
    std::unique_ptr<Resources> resources;
    std::unique_ptr<AppFrame> frame;
};

class OrvenaScreens : public ScreensTest {
protected:
    OrvenaScreens() : ScreensTest(Variant::Orvena) {}
};

class KestraloScreens : public ScreensTest {
protected:
    KestraloScreens() : ScreensTest(Variant::Kestralo) {}
};

class BothVariants : public ScreensTest, public ::testing::WithParamInterface<Variant> {
protected:
    BothVariants() : ScreensTest(GetParam()) {}
};

inline std::string variantName(const ::testing::TestParamInfo<Variant>& i) {
    return std::string(variantInfo(i.param).programName);
}

}  // namespace vesk::test
