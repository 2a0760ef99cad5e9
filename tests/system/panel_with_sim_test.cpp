// The controller and the simulated boiler as real processes: the test sits
// on the serial line between them and watches what the panel sends.
#include <gtest/gtest.h>
#include <poll.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <tuple>
#include <thread>

#include "serial/framing.h"
#include "support/child_process.h"
#include "support/test_support.h"

namespace vesk {
namespace {

using namespace std::chrono;
using test::ChildProcess;

struct FrameSeen {
    steady_clock::time_point at;
    std::vector<uint8_t> payload;
};

// Relays bytes both ways between the panel's and the simulator's lines for
// `duration`, decoding what the panel sends.
std::vector<FrameSeen> relay(int panelSide, int simSide, milliseconds duration) {
    std::vector<FrameSeen> seen;
    FrameDecoder decoder;
    auto end = steady_clock::now() + duration;
    uint8_t buf[512];
    while (steady_clock::now() < end) {
        pollfd p[2] = {{panelSide, POLLIN, 0}, {simSide, POLLIN, 0}};
        if (::poll(p, 2, 20) <= 0) continue;
        if (p[0].revents & POLLIN) {
            ssize_t n = ::read(panelSide, buf, sizeof buf);
            if (n > 0) {
                auto now = steady_clock::now();
                for (ssize_t i = 0; i < n; ++i)
                    if (auto f = decoder.feed(buf[i])) seen.push_back({now, *f});
                (void)!::write(simSide, buf, static_cast<size_t>(n));
            }
        }
        if (p[1].revents & POLLIN) {
            ssize_t n = ::read(simSide, buf, sizeof buf);
            if (n > 0) (void)!::write(panelSide, buf, static_cast<size_t>(n));
        }
    }
    return seen;
}

class PanelWithSim : public ::testing::TestWithParam<const char*> {};

TEST_P(PanelWithSim, CommandFramesEveryHalfSecondInTheBoardsLayout) {
    const std::string program = GetParam();
    test::TempDir home;
    std::filesystem::create_directories(home.file("CFG"));
    test::writeText(home.file("CFG/service.cfg"),
                    "BOILER_TYPE=2\nPOWER=150\nWORM_SPEED=1\nWORM_OVC_CUR=42\nWORM_OVC_TOUT=17\n"
                    "WORM_REV_TIME=9\nWORM_FORW_TIME=11\nWORM_PAUSE_TIME=3\n");
    test::Pty panelLine, simLine;

    ChildProcess sim;
    ASSERT_TRUE(sim.start(test::binDir() + "boiler-sim",
                          {"--firmware", "0x2214", "--device", simLine.slavePath, "--no-stdin", "--print-every", "0"}));
    ChildProcess panel;
    ASSERT_TRUE(panel.start(test::binDir() + program, {},
                            {{"VESK_HOME", home.path()}, {"VESK_COM1", panelLine.slavePath}}));

    auto frames = relay(panelLine.master, simLine.master, seconds(6));
    EXPECT_TRUE(panel.running()) << "the panel keeps running";
    ASSERT_GE(frames.size(), 8u);

    // Frames keep coming at least every 500 ms (with slack for a busy machine).
    milliseconds worst{0};
    for (size_t i = 1; i < frames.size(); ++i)
        worst = std::max(worst, duration_cast<milliseconds>(frames[i].at - frames[i - 1].at));
    EXPECT_LE(worst.count(), 500 + 300);

    // Once the board has reported 2.2.1.4 the panel speaks its 22-byte layout
    // with the service settings' auger bytes.
    const auto& last = frames.back().payload;
    ASSERT_EQ(last.size(), 22u);
    EXPECT_EQ(last[0], 5) << "auger stopped";
    EXPECT_EQ(last[1], 1) << "WORM_SPEED";
    EXPECT_EQ(last[2], 11) << "forward time";
    EXPECT_EQ(last[3], 9) << "reverse time";
    EXPECT_EQ(last[4], 3) << "pause time";
    EXPECT_EQ(last[5], 3);
    EXPECT_EQ(last[6], 42) << "WORM_OVC_CUR";
    EXPECT_EQ(last[7], 17) << "WORM_OVC_TOUT";
    // The very first frame, before the board was heard, is the 7-byte one.
    EXPECT_EQ(frames.front().payload.size(), 7u);
}

INSTANTIATE_TEST_SUITE_P(BothVariants, PanelWithSim, ::testing::Values("ORVENA", "KESTRALO"));

// Power cut during ignition (EEPROM code 4) or burning (code 2): the panel
// started again on a cold boiler takes the fire up again instead of
// stopping, and the stored code stays a running one.
class PanelRestart : public ::testing::TestWithParam<std::tuple<const char*, int>> {};

TEST_P(PanelRestart, StoredRunningStateResumesAfterPowerCut) {
    const auto [program, code] = GetParam();
    test::TempDir home;
    std::filesystem::create_directories(home.file("CFG"));
    std::string image(4096, static_cast<char>(0xFF));
    image[0] = static_cast<char>(code);
    test::writeText(home.file("eeprom.bin"), image);
    test::writeText(home.file("CFG/user.cfg"), "FUEL=2\n");
    test::Pty panelLine, simLine;
    const std::map<std::string, std::string> fast{{"VESK_TIME_SCALE", "10"}};

    ChildProcess sim;
    ASSERT_TRUE(sim.start(test::binDir() + "boiler-sim",
                          {"--firmware", "0x2214", "--device", simLine.slavePath, "--no-stdin", "--print-every", "0"},
                          fast));
    ChildProcess panel;
    auto env = fast;
    env["VESK_HOME"] = home.path();
    env["VESK_COM1"] = panelLine.slavePath;
    ASSERT_TRUE(panel.start(test::binDir() + program, {}, env));

    // Thirty seconds of panel time.
    auto frames = relay(panelLine.master, simLine.master, seconds(3));
    if (!panel.running())
        while (auto line = panel.readLine(milliseconds(100))) ADD_FAILURE() << *line;
    ASSERT_TRUE(panel.running());
    bool fed = false, blown = false;
    for (const auto& f : frames) {
        if (f.payload.size() != 22) continue;
        fed |= f.payload[0] == 10;
        blown |= f.payload[15] > 0;
    }
    if (code == 4) {
        EXPECT_TRUE(fed) << "the ignition's first feed";
    } else {
        EXPECT_TRUE(blown) << "a cold boiler in burning goes to blow-up";
    }
    const std::string after = test::readText(home.file("eeprom.bin"));
    ASSERT_GE(after.size(), 1u);
    EXPECT_EQ(static_cast<uint8_t>(after[0]), code == 4 ? 4 : 2) << "not rewritten to stop";
}

INSTANTIATE_TEST_SUITE_P(BothVariantsBothCodes, PanelRestart,
                         ::testing::Combine(::testing::Values("ORVENA", "KESTRALO"), ::testing::Values(4, 2)));

TEST(PanelProcess, MissingSerialDeviceLeavesPanelRunning) {
    test::TempDir home;
    ChildProcess panel;
    ASSERT_TRUE(panel.start(test::binDir() + "ORVENA", {},
                            {{"VESK_HOME", home.path()}, {"VESK_COM1", home.file("no-such-tty")}}));
    std::this_thread::sleep_for(milliseconds(500));
    EXPECT_TRUE(panel.running());
    EXPECT_TRUE(std::filesystem::exists(home.file("CFG"))) << "settings folder made at start";
}

}  // namespace
}  // namespace vesk
