// The board side of the service tool against boiler-sim on its
// pseudo-terminal: the wait for the controller, the test frames of every
// board generation, and the readings on the test page.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <sstream>
#include <thread>

#include "core/sound_player.h"
#include "platform/display/headless_display.h"
#include "platform/process.h"
#include "platform/real_clock.h"
#include "service_tool/board_test.h"
#include "service_tool/service_sheet.h"
#include "service_tool/test_page.h"
#include "settings/service_table.h"
#include "support/child_process.h"
#include "support/line_link.h"
#include "support/test_support.h"
#include "ui/toolkit/app_frame.h"
#include "ui/toolkit/button.h"
#include "ui/toolkit/check_mark.h"
#include "ui/toolkit/label.h"
#include "ui/toolkit/resources.h"

namespace vesk::test {
namespace {

using namespace std::chrono;

constexpr auto kPatience = seconds(20);

bool eventually(const std::function<bool()>& done, milliseconds patience = kPatience) {
    const auto end = steady_clock::now() + patience;
    while (steady_clock::now() < end) {
        if (done()) return true;
        std::this_thread::sleep_for(milliseconds(30));
    }
    return done();
}

class NullRefresh : public RefreshSink {
public:
    void postRefresh() override {}
};

struct Sim {
    explicit Sim(const std::string& firmware) {
        started = process.start(binDir() + "boiler-sim",
                                {"--firmware", firmware, "--control", dir.file("sim.sock"), "--no-stdin",
                                 "--print-every", "0"});
        if (!started) return;
        const auto first = process.readLine(kPatience);
        started = first && first->rfind("VESK_COM1=", 0) == 0;
        if (!started) return;
        pty = first->substr(10);
        control = std::make_unique<LineLink>(dir.file("sim.sock"));
        started = control->connected();
    }
    // The last command payload the board took, empty for none.
    std::vector<int> lastCommand() {
        const std::string r = control->ask("cmd");
        const size_t at = r.find("hex=");
        std::vector<int> bytes;
        if (at == std::string::npos) return bytes;
        std::istringstream in(r.substr(at + 4));
        std::string h;
        while (in >> h) bytes.push_back(std::stoi(h, nullptr, 16));
        return bytes;
    }

