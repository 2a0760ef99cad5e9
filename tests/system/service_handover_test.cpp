// The hand-over to the service tool and back, with real processes: the
// controller holds the board, Tavrik waits for it to end, takes the board
// over, the engineer chooses another model, and the panel restart brings up
// the other controller variant with the new service.cfg.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <thread>

#include "support/child_process.h"
#include "support/line_link.h"
#include "support/test_support.h"

namespace vesk {
namespace {

using namespace std::chrono;
using test::ChildProcess;
using test::LineLink;

constexpr auto kPatience = seconds(40);

bool eventually(const std::function<bool()>& done) {
    const auto end = steady_clock::now() + kPatience;
    while (steady_clock::now() < end) {
        if (done()) return true;
        std::this_thread::sleep_for(milliseconds(100));
    }
    return done();
}

// Output bits of the 22-byte command frame of the last command the
// simulated board took.
int lastBits(LineLink& sim) {
    const std::string r = sim.ask("cmd");
    const size_t at = r.find("hex=");
    if (at == std::string::npos) return -1;
    std::istringstream in(r.substr(at + 4));
    std::vector<int> b;
    std::string h;
    while (in >> h) b.push_back(std::stoi(h, nullptr, 16));
    return b.size() == 22 ? b[13] | b[14] << 8 : -1;
}

// A process of `program` (linked into `home`) whose environment names
// `home`: the one the launcher started, which is no child of the test.
pid_t findStarted(const std::string& home, const std::string& program) {
    const std::string exe = std::filesystem::canonical(home + program).string();
    for (const auto& e : std::filesystem::directory_iterator("/proc")) {
        const std::string name = e.path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos) continue;
        std::error_code ec;
        if (std::filesystem::read_symlink(e.path() / "exe", ec).string() != exe) continue;
        std::ifstream env(e.path() / "environ");
        std::string all((std::istreambuf_iterator<char>(env)), {});
        if (all.find("VESK_HOME=" + home) != std::string::npos) return static_cast<pid_t>(std::stoi(name));
    }
    return -1;
}

// The panel folder with its programs, the simulated board and the panel's
// environment.
struct Panel {
    Panel() {
        std::filesystem::create_directories(home.file("CFG"));
        test::writeText(home.file("CFG/service.cfg"), "BOILER_TYPE=2\nPOWER=150\n");
        for (const char* p : {"ORVENA", "KESTRALO", "Tavrik", "launcher"})
            std::filesystem::create_symlink(test::binDir() + p, home.file(p));
        started = sim.start(test::binDir() + "boiler-sim", {"--variant", "orvena", "--control", home.file("sim.sock"),
                                                           "--no-stdin", "--print-every", "0"});
        const auto first = started ? sim.readLine(kPatience) : std::nullopt;
        started = first && first->rfind("VESK_COM1=", 0) == 0;
        if (!started) return;
        board = std::make_unique<LineLink>(home.file("sim.sock"));
        started = board->connected();
        env = {
            {"VESK_HOME", home.path()},
            {"VESK_COM1", first->substr(10)},
            {"VESK_COM4", home.file("no-module")},
            {"VESK_DISPLAY", "headless"},
            {"SDL_AUDIODRIVER", "dummy"},
            {"VESK_NET_IFACE", "lo"},
            {"VESK_PORT_LOCAL", "0"},
            {"VESK_PORT_DISCOVERY", "0"},
            {"VESK_AUTOMATION", home.file("ui.sock")},
        };
    }
    ~Panel() {
        // Whatever the launcher or the hand-over left running.
        for (const char* p : {"Tavrik", "KESTRALO", "ORVENA"})
            if (pid_t pid = findStarted(home.path(), p); pid > 0) ::kill(pid, SIGKILL);
    }

