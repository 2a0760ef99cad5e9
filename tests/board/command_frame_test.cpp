#include <gtest/gtest.h>

#include "board/command_frame.h"

namespace vesk {
namespace {

using Bytes = std::vector<uint8_t>;

// A state with every output and drive setting at a distinct value.
struct CommandFrameTest : ::testing::TestWithParam<Variant> {
    CommandFrameTest() : s(GetParam()) {
        s.svc.WORM_SPEED = 1;
        s.svc.WORM_OVC_CUR = 35;
        s.svc.WORM_OVC_TOUT = 7;
        s.svc.WORM_FORW_TIME = 21;
        s.svc.WORM_REV_TIME = 22;
        s.svc.WORM_PAUSE_TIME = 23;
        s.usr.REVERSE_TIME_FORWARD = 41;
        s.usr.REVERSE_TIME_REVERSE = 42;
        s.usr.REVERSE_TIME_PAUSE = 43;
        s.fanPower = 55;
        s.exhaustFanPower = 30;
        s.sensors[kSensorValve2] = 40;
    }
    Bytes build(uint16_t version) {
        s.boardVersion = version;
        return buildCommandPayload(s);
    }
    ControllerState s;
};

TEST_P(CommandFrameTest, LayoutFollowsReportedFirmware) {
    EXPECT_EQ(build(0).size(), 7u);  // nothing heard yet
    EXPECT_EQ(build(0x1000).size(), 7u);
    EXPECT_EQ(build(0x1100).size(), 7u);
    EXPECT_EQ(build(0x1234).size(), 7u);
    EXPECT_EQ(build(0x2200).size(), 8u);
    EXPECT_EQ(build(0x2214).size(), 22u);
    EXPECT_EQ(build(0x2215).size(), 22u);
}

TEST_P(CommandFrameTest, TwentyTwoByteLayout) {
    s.augerOn = 1;
    s.pumpCh = 1;
    s.pumpLoop = 1;
    s.pumpDhw = 1;
    s.outputFlags = kOutValve1Open | kOutValve2Open | kOutValve2Close | kOutBunkerFiller | kOutAshRemover;
    s.controlFlags = kFlagIgniter;
    Bytes want{10, 1, 21, 22, 23, 3, 35, 7, 0, 0, 0, 0, 0,
               0x1D, 0x30,  // pumps 0x0D, valve 1 open 0x10, igniter 0x1000, ash 0x2000
               55, 100, 30, 0, 0, 0, 0};
    EXPECT_EQ(build(0x2214), want);
    EXPECT_EQ(build(0x2215), want);

    s.augerOn = 0;
    s.pumpCh = 0;
    s.pumpLoop = 0;
    s.pumpDhw = 0;
    s.outputFlags = kOutValve1Close;
    s.controlFlags = 0;
    Bytes off = build(0x2214);
    EXPECT_EQ(off[0], 5);
    EXPECT_EQ(off[13], 0x20);
    EXPECT_EQ(off[14], 0x00);
    EXPECT_EQ(off[16], 0);
}

TEST_P(CommandFrameTest, StopPulseGoesOutOnce) {
    s.augerStopPulse = 1;
    EXPECT_EQ(build(0x2214)[0], 12);
    EXPECT_EQ(s.augerStopPulse, 0);
    EXPECT_EQ(build(0x2214)[0], 5);

    s.augerOn = 1;
    s.augerStopPulse = 1;
    EXPECT_EQ(build(0x2215)[0], 10);
    EXPECT_EQ(s.augerStopPulse, 0);

    // Older boards have no explicit stop; the request does not linger.
    s.augerOn = 0;
    s.augerStopPulse = 1;
    build(0x2200);
    EXPECT_EQ(s.augerStopPulse, 0);
    EXPECT_EQ(build(0x2214)[0], 5);
}

TEST_P(CommandFrameTest, ReverseRunRunsAugerWithReverseSpeedCode) {
    for (uint32_t flag : {uint32_t{kFlagAugerReverse}, uint32_t{kFlagAugerReverseEnd}}) {
        s.controlFlags = flag;
        for (int speed = 0; speed <= 2; ++speed) {
            s.svc.WORM_SPEED = speed;
            Bytes p = build(0x2214);
            EXPECT_EQ(p[0], 10);
            EXPECT_EQ(p[1], 6 - speed) << "WORM_SPEED " << speed;
        }
    }
    s.controlFlags = 0;
    s.svc.WORM_SPEED = 2;
    EXPECT_EQ(build(0x2214)[1], 2);
    // The older layouts carry no reverse run.
    s.controlFlags = kFlagAugerReverse;
    EXPECT_EQ(build(0x1000)[4], 2);
    EXPECT_EQ(build(0x2200)[1] & 0x01, 0);
}

TEST_P(CommandFrameTest, UserReverseTimesReplaceServiceTimes) {
    s.usr.REVERSE_TIME_ENABLE = 1;
    Bytes p = build(0x2215);
    EXPECT_EQ(p[2], 41);
    EXPECT_EQ(p[3], 42);
    EXPECT_EQ(p[4], 43);
    s.usr.REVERSE_TIME_ENABLE = 0;
    p = build(0x2215);
    EXPECT_EQ(p[2], 21);
    EXPECT_EQ(p[3], 22);
    EXPECT_EQ(p[4], 23);
}

TEST_P(CommandFrameTest, EightByteLayout) {
    s.augerOn = 1;
    s.pumpCh = 1;
    s.pumpDhw = 1;
    s.outputFlags = kOutValve1Close | kOutValve2Open | kOutAshRemover | kOutBunkerFiller;
    s.controlFlags = kFlagIgniter;
    Bytes want{0x2B, 0x11, 55, 100, 30, 0, 35, 7};  // ch, always-1, DHW, valve close; auger, igniter
    EXPECT_EQ(build(0x2200), want);

    s.augerOn = 0;
    s.pumpCh = 0;
    s.pumpDhw = 0;
    s.pumpLoop = 1;
    s.outputFlags = kOutValve1Open;
    s.controlFlags = 0;
    Bytes want2{0x16, 0x00, 55, 0, 30, 0, 35, 7};
    EXPECT_EQ(build(0x2200), want2);
}

TEST_P(CommandFrameTest, SevenByteLayout) {
    s.augerOn = 1;
    s.pumpCh = 1;
    s.pumpDhw = 1;
    s.pumpLoop = 1;
    s.outputFlags = kOutValve1Open | kOutValve1Close | kOutValve2Open | kOutValve2Close | kOutBunkerFiller |
                    kOutAshRemover;
    s.controlFlags = kFlagIgniter;
    Bytes want{0xFF, 0x0E, 55, 30, 1, 35, 7};
    EXPECT_EQ(build(0), want);

    s.augerOn = 0;
    s.pumpCh = 0;
    s.pumpLoop = 0;
    s.outputFlags = kOutValve2Close;
    s.controlFlags = 0;
    Bytes want2{0x42, 0x00, 55, 30, 1, 35, 7};
    EXPECT_EQ(build(0x1100), want2);
}

TEST_P(CommandFrameTest, PowerStaysWithinPercentRange) {
    s.fanPower = 180;
    s.exhaustFanPower = -4;
    Bytes p = build(0x2214);
    EXPECT_EQ(p[15], 100);
    EXPECT_EQ(p[17], 0);
    EXPECT_EQ(build(0)[2], 100);
    EXPECT_EQ(build(0x2200)[2], 100);
}

TEST_P(CommandFrameTest, EmergencyStartOverridesAugerAndFans) {
    s.svc.EMSTART_ENABLE = 1;
    s.emergencyMode = 1;  // feed
    Bytes p = build(0x2214);
    EXPECT_EQ(p[0], 10);
    EXPECT_EQ(p[15], 0);
    EXPECT_EQ(p[17], 0);
    p = build(0x2200);
    EXPECT_EQ(p[1] & 0x01, 0x01);
    EXPECT_EQ(p[2], 0);
    EXPECT_EQ(p[4], 30);  // exhaust fan untouched in this layout
    p = build(0);
    EXPECT_EQ(p[0] & 0x80, 0x80);
    EXPECT_EQ(p[2], 0);
    EXPECT_EQ(p[3], 0);

    s.emergencyMode = 2;  // hold, even while the cycle runs the auger
    s.augerOn = 1;
    s.controlFlags = kFlagAugerReverse;
    EXPECT_EQ(build(0x2215)[0], 5);
    EXPECT_EQ(build(0x2200)[1] & 0x01, 0);
    EXPECT_EQ(build(0x1000)[0] & 0x80, 0);
}

TEST_P(CommandFrameTest, EmergencyStartNeedsEnableAndValidAugerSensor) {
    s.emergencyMode = 2;
    s.augerOn = 1;
    s.svc.EMSTART_ENABLE = 0;
    Bytes p = build(0x2214);
    EXPECT_EQ(p[0], 10);
    EXPECT_EQ(p[15], 55);

    s.svc.EMSTART_ENABLE = 1;
    s.sensors[kSensorValve2] = kInvalidTemp;
    p = build(0x2214);
    EXPECT_EQ(p[0], 10);
    EXPECT_EQ(p[15], 55);

    s.sensors[kSensorValve2] = 0x3FFF;
    EXPECT_EQ(build(0x2214)[0], 5);

    s.emergencyMode = 0;
    EXPECT_EQ(build(0x2214)[15], 55);
}

INSTANTIATE_TEST_SUITE_P(Variants, CommandFrameTest, ::testing::Values(Variant::Orvena, Variant::Kestralo));

}  // namespace
}  // namespace vesk
