#include <gtest/gtest.h>

#include "board/command_frame.h"

namespace vesk {
namespace {

using Bytes = std::vector<uint8_t>;

// Both variants build the same frames, so one is enough here.
struct CommandFrame : ::testing::Test {
    CommandFrame() {
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
    void allOn() {
        s.augerOn = s.pumpCh = s.pumpDhw = s.pumpLoop = 1;
        s.outputFlags = kOutValve1Open | kOutValve1Close | kOutValve2Open | kOutValve2Close | kOutBunkerFiller |
                        kOutAshRemover;
        s.controlFlags = kFlagIgniter;
    }
    ControllerState s{Variant::Orvena};
};

TEST_F(CommandFrame, LayoutFollowsReportedFirmware) {
    // 0: nothing heard from the board yet.
    const std::pair<uint16_t, size_t> cases[] = {{0, 7},      {0x1000, 7}, {0x1100, 7}, {0x1234, 7},
                                                 {0x2200, 8}, {0x2214, 22}, {0x2215, 22}};
    for (auto [version, size] : cases) EXPECT_EQ(build(version).size(), size) << std::hex << version;
}

TEST_F(CommandFrame, EveryLayoutByteByByte) {
    allOn();
    // Valve 2 and the bunker filler have no bit in the two newer layouts.
    const Bytes want22{10, 1, 21, 22, 23, 3, 35, 7, 0, 0, 0, 0, 0, 0x3D, 0x30, 55, 100, 30, 0, 0, 0, 0};
    EXPECT_EQ(build(0x2214), want22);
    EXPECT_EQ(build(0x2215), want22);
    EXPECT_EQ(build(0x2200), (Bytes{0x3F, 0x11, 55, 100, 30, 0, 35, 7}));
    EXPECT_EQ(build(0), (Bytes{0xFF, 0x0E, 55, 30, 1, 35, 7}));

    s.augerOn = s.pumpCh = s.pumpDhw = s.pumpLoop = 0;
    s.outputFlags = kOutValve1Close;
    s.controlFlags = 0;
    EXPECT_EQ(build(0x2214), (Bytes{5, 1, 21, 22, 23, 3, 35, 7, 0, 0, 0, 0, 0, 0x20, 0, 55, 0, 30, 0, 0, 0, 0}));
    EXPECT_EQ(build(0x2200), (Bytes{0x22, 0, 55, 0, 30, 0, 35, 7}));  // 0x0002 is always set
    s.outputFlags = kOutValve2Close;
    s.pumpDhw = 1;
    EXPECT_EQ(build(0x1100), (Bytes{0x42, 0, 55, 30, 1, 35, 7}));

    s.fanPower = 180;
    s.exhaustFanPower = -4;
    EXPECT_EQ(build(0x2214)[15], 100);
    EXPECT_EQ(build(0x2214)[17], 0);
}

TEST_F(CommandFrame, AugerByteStopPulseReverseRunAndDriveTimes) {
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
    EXPECT_EQ(build(0x2214)[0], 5);

    for (uint32_t flag : {uint32_t{kFlagAugerReverse}, uint32_t{kFlagAugerReverseEnd}}) {
        s.controlFlags = flag;
        for (int speed = 0; speed <= 2; ++speed) {
            s.svc.WORM_SPEED = speed;
            const Bytes p = build(0x2214);
            EXPECT_EQ(p[0], 10);
            EXPECT_EQ(p[1], 6 - speed) << "WORM_SPEED " << speed;
        }
    }
    EXPECT_EQ(build(0x1000)[4], 2);  // the older layouts know no reverse run
    EXPECT_EQ(build(0x2200)[1] & 0x01, 0);

    s.usr.REVERSE_TIME_ENABLE = 1;
    const Bytes p = build(0x2215);
    EXPECT_EQ(Bytes(p.begin() + 2, p.begin() + 5), (Bytes{41, 42, 43}));
}

TEST_F(CommandFrame, EmergencyStartOverridesAugerAndFans) {
    s.svc.EMSTART_ENABLE = 1;
    s.emergencyMode = 1;  // feed
    Bytes p = build(0x2214);
    EXPECT_EQ(p[0], 10);
    EXPECT_EQ(p[15], 0);
    EXPECT_EQ(p[17], 0);
    p = build(0x2200);
    EXPECT_EQ(p[1] & 0x01, 0x01);
    EXPECT_EQ(p[2], 0);
    EXPECT_EQ(p[4], 30);  // this layout keeps the exhaust fan
    p = build(0);
    EXPECT_EQ(p[0] & 0x80, 0x80);
    EXPECT_EQ(p[2] | p[3], 0);

    s.emergencyMode = 2;  // hold, even while the cycle runs the auger
    s.augerOn = 1;
    s.controlFlags = kFlagAugerReverse;
    EXPECT_EQ(build(0x2215)[0], 5);
    EXPECT_EQ(build(0x2200)[1] & 0x01, 0);
    EXPECT_EQ(build(0x1000)[0] & 0x80, 0);

    // Needs the enable and a valid auger-tube reading.
    s.sensors[kSensorValve2] = kInvalidTemp;
    EXPECT_EQ(build(0x2214)[0], 10);
    s.sensors[kSensorValve2] = 0x3FFF;
    s.svc.EMSTART_ENABLE = 0;
    EXPECT_EQ(build(0x2214)[15], 55);
}

}  // namespace
}  // namespace vesk
