// The controller with its window (headless) and the simulated boiler as
// real processes: the test taps through the automation socket, injects
// sensor faults through the simulator's control socket and watches the
// screenshots change.
#include <cairo.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <functional>
#include <optional>
#include <thread>

#include "support/child_process.h"
#include "support/line_link.h"
#include "support/test_support.h"

namespace vesk {
namespace {

using namespace std::chrono;
using test::ChildProcess;
using test::LineLink;

constexpr auto kPatience = seconds(40);  // a loaded machine is slow
constexpr const char* kTimeScale = "4";

struct Area {
    int left, top, right, bottom;
};

// A screenshot's pixels.
struct Shot {
    int width = 0, height = 0;
    std::vector<uint32_t> px;
    std::vector<uint32_t> area(const Area& a) const {
        std::vector<uint32_t> out;
        for (int y = a.top; y < a.bottom; ++y)
            for (int x = a.left; x < a.right; ++x) out.push_back(px[size_t(y * width + x)] & 0xFFFFFF);
        return out;
    }
    int count(const Area& a, uint32_t pixel) const {
        int n = 0;
        for (uint32_t p : area(a)) n += p == pixel;
        return n;
    }
};

std::optional<Shot> loadShot(const std::string& path) {
    cairo_surface_t* s = cairo_image_surface_create_from_png(path.c_str());
    if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(s);
        return std::nullopt;
    }
    Shot shot;
    shot.width = cairo_image_surface_get_width(s);
    shot.height = cairo_image_surface_get_height(s);
    const int stride = cairo_image_surface_get_stride(s);
    const unsigned char* data = cairo_image_surface_get_data(s);
    for (int y = 0; y < shot.height; ++y)
        for (int x = 0; x < shot.width; ++x)
            shot.px.push_back(reinterpret_cast<const uint32_t*>(data + y * stride)[x]);
    cairo_surface_destroy(s);
    return shot;
}

class PanelUi {
public:
    PanelUi(const std::string& program, const std::string& variantOption) {
        std::filesystem::create_directories(home.file("CFG"));
        test::writeText(home.file("CFG/service.cfg"), "BOILER_TYPE=2\nPOWER=150\n");
        // The burner was burning when the power went: it resumes burning.
        std::string eeprom(4096, '\0');
        eeprom[0] = 2;
        test::writeText(home.file("eeprom.bin"), eeprom);

        const std::map<std::string, std::string> common = {{"VESK_TIME_SCALE", kTimeScale},
                                                           {"SDL_AUDIODRIVER", "dummy"}};
        started = sim.start(test::binDir() + "boiler-sim",
                            {"--variant", variantOption, "--control", home.file("sim.sock"), "--no-stdin",
                             "--print-every", "0"},
                            common);
        if (!started) return;
        const auto first = sim.readLine(kPatience);
        started = first && first->rfind("VESK_COM1=", 0) == 0;
        if (!started) return;
        auto env = common;
        env["VESK_HOME"] = home.path();
        env["VESK_COM1"] = first->substr(10);
        env["VESK_DISPLAY"] = "headless";
        env["VESK_AUTOMATION"] = home.file("ui.sock");
        started = panel.start(test::binDir() + program, {}, env);
        if (!started) return;
        ui = std::make_unique<LineLink>(home.file("ui.sock"));
        control = std::make_unique<LineLink>(home.file("sim.sock"));
        started = ui->connected() && control->connected();
    }

    Shot shot() {
        const std::string path = home.file("shot" + std::to_string(shots++) + ".png");
        EXPECT_EQ(ui->ask("sync"), "ok");
        EXPECT_EQ(ui->ask("shot " + path), "ok");
        auto s = loadShot(path);
        EXPECT_TRUE(s.has_value());
        std::filesystem::remove(path);
        return s ? *s : Shot{};
    }
    // Takes screenshots until `done` holds for one (and the shot before it).
    bool waitFor(const std::function<bool(const Shot& before, const Shot& now)>& done) {
        const auto end = steady_clock::now() + kPatience;
        Shot before = shot();
        while (steady_clock::now() < end) {
            std::this_thread::sleep_for(milliseconds(120));
            Shot now = shot();
            if (done(before, now)) return true;
            before = std::move(now);
        }
        return false;
    }

