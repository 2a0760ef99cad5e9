#include <gtest/gtest.h>

#include "closed_loop.h"

namespace vesk::test {
namespace {

// The loop itself: frames reach the panel, commands reach the board.
TEST(ClosedLoop, PanelSeesBoardAndBoardSeesPanel) {
    for (Variant v : {Variant::Orvena, Variant::Kestralo}) {
        for (uint16_t fw : {0x1000, 0x1100, 0x2200, 0x2214, 0x2215}) {
            ClosedLoop loop(v, fw);
            loop.run(3);
            EXPECT_EQ(loop.s.linkOk, 1);
            EXPECT_EQ(loop.s.boardVersion, fw);
            int water = loop.s.readSensor(kSensorWater);
            EXPECT_NEAR(water, loop.plant.boilerWaterC(), 1.5) << std::hex << fw;
            ASSERT_TRUE(loop.board.lastCommand().has_value());
            EXPECT_EQ(loop.board.lastCommand()->layout, BoardEmulator::commandLength(fw));
            EXPECT_FALSE(loop.board.safeState());
        }
    }
}

}  // namespace
}  // namespace vesk::test
