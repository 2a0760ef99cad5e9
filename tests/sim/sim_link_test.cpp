#include <gtest/gtest.h>

#include "serial/framing.h"
#include "sim/sim_console.h"
#include "sim/sim_link.h"

namespace vesk {
namespace {

std::vector<uint8_t> fanCommand22(uint8_t fan) {
    std::vector<uint8_t> p(22, 0);
    p[0] = 10;
    p[15] = fan;
    // A byte that needs escaping on the wire.
    p[6] = 0xC0;
    return p;
}

TEST(SimLink, CommandFramesSplitAnywhereAreAppliedOnce) {
    auto wire = encodeFrame(fanCommand22(42));
    for (size_t cut = 0; cut <= wire.size(); ++cut) {
        PlantModel plant;
        BoardEmulator board(plant, 0x2214, Variant::Orvena);
        SimLink link(board);
        std::vector<uint8_t> noise = {0x11, 0x22, 0xDB};  // line noise before the frame
        link.receive(noise.data(), noise.size());
        int applied = link.receive(wire.data(), cut);
        applied += link.receive(wire.data() + cut, wire.size() - cut);
        EXPECT_EQ(applied, 1) << cut;
        EXPECT_EQ(plant.outputs().fanPercent, 42);
        EXPECT_TRUE(plant.outputs().auger);
    }
}

TEST(SimLink, FramesOfTheWrongLayoutOrCheckAreNotApplied) {
    PlantModel plant;
    BoardEmulator board(plant, 0x2200, Variant::Orvena);
    SimLink link(board);
    auto wrongLayout = encodeFrame(fanCommand22(42));
    EXPECT_EQ(link.receive(wrongLayout.data(), wrongLayout.size()), 0);
    EXPECT_EQ(link.framesIgnored(), 1u);
    std::vector<uint8_t> p8 = {0x02, 0x01, 33, 0, 0, 0, 0, 0};
    auto good = encodeFrame(p8);
    auto bad = good;
    bad[bad.size() - 3] ^= 1;  // the check byte
    EXPECT_EQ(link.receive(bad.data(), bad.size()), 0);
    EXPECT_EQ(link.receive(good.data(), good.size()), 1);
    EXPECT_EQ(plant.outputs().fanPercent, 33);
    EXPECT_TRUE(plant.outputs().auger);
}

class ConsoleTest : public ::testing::Test {
protected:
    PlantModel plant;
    BoardEmulator board{plant, 0x2214, Variant::Orvena};
    SimConsole console{board};

    std::string run(const std::string& line) { return console.execute(line).text; }
    int waterRaw() {
        auto p = board.readingsPayload();
        return static_cast<int16_t>(p[18] | (p[19] << 8));
    }
};

TEST_F(ConsoleTest, SensorInjectionsReachTheReadings) {
    EXPECT_EQ(run("sensor water open"), "ok water open");
    EXPECT_EQ(waterRaw(), 0x4001);
    EXPECT_EQ(run("sensor water short"), "ok water short");
    EXPECT_EQ(waterRaw(), 0x4002);
    EXPECT_EQ(run("sensor water 55.5"), "ok water 55.5");
    EXPECT_EQ(waterRaw(), 222);
    EXPECT_EQ(run("sensor water clear"), "ok water clear");
    EXPECT_EQ(waterRaw(), 80);
    // The auger tube shares channel 9 with valve 2.
    EXPECT_EQ(run("sensor auger 90").rfind("ok", 0), 0u);
    EXPECT_EQ(plant.reading(SensorChannel::Valve2).celsius, 90);
    EXPECT_EQ(run("sensor boiler open").rfind("error", 0), 0u);
    EXPECT_EQ(run("sensor water warm").rfind("error", 0), 0u);
    EXPECT_EQ(run("sensor water nan").rfind("error", 0), 0u);
}

TEST_F(ConsoleTest, InputInjectionsSetTheirBits) {
    EXPECT_EQ(run("inputs"), "ok 0x00");
    run("fuse on");
    run("emergency on");
    run("room on");
    run("bunker empty");
    run("inverter on");
    run("jam on");
    EXPECT_EQ(run("inputs"), "ok 0x6f");
    auto p = board.readingsPayload();
    EXPECT_EQ(p[30], 0x0F);
    EXPECT_EQ(p[64], 0x03);
    run("fuse off");
    run("emergency off");
    run("room off");
    run("bunker normal");
    run("inverter off");
    run("jam off");
    EXPECT_EQ(run("inputs"), "ok 0x00");
    EXPECT_EQ(run("bunker 0"), "ok bunker 0 kg");
    EXPECT_EQ(run("inputs"), "ok 0x08");
    EXPECT_EQ(run("bunker full"), "ok bunker full");
    EXPECT_EQ(run("inputs"), "ok 0x10");
    EXPECT_EQ(run("fuse maybe").rfind("error", 0), 0u);
    // A wired thermostat follows the house: 20 °C satisfies a 19 °C setting.
    run("bunker 100");
    EXPECT_EQ(run("room auto 19"), "ok room auto");
    plant.step(1, 12);
    EXPECT_EQ(run("inputs"), "ok 0x04");
}

TEST_F(ConsoleTest, QueriesShowTheLastCommandAndQuitEnds) {
    EXPECT_EQ(run("outdoor 500").rfind("error", 0), 0u);
    EXPECT_EQ(run("cmd"), "ok none");
    board.applyCommand(fanCommand22(42));
    EXPECT_NE(run("cmd").find("fan=42"), std::string::npos);
    EXPECT_NE(run("state").find("fan=42"), std::string::npos);
    EXPECT_EQ(run(""), "error empty command");
    EXPECT_FALSE(console.execute("state").quit);
    EXPECT_TRUE(console.execute("quit").quit);
}

}  // namespace
}  // namespace vesk
