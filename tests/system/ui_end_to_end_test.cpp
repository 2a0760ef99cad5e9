// The controller with its window (headless) and the simulated boiler as
// real processes: the test taps through the automation socket, injects
// sensor faults through the simulator's control socket and watches the
// screenshots change.
#include <cairo.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
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
    // With `holdBoard` the simulator is stopped before the panel starts, so
    // the panel shows its no-link screen until releaseBoard().
    PanelUi(const std::string& program, const std::string& variantOption, bool holdBoard = false) {
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
        if (holdBoard) ::kill(sim.pid(), SIGSTOP);
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

    ~PanelUi() {
        if (sim.pid() > 0) releaseBoard();  // a stopped simulator would not hear its end
    }
    void releaseBoard() { ::kill(sim.pid(), SIGCONT); }

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

// ---- menus and editors ---------------------------------------------------

// A list menu as the test has left it: entries 36 high, 6 apart, from
// (12, 15) in a view 210 high.
struct ListState {
    int entries;
    int scroll = 0;
};

// Drags the list, when needed, so that entry `i` is in view, and returns
// the entry's centre line.
int bringEntryIntoView(PanelUi& p, ListState& m, int i) {
    const int top = 15 + 42 * i - m.scroll;
    if (top < 15 || top + 36 > 225) {
        const int maxScroll = std::max(0, m.entries * 36 + (m.entries - 1) * 6 - 210);
        const int target = std::min(42 * i, maxScroll);
        for (int left = target - m.scroll; left != 0;) {
            const int d = std::clamp(left, -170, 170);
            const int from = d > 0 ? 210 : 30;
            EXPECT_EQ(p.ui->ask("down 100 " + std::to_string(from)), "ok");
            EXPECT_EQ(p.ui->ask("move 100 " + std::to_string(from - (d > 0 ? 20 : -20))), "ok");
            EXPECT_EQ(p.ui->ask("move 100 " + std::to_string(from - d)), "ok");
            EXPECT_EQ(p.ui->ask("up 100 " + std::to_string(from - d)), "ok");
            left -= d;
        }
        m.scroll = target;
    }
    return 15 + 42 * i - m.scroll + 18;
}

void tapAt(PanelUi& p, int x, int y, int times = 1) {
    for (int i = 0; i < times; ++i) EXPECT_EQ(p.ui->ask("tap " + std::to_string(x) + " " + std::to_string(y)), "ok");
}

// Holds the protected entry for 6 s and enters the four digits.
void enterCode(PanelUi& p, int entryY, const int (&digits)[4]) {
    EXPECT_EQ(p.ui->ask("hold 100 " + std::to_string(entryY) + " 6000"), "ok");
    for (int c = 0; c < 4; ++c) tapAt(p, 70 + 60 * c, 56, digits[c]);
    tapAt(p, 91, 199);
}

bool fileHasLine(const std::string& path, const std::string& line) {
    const std::string t = std::filesystem::exists(path) ? test::readText(path) : "";
    return t.find("\n" + line + "\n") != std::string::npos || t.rfind(line + "\n", 0) == 0;
}

struct MenuLayout {
    const char* program;
    const char* option;
    int userEntries;   // with the simulated board's firmware 2.2.1.4
    int power, water, mode, installer;
    int installerEntries;
};

void PrintTo(const MenuLayout& l, std::ostream* os) { *os << l.program; }

class MenuEndToEnd : public ::testing::TestWithParam<MenuLayout> {};

constexpr Area kMenuList{12, 15, 196, 225};
constexpr Area kBigValue{31, 47, 217, 160};
constexpr Area kMenuButton{0, 188, 94, 236};

// From the home screen through the user menu to an editor of each family
// and back: what is drawn changes where it should, and user.cfg follows.
TEST_P(MenuEndToEnd, EveryEditorFamilyChangesUserCfg) {
    const MenuLayout& l = GetParam();
    PanelUi p(l.program, l.option);
    ASSERT_TRUE(p.started);
    const std::string cfg = p.home.file("CFG/user.cfg");
    const Shot home = p.shot();

    tapAt(p, 47, 212);
    const Shot menu = p.shot();
    EXPECT_NE(menu.area(kMenuList), home.area(kMenuList)) << "the user menu is drawn";

    ListState user{l.userEntries};
    // The set-point layout.
    tapAt(p, 100, bringEntryIntoView(p, user, l.water));
    const Shot before = p.shot();
    tapAt(p, 264, 77, 2);
    EXPECT_NE(p.shot().area(kBigValue), before.area(kBigValue));
    tapAt(p, 91, 199);
    EXPECT_EQ(p.shot().area(kMenuList), menu.area(kMenuList)) << "back in the menu";
    EXPECT_TRUE(fileHasLine(cfg, "TWAT_UST=77"));

    // Value fields.
    tapAt(p, 100, bringEntryIntoView(p, user, l.power));
    tapAt(p, 283, 140);
    tapAt(p, 91, 209);
    EXPECT_TRUE(fileHasLine(cfg, "POW_UST=99"));

    // Option rows.
    tapAt(p, 100, bringEntryIntoView(p, user, l.mode));
    tapAt(p, 281, 113);
    tapAt(p, 91, 209);
    EXPECT_TRUE(fileHasLine(cfg, "HEAT_MODE=1"));

    // An installer editor behind the access code.
    enterCode(p, bringEntryIntoView(p, user, l.installer), {5, 8, 2, 7});
    ListState installer{l.installerEntries};
    tapAt(p, 100, bringEntryIntoView(p, installer, 8));
    tapAt(p, 283, 140);
    tapAt(p, 91, 209);
    EXPECT_TRUE(fileHasLine(cfg, "ANTI_FREEZE_TEMP=5"));

    // "НАЗАД" twice: the home screen again.
    tapAt(p, 264, 199);
    tapAt(p, 264, 199);
    EXPECT_EQ(p.shot().area(kMenuButton), home.area(kMenuButton));
}

INSTANTIATE_TEST_SUITE_P(Variants, MenuEndToEnd,
                         ::testing::Values(MenuLayout{"ORVENA", "orvena", 21, 0, 1, 5, 19, 11},
                                           MenuLayout{"KESTRALO", "kestralo", 19, 1, 2, 6, 17, 12}),
                         [](const ::testing::TestParamInfo<MenuLayout>& i) { return std::string(i.param.program); });

// Taps (x, y) over `under` and expects a screen of its own; taps (cx, cy)
// on it and expects `under` again, pixel for pixel.
void opensAndCloses(PanelUi& p, const Shot& under, int x, int y, int cx, int cy, const char* what) {
    tapAt(p, x, y);
    EXPECT_NE(p.shot().px, under.px) << what << " is drawn";
    tapAt(p, cx, cy);
    EXPECT_EQ(p.shot().px, under.px) << what << " closes";
}

struct OwnLayoutEntries {
    MenuLayout menu;
    int weather, thermostat, pumps, remote, general, bunker, fuelReset;  // -1: not in the variant
};

class OwnLayoutEndToEnd : public ::testing::TestWithParam<OwnLayoutEntries> {};

// Every screen with its own layout is reached from the home screen and
// closes back to where it was opened.
TEST_P(OwnLayoutEndToEnd, EveryScreenOpensFromTheHomeScreenAndCloses) {
    const OwnLayoutEntries& l = GetParam();
    PanelUi p(l.menu.program, l.menu.option, true);
    ASSERT_TRUE(p.started);
    // The user menu's entries follow the board's firmware: wait for its frames.
    const Shot start = p.shot();
    p.releaseBoard();
    ASSERT_TRUE(p.waitFor([&](const Shot&, const Shot& b) { return b.area(kWaterValue) != start.area(kWaterValue); }));
    tapAt(p, 47, 212);
    ListState user{l.menu.userEntries};
    auto menuAt = [&](int entry) {
        const int y = bringEntryIntoView(p, user, entry);
        return std::make_pair(y, p.shot());
    };
    constexpr int kEditorCancelX = 229, kEditorCancelY = 209;

    auto [weatherY, menu] = menuAt(l.weather);
    opensAndCloses(p, menu, 100, weatherY, kEditorCancelX, kEditorCancelY, "weather curve");

    auto [thermostatY, menu2] = menuAt(l.thermostat);
    tapAt(p, 100, thermostatY);
    const Shot thermostat = p.shot();
    EXPECT_NE(thermostat.px, menu2.px);
    opensAndCloses(p, thermostat, 160, 105, 160, 199, "weekday screen");
    tapAt(p, 160, 146);
    const Shot programs = p.shot();
    opensAndCloses(p, programs, 100, 34, 160, 211, "program chart");
    opensAndCloses(p, programs, 160, 144, 157, 199, "period editor");
    tapAt(p, 235, 199);
    EXPECT_EQ(p.shot().px, thermostat.px);
    tapAt(p, 235, 199);
    EXPECT_EQ(p.shot().px, menu2.px) << "ТЕРМОСТАТ closes";

    auto [pumpsY, menu3] = menuAt(l.pumps);
    tapAt(p, 100, pumpsY);
    const Shot pumps = p.shot();
    tapAt(p, 162, 153);  // "КЛАПАН"
    const Shot valve = p.shot();
    EXPECT_NE(valve.px, pumps.px);
    opensAndCloses(p, valve, 158, 77, kEditorCancelX, kEditorCancelY, "valve weather curve");
    opensAndCloses(p, valve, 259, 199, kEditorCancelX, kEditorCancelY, "valve ПРОЧЕЕ");
    tapAt(p, 157, 199);
    EXPECT_EQ(p.shot().px, pumps.px);
    tapAt(p, 161, 204);

    auto [remoteY, menu4] = menuAt(l.remote);
    tapAt(p, 100, remoteY);
    const Shot remote = p.shot();
    tapAt(p, 160, 62);
    const Shot network = p.shot();
    EXPECT_NE(network.px, remote.px);
    opensAndCloses(p, network, 160, 122, 229, 199, "password");
    opensAndCloses(p, network, 160, 162, 160, 209, "connection status");
    tapAt(p, kEditorCancelX, kEditorCancelY);
    opensAndCloses(p, remote, 160, 162, 160, 211, "QR code");
    tapAt(p, 167, 209);

    auto [generalY, menu5] = menuAt(l.general);
    tapAt(p, 100, generalY);
    const Shot general = p.shot();
    // "ЯРКОСТЬ ЭКРАНА" is listed only with a backlight to adjust.
    const int b = std::filesystem::exists("/sys/class/backlight") &&
                          !std::filesystem::is_empty("/sys/class/backlight")
                      ? 1
                      : 0;
    opensAndCloses(p, general, 100, 33, kEditorCancelX, kEditorCancelY, "date and time");
    tapAt(p, 100, 33 + 42 * (2 + b));
    const Shot sensors = p.shot();
    opensAndCloses(p, sensors, 100, 33, 229, 199, "sensor correction");
    tapAt(p, 264, 199);
    opensAndCloses(p, general, 100, 33 + 42 * (3 + b), 167, 209, "settings copy");
    tapAt(p, 264, 199);

    if (l.bunker >= 0) {
        auto [bunkerY, menu6] = menuAt(l.bunker);
        opensAndCloses(p, menu6, 100, bunkerY, kEditorCancelX, kEditorCancelY, "bunker filling");
        auto [resetY, menu7] = menuAt(l.fuelReset);
        opensAndCloses(p, menu7, 100, resetY, 167, 209, "fuel counter reset");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Variants, OwnLayoutEndToEnd,
    ::testing::Values(OwnLayoutEntries{{"ORVENA", "orvena", 21, 0, 1, 5, 19, 11}, 6, 7, 8, 11, 16, 13, 15},
                      OwnLayoutEntries{{"KESTRALO", "kestralo", 19, 1, 2, 6, 17, 12}, 7, 8, 9, 14, 15, -1, -1}),
    [](const ::testing::TestParamInfo<OwnLayoutEntries>& i) { return std::string(i.param.menu.program); });

// The service code: the burner stops without that stop being stored, the
// service tool (a stand-in here) is started from the program folder and
// the controller ends with exit status 0.
TEST(UiEndToEnd, ServiceCodeHandsOverToTheServiceTool) {
    PanelUi p("ORVENA", "orvena");
    ASSERT_TRUE(p.started);
    test::writeText(p.home.file("Tavrik"), "#!/bin/sh\ntouch \"$(dirname \"$0\")/tavrik-ran\"\n");
    std::filesystem::permissions(p.home.file("Tavrik"), std::filesystem::perms::owner_all);

    tapAt(p, 47, 212);
    ListState user{21};
    enterCode(p, bringEntryIntoView(p, user, 20), {7, 4, 0, 5});
    const auto end = steady_clock::now() + kPatience;
    while (p.panel.running() && steady_clock::now() < end) std::this_thread::sleep_for(milliseconds(50));
    ASSERT_FALSE(p.panel.running());
    EXPECT_EQ(p.panel.exitCode(), std::optional<int>(0));
    for (auto wait = steady_clock::now() + seconds(5);
         !std::filesystem::exists(p.home.file("tavrik-ran")) && steady_clock::now() < wait;)
        std::this_thread::sleep_for(milliseconds(50));
    EXPECT_TRUE(std::filesystem::exists(p.home.file("tavrik-ran"))) << "the service tool was started";
    const std::string eeprom = test::readText(p.home.file("eeprom.bin"));
    ASSERT_FALSE(eeprom.empty());
    EXPECT_EQ(eeprom[0], 2) << "the stop was not stored: the panel comes back burning";
    const std::string last = p.control->ask("cmd");
    EXPECT_NE(last.find("auger=stop"), std::string::npos) << last;
    EXPECT_NE(last.find("fan=0"), std::string::npos) << last;
}

// Without a service tool the panel runs on with the boiler stopped.
TEST(UiEndToEnd, ServiceCodeWithoutTheToolLeavesThePanelRunning) {
    PanelUi p("KESTRALO", "kestralo");
    ASSERT_TRUE(p.started);
    tapAt(p, 47, 212);
    ListState user{19};
    enterCode(p, bringEntryIntoView(p, user, 18), {7, 4, 0, 5});
    std::this_thread::sleep_for(seconds(2));
    EXPECT_EQ(p.ui->ask("sync"), "ok");
    EXPECT_TRUE(p.panel.running());
}

}  // namespace
}  // namespace vesk