    test::TempDir home;
    ChildProcess sim, panel;
    std::unique_ptr<LineLink> ui, control;
    bool started = false;
    int shots = 0;
};

constexpr Area kWaterValue{10, 64, 58, 89};
constexpr Area kInfoTab{240, 0, 320, 28};
constexpr Area kHeadingBand{0, 40, 320, 65};
constexpr Area kInfoText{0, 40, 320, 185};

TEST(UiEndToEnd, ScreenFollowsTheBoilerAndTheTaps) {
    PanelUi p("ORVENA", "orvena");
    ASSERT_TRUE(p.started);
    const Area firebox{152, 127, 216, 163};

    // Burning is restored once the board is heard: the fire animates.
    EXPECT_TRUE(p.waitFor([&](const Shot& a, const Shot& b) { return a.area(firebox) != b.area(firebox); }))
        << "fire on the boiler page";
    const Shot healthy = p.shot();

    // A broken water sensor: "--°C", the alarm, the fire out and a blinking tab.
    EXPECT_EQ(p.control->ask("sensor water open"), "ok water open");
    EXPECT_TRUE(p.waitFor([&](const Shot&, const Shot& b) { return b.area(kWaterValue) != healthy.area(kWaterValue); }));
    EXPECT_TRUE(p.waitFor([&](const Shot& a, const Shot& b) { return a.area(kInfoTab) != b.area(kInfoTab); }))
        << "the info tab blinks";
    EXPECT_TRUE(p.waitFor([&](const Shot& a, const Shot& b) {
        return a.area(firebox) == b.area(firebox) && b.area(firebox) != healthy.area(firebox);
    })) << "a fault puts the fire out of the picture";
    const Shot broken = p.shot();
    EXPECT_NE(p.ui->ask("sounds").find("245"), std::string::npos) << "the fault alarm was played";

    // The info page lists the fault under its red heading.
    EXPECT_EQ(p.ui->ask("tap 280 10"), "ok");
    const Shot info = p.shot();
    EXPECT_GT(info.count(kHeadingBand, 0xFF0000), 0);
    EXPECT_NE(info.area(kInfoText), broken.area(kInfoText));

    // Repaired: the fault list gives way.
    EXPECT_EQ(p.control->ask("sensor water clear"), "ok water clear");
    EXPECT_TRUE(p.waitFor([&](const Shot&, const Shot& b) { return b.area(kInfoText) != info.area(kInfoText); }));
    EXPECT_EQ(p.ui->ask("tap 20 10"), "ok");
    EXPECT_TRUE(p.waitFor([&](const Shot&, const Shot& b) { return b.area(kWaterValue) != broken.area(kWaterValue); }))
        << "the water temperature is back";

    // A stop signal ends the message loop and the program.
    ::kill(p.panel.pid(), SIGTERM);
    const auto end = steady_clock::now() + kPatience;
    while (p.panel.running() && steady_clock::now() < end) std::this_thread::sleep_for(milliseconds(50));
    EXPECT_FALSE(p.panel.running());
}

// The board falls silent while the boiler burns (the simulator is frozen):
// within the receiver's time-out the boiler page drops the readings, puts
// the fire out of the picture and says the link is lost; with frames again
// it shows the boiler once more.
TEST(UiEndToEnd, LostBoardLinkShowsUntilFramesReturn) {
    PanelUi p("ORVENA", "orvena");
    ASSERT_TRUE(p.started);
    const Area firebox{152, 127, 216, 163};
    const Area modeText{8, 162, 70, 174};
    const Area fan{219, 158, 241, 180};
    EXPECT_TRUE(p.waitFor([&](const Shot& a, const Shot& b) { return a.area(firebox) != b.area(firebox); }))
        << "fire on the boiler page";
    const Shot burning = p.shot();

    struct Thaw {
        pid_t pid;
        ~Thaw() { ::kill(pid, SIGCONT); }
    } thaw{p.sim.pid()};
    ASSERT_EQ(::kill(p.sim.pid(), SIGSTOP), 0);
    EXPECT_TRUE(p.waitFor([&](const Shot& a, const Shot& b) {
        return b.area(kWaterValue) != burning.area(kWaterValue) && b.area(modeText) != burning.area(modeText) &&
               a.area(firebox) == b.area(firebox) && b.area(firebox) != burning.area(firebox);
    })) << "the lost link shows";
    const Shot lost = p.shot();
    std::this_thread::sleep_for(milliseconds(400));
    const Shot later = p.shot();
    EXPECT_EQ(later.area(firebox), lost.area(firebox)) << "nothing animates";
    EXPECT_EQ(later.area(fan), lost.area(fan));

    ::kill(p.sim.pid(), SIGCONT);
    EXPECT_TRUE(p.waitFor([&](const Shot& a, const Shot& b) {
        return b.area(kWaterValue) != lost.area(kWaterValue) && b.area(modeText) != lost.area(modeText) &&
               a.area(firebox) != b.area(firebox);
    })) << "frames again: readings, mode and fire are back";
}

TEST(UiEndToEnd, KestraloDrawsItsOwnBoiler) {
    PanelUi k("KESTRALO", "kestralo");
    ASSERT_TRUE(k.started);
    const Area firebox{147, 124, 211, 160};
    EXPECT_TRUE(k.waitFor([&](const Shot& a, const Shot& b) { return a.area(firebox) != b.area(firebox); }))
        << "its fire animates at its own place";
    const Shot boiler = k.shot();
    EXPECT_EQ(k.ui->ask("tap 180 10"), "ok");
    const Area page{0, 40, 320, 185};
    EXPECT_NE(k.shot().area(page), boiler.area(page)) << "the set-point page";
    ::kill(k.panel.pid(), SIGINT);
    const auto end = steady_clock::now() + kPatience;
    while (k.panel.running() && steady_clock::now() < end) std::this_thread::sleep_for(milliseconds(50));
    EXPECT_FALSE(k.panel.running());
}

}  // namespace
}  // namespace vesk