    // Model "Кестрало", 40 kW, then "Сохранить и выйти" on the last page.
    static void chooseKestraloAndSave(LineLink& ui) {
        EXPECT_EQ(ui.ask("tap 120 14"), "ok");
        EXPECT_EQ(ui.ask("tap 160 217"), "ok");
        EXPECT_EQ(ui.ask("tap 200 14"), "ok");
        EXPECT_EQ(ui.ask("tap 265 80"), "ok");
        for (int i = 3; i <= 11; ++i) EXPECT_EQ(ui.ask("tap 240 14"), "ok");
        EXPECT_EQ(ui.ask("tap 280 14"), "ok");
        ui.ask("tap 160 60");
    }

    // After the restart: the new service.cfg and KESTRALO from the panel
    // folder, whose window answers on `sock`.
    void expectKestraloWithTheNewSettings(const std::string& sock) {
        const std::string cfg = test::readText(home.file("CFG/service.cfg"));
        EXPECT_EQ(cfg.rfind("POWER=40\nBOILER_TYPE=4\n", 0), 0u) << cfg;
        EXPECT_NE(test::readText(home.file("registry.cfg")).find("Ethernet.NetworkAddress=00800F030200"),
                  std::string::npos);
        pid_t kestralo = -1;
        EXPECT_TRUE(eventually([&] { return (kestralo = findStarted(home.path(), "KESTRALO")) > 0; }));
        EXPECT_EQ(findStarted(home.path(), "ORVENA"), -1);
        if (kestralo <= 0) return;
        LineLink panel(sock);
        EXPECT_EQ(panel.ask("sync"), "ok") << "KESTRALO's window runs";
        EXPECT_TRUE(eventually([&] { return lastBits(*board) >= 0; })) << "and it drives the board";
        ::kill(kestralo, SIGTERM);
        EXPECT_TRUE(eventually([&] { return ::kill(kestralo, 0) != 0; }));
    }

    test::TempDir home;
    ChildProcess sim;
    std::unique_ptr<LineLink> board;
    std::map<std::string, std::string> env;
    bool started = false;
};

TEST(ServiceHandover, TavrikTakesTheBoardOverAndTheRestartStartsTheChosenModel) {
    Panel p;
    ASSERT_TRUE(p.started);
    p.env["VESK_RESTART_CMD"] = "exec " + p.home.file("launcher");

    // The controller of the installed model holds the board.
    ChildProcess orvena;
    ASSERT_TRUE(orvena.start(p.home.file("ORVENA"), {}, p.env));
    ASSERT_TRUE(eventually([&] { return lastBits(*p.board) >= 0; })) << "ORVENA talks to the board";

    // The service tool starts while the controller still runs.
    auto toolEnv = p.env;
    toolEnv["VESK_AUTOMATION"] = p.home.file("tavrik.sock");
    ChildProcess tavrik;
    ASSERT_TRUE(tavrik.start(p.home.file("Tavrik"), {}, toolEnv));
    LineLink ui(p.home.file("tavrik.sock"));
    ASSERT_TRUE(ui.connected());
    EXPECT_EQ(ui.ask("tap 167 54"), "ok") << "test mode on";
    std::this_thread::sleep_for(milliseconds(1500));
    EXPECT_NE(lastBits(*p.board), 0x303D) << "Tavrik keeps off the port while the controller runs";
    EXPECT_TRUE(orvena.running()) << "and never ends it";

    // The controller ends (as it does after starting the tool).
    ::kill(orvena.pid(), SIGTERM);
    ASSERT_TRUE(eventually([&] { return !orvena.running(); }));
    EXPECT_TRUE(eventually([&] { return lastBits(*p.board) == 0x303D; })) << "every output on under test";
    EXPECT_EQ(ui.ask("tap 167 54"), "ok") << "test mode off";
    EXPECT_TRUE(eventually([&] { return lastBits(*p.board) == 0; }));

    Panel::chooseKestraloAndSave(ui);
    // Tavrik becomes the launcher, which starts KESTRALO and ends.
    ASSERT_TRUE(eventually([&] { return !tavrik.running(); }));
    // The environment passes on: KESTRALO listens where Tavrik did.
    p.expectKestraloWithTheNewSettings(p.home.file("tavrik.sock"));
}

}  // namespace
}  // namespace vesk