    TempDir dir;
    ChildProcess process;
    std::unique_ptr<LineLink> control;
    std::string pty;
    bool started = false;
};

int word(const std::vector<int>& p, size_t at) { return p[at] | p[at + 1] << 8; }

ServiceParams inverterValues() {
    Settings s;
    serviceDefaults(s, kToolVariant, true);
    s.svc.WORM_SPEED = 1;
    s.svc.WORM_OVC_CUR = 45;
    s.svc.WORM_OVC_TOUT = 12;
    return s.svc;
}

struct Layout {
    const char* firmware;
    size_t size;
    size_t bitsAt;
    int allBits, noBits;
    std::vector<size_t> fifty;   // power bytes at 50 % in the test
    size_t ovcAt;                // current, then time-out
};

const Layout kLayouts[] = {
    {"0x1000", 7, 0, 0x0EFF, 0, {2, 3}, 5},
    {"0x1100", 7, 0, 0x0EFF, 0, {2, 3}, 5},
    {"0x2200", 8, 0, 0x113F, 0x0002, {2, 4}, 6},
    {"0x2214", 22, 13, 0x303D, 0, {15, 17}, 6},
    {"0x2215", 22, 13, 0x303D, 0, {15, 17}, 6},
};

TEST(ServiceBoard, TestModeSwitchesEveryOutputInEachLayout) {
    RealClock clock(1.0, nullptr);
    for (const Layout& l : kLayouts) {
        SCOPED_TRACE(l.firmware);
        Sim sim(l.firmware);
        ASSERT_TRUE(sim.started);
        NullRefresh refresh;
        BoardTest board(clock, refresh);
        board.start("/no/such/controller", sim.pty);
        ASSERT_TRUE(eventually([&] { return board.readings().firmware != 0; }));
        EXPECT_EQ(board.phase(), BoardTest::Phase::Running);

        board.setTestMode(true, inverterValues());
        std::vector<int> p;
        ASSERT_TRUE(eventually([&] {
            p = sim.lastCommand();
            return p.size() == l.size && word(p, l.bitsAt) == l.allBits;
        })) << "last frame size " << p.size();
        for (size_t at : l.fifty) EXPECT_EQ(p[at], 50) << "byte " << at;
        EXPECT_EQ(p[l.ovcAt], 45);
        EXPECT_EQ(p[l.ovcAt + 1], 12);
        if (l.size == 22) {
            EXPECT_EQ(p[0], 10) << "auger runs";
            EXPECT_EQ(p[1], 1) << "drive frequency";
        }
        if (l.size == 7) {
            EXPECT_EQ(p[4], 1) << "drive frequency";
        }

        board.setTestMode(false, inverterValues());
        ASSERT_TRUE(eventually([&] {
            p = sim.lastCommand();
            return p.size() == l.size && word(p, l.bitsAt) == l.noBits;
        }));
        for (size_t at : l.fifty) EXPECT_EQ(p[at], 0) << "byte " << at;
        if (l.size == 22) {
            EXPECT_EQ(p[0], 5) << "auger stopped";
        }
    }
}

TEST(ServiceBoard, LeavingWithTheTestOnSwitchesTheOutputsOffFirst) {
    Sim sim("0x2200");
    ASSERT_TRUE(sim.started);
    RealClock clock(1.0, nullptr);
    NullRefresh refresh;
    {
        BoardTest board(clock, refresh);
        board.start("/no/such/controller", sim.pty);
        ASSERT_TRUE(eventually([&] { return board.readings().firmware != 0; }));
        board.setTestMode(true, inverterValues());
        ASSERT_TRUE(eventually([&] {
            const auto p = sim.lastCommand();
            return p.size() == 8 && word(p, 0) == 0x113F;
        }));
    }
    const auto p = sim.lastCommand();
    ASSERT_EQ(p.size(), 8u);
    EXPECT_EQ(word(p, 0), 0x0002) << "the last frame before the port closed";
    EXPECT_EQ(p[2], 0);
}

TEST(ServiceBoard, WaitsForTheRunningControllerAndNeverEndsIt) {
    Sim sim("0x2214");
    ASSERT_TRUE(sim.started);
    // A stand-in controller in the tool's folder.
    const std::string standIn = sim.dir.file("KESTRALO");
    std::filesystem::copy_file("/bin/sleep", standIn);
    ChildProcess controller;
    ASSERT_TRUE(controller.start(standIn, {"30"}));
    ASSERT_TRUE(eventually([&] { return isProgramRunningAt(standIn); }));

    RealClock clock(1.0, nullptr);
    NullRefresh refresh;
    BoardTest board(clock, refresh);
    board.start(standIn, sim.pty);
    std::this_thread::sleep_for(milliseconds(1500));
    EXPECT_EQ(board.phase(), BoardTest::Phase::Waiting);
    EXPECT_TRUE(controller.running()) << "the tool never ends the controller";
    EXPECT_TRUE(sim.lastCommand().empty()) << "the port stays the controller's";
    EXPECT_EQ(board.readings().firmware, 0);

    controller.kill();
    EXPECT_TRUE(eventually([&] { return board.phase() == BoardTest::Phase::Running; }));
    EXPECT_TRUE(eventually([&] { return !sim.lastCommand().empty(); }));
}

TEST(ServiceBoard, WithoutThePortThePagesWorkAndShowNoReadings) {
    RealClock clock(1.0, nullptr);
    NullRefresh refresh;
    BoardTest board(clock, refresh);
    board.start("/no/such/controller", "/no/such/tty");
    ASSERT_TRUE(eventually([&] { return board.phase() == BoardTest::Phase::NoPort; }));
    board.setTestMode(true, inverterValues());
    const BoardReadings r = board.readings();
    EXPECT_EQ(r.firmware, 0);
    for (int v : r.sensors) EXPECT_EQ(v, kInvalidTemp);
}

class FixedAdapter : public NetworkAdapter {
public:
    AdapterState query() override { return state; }
    AdapterState state;
};

TEST(ServiceBoard, TestPageFollowsReadingsAndInputs) {
    Sim sim("0x2215");
    ASSERT_TRUE(sim.started);
    RealClock clock(1.0, nullptr);
    HeadlessDisplay display;
    RecordingSoundPlayer sound;
    Resources resources(binDir() + "res/", {binDir()});
    AppFrame frame(display, clock, resources, sound);
    BoardTest board(clock, frame);
    FixedAdapter adapter;
    adapter.state = {true, 0};
    ServiceRecord record;
    serviceDefaults(record.settings, kToolVariant, true);
    auto* sheet = new ServiceSheet(&frame, record, board, adapter, {});
    frame.setRoot(sheet);
    auto* page = sheet->pageAs<TestPage>(ServiceSheet::kTestPage);
    frame.processPending();
    EXPECT_EQ(page->reading(1)->text(), "Вода --");
    EXPECT_EQ(page->network()->text(), "Получение IP...");

    board.start("/no/such/controller", sim.pty);
    auto pump = [&](const std::function<bool()>& done) {
        return eventually([&] {
            frame.processPending();
            return done();
        });
    };
    EXPECT_TRUE(pump([&] { return page->reading(1)->text() != "Вода --"; })) << page->reading(1)->text();
    EXPECT_EQ(page->reading(0)->text().rfind("Газы ", 0), 0u);
    EXPECT_FALSE(page->input(0)->on());

    EXPECT_EQ(sim.control->ask("fuse on"), "ok fuse on");
    EXPECT_TRUE(pump([&] { return page->input(0)->on(); })) << "Предохранитель";
    EXPECT_EQ(sim.control->ask("sensor water open"), "ok water open");
    EXPECT_TRUE(pump([&] { return page->reading(1)->text() == "Вода --"; }));

    adapter.state = {true, 0xC0A80105};
    EXPECT_TRUE(pump([&] { return page->network()->text() == "192.168.1.5"; }));
    adapter.state = {false, 0};
    EXPECT_TRUE(pump([&] { return page->network()->text() == "Нет подключения!"; }));

    // The button switches the test and says what a press will do next.
    const Rect r = page->testButton()->windowRect();
    frame.penDown(r.left + 5, r.top + 5);
    frame.penUp(r.left + 5, r.top + 5);
    EXPECT_TRUE(board.testMode());
    EXPECT_EQ(page->testButton()->text(), "Отключить");
    board.stop();
}

}  // namespace
}  // namespace vesk::test
