// Status words, the status records of both variants byte by byte, and the
// device information.
#include <gtest/gtest.h>

#include "net/protocol_rig.h"

namespace vesk::test {
namespace {

uint16_t u16At(const Bytes& b, size_t at) { return static_cast<uint16_t>(b.at(at) | b.at(at + 1) << 8); }
uint32_t u32At(const Bytes& b, size_t at) { return u16At(b, at) | static_cast<uint32_t>(u16At(b, at + 2)) << 16; }

TEST(StatusWords, FaultBitsMoveToTheirPlaces) {
    const std::pair<int, int> moves[] = {{6, 0}, {1, 1}, {0, 3}, {5, 4}, {4, 5}, {3, 6},
                                         {2, 7}, {7, 8}, {8, 9}, {9, 10}, {10, 11}};
    for (auto [from, to] : moves) EXPECT_EQ(statusWordA(1u << from), 1u << to) << from;
    EXPECT_EQ(statusWordA(0xFFFFF800u), 0);
}

TEST(StatusWords, WarningWordAndItsBunkerBits) {
    ProtocolRig rig;
    ControllerState& s = rig.s;
    s.warnings = 0x4 | 0x1 | 0x2 | 0x80;
    EXPECT_EQ(statusWordB(s, WordBUse::Record), 0x1 | 0x2 | 0x4 | 0x80);
    s.warnings = 0x100;
    s.controlFlags = 0;
    EXPECT_EQ(statusWordB(s, WordBUse::Record), 0);
    EXPECT_EQ(statusWordB(s, WordBUse::Notification), 0x200);
    s.warnings = 0;
    s.controlFlags = kFlagBunkerFillFailed;
    EXPECT_EQ(statusWordB(s, WordBUse::Record), 0x200);
    EXPECT_EQ(statusWordB(s, WordBUse::Notification), 0);

    s.controlFlags = 0;
    s.boardInputs = kInBunkerEmpty;
    s.usr.USE_EMPTY_SENS = 1;
    s.usr.BUNK_AUTOFILL = 0;
    EXPECT_EQ(statusWordB(s, WordBUse::Record), 0x100);
    s.usr.BUNK_AUTOFILL = 1;
    EXPECT_EQ(statusWordB(s, WordBUse::Record), 0);

    // KESTRALO's bunker-empty input is 0x10, switched by BUNK_SENSOR_ENABLE.
    ProtocolRig k{Variant::Kestralo};
    k.s.boardInputs = kInBunkerFull;
    k.s.usr.BUNK_SENSOR_ENABLE = 1;
    EXPECT_EQ(statusWordB(k.s, WordBUse::Notification), 0x100);
    k.s.usr.BUNK_SENSOR_ENABLE = 0;
    EXPECT_EQ(statusWordB(k.s, WordBUse::Notification), 0);
}

// A state both records can be checked against.
void knownState(ProtocolRig& rig) {
    ControllerState& s = rig.s;
    s.boardVersion = s.boardVersionCopy = 0x2215;
    s.sensors[kSensorGas] = 180;         // whole degrees, never divided
    s.sensors[kSensorWater] = 655;       // tenths
    s.sensors[kSensorOutdoor] = -125;
    s.sensors[kSensorAir] = kInvalidTemp;
    s.faults = 0x002;                    // overheat: word A bit 1
    s.burnerState = kBurning;
    s.reportedBurnerState = kPause;
    s.burner.powerDisplay = 64;
    s.combustion.weatherTarget = 71;
    UserParams& u = s.usr;
    u.FUEL = 1;
    u.TWAT_UST = 72;
    u.FAN_MIN[1] = 33;
    u.FAN_MAX[1] = 91;
    u.WORM_CORR[2] = -7;
    u.VLV1.MODE = 2;
    u.VLV1.USEAIR = 1;
    u.VLV1.USEWATER = 0;
    u.VLV1.USEWH = 1;
    u.VLV1.AIRH_CH = -25;
    u.VLV1.INT = 300;
    u.VLV2.TOPEN = 0x1F4;
    u.TAIR_CORR = -3;
    u.KEEP_WORM_CORR[0] = -15;
    s.smsControlEnable = 1;
    s.pumpCh = s.pumpLoop = 1;
    s.outputFlags = kOutValve1Open | kOutAshRemover;
    s.augerOn = 1;
    s.fanPower = 40;
    s.controlFlags = kFlagIgniter | kFlagDhwDemand;
    s.scheduleActive = 1;
    s.activePeriod = Period{6, 22, 1, 0, 21, 1, 65};
    s.valves[0].curveTarget = 44;
    s.valves[1].curveTarget = 255;
}

TEST(StatusRecord, OrvenaBytes) {
    ProtocolRig rig;
    knownState(rig);
    ControllerState& s = rig.s;
    s.usr.CONS_CORR[5] = -50;
    s.usr.USE_EMPTY_SENS = 1;
    s.usr.USE_FULL_SENS = 1;
    s.usr.BUNK_TOUT = 1800;
    s.usr.USE_ASH = 1;
    s.boardInputs = kInBunkerFull;
    s.expansionConnected = 1;
    s.svc.EMSTART_ENABLE = 1;
    rig.schedule.schedule.enabled = 1;
    rig.fuel = {70000, 300, 100000, 1234, 987654, 57};

    const Bytes r = rig.run(1, {}).data;
    ASSERT_EQ(r.size(), 165u);
    EXPECT_EQ(r[0], 1);
    EXPECT_EQ(u16At(r, 1), 180);
    EXPECT_EQ(u16At(r, 3), 65);                   // water through the firmware's unit
    EXPECT_EQ(u16At(r, 5), kInvalidTemp);         // room air missing
    EXPECT_EQ(static_cast<int16_t>(u16At(r, 7)), -12);
    EXPECT_EQ(u16At(r, 23), 0x0002);
    EXPECT_EQ(r[27], 64);
    EXPECT_EQ(r[28], kBurning);
    EXPECT_EQ(r[30], 1);
    EXPECT_EQ(r[35], 72);
    EXPECT_EQ(r[37], 71);
    EXPECT_EQ(r[40], 33);
    EXPECT_EQ(r[41], 91);
    EXPECT_EQ(static_cast<int8_t>(r[52]), -7);
    EXPECT_EQ(static_cast<int8_t>(r[61]), -50);
    EXPECT_EQ(r[65], 32);                         // service FAN_MIN of fuel 1
    EXPECT_EQ(r[66], 95);
    EXPECT_EQ(r[83], 2);
    EXPECT_EQ(r[84], 0b110);
    EXPECT_EQ(static_cast<int8_t>(r[94]), -25);
    EXPECT_EQ(u16At(r, 96), 300);
    EXPECT_EQ(u16At(r, 115), 0x1F4);
    EXPECT_EQ(r[117], 3);
    EXPECT_EQ(u16At(r, 119), 1800);
    EXPECT_EQ(r[121], 1);
    EXPECT_EQ(static_cast<int8_t>(r[124]), -15);
    EXPECT_EQ(static_cast<int8_t>(r[132]), -3);
    // CH pump, loop pump, valve 1 open, auger, ash remover, igniter, fan.
    EXPECT_EQ(u16At(r, 135), 0x001 | 0x004 | 0x008 | 0x080 | 0x200 | 0x400 | 0x800);
    EXPECT_EQ(r[137], 0x02 | 0x08 | 0x40);
    EXPECT_EQ(r[138], 0);
    EXPECT_EQ(u16At(r, 139), 0xFFFF);             // beyond 16 bits
    EXPECT_EQ(u16At(r, 141), 300);
    EXPECT_EQ(u32At(r, 143), 100000u);
    EXPECT_EQ(u32At(r, 147), 1234u);
    EXPECT_EQ(u32At(r, 151), 987654u);
    EXPECT_EQ(r[155], 57);
    EXPECT_EQ(r[156], 1);
    EXPECT_EQ(r[157], 0b1101);                    // in force, water target, pause
    EXPECT_EQ(r[158], 255);                       // no room target
    EXPECT_EQ(r[159], 65);
    EXPECT_EQ(r[160], 44);
    EXPECT_EQ(r[161], 255);
    EXPECT_EQ(r[162], 1);

    // Bunker level: empty sensor wins, no full sensor means unknown.
    s.boardInputs = kInBunkerEmpty;
    EXPECT_EQ(rig.run(1, {}).data.at(155), 254);
    s.usr.USE_FULL_SENS = 0;
    EXPECT_EQ(rig.run(1, {}).data.at(155), 255);
    // Only the period in force reports its targets.
    s.scheduleActive = 0;
    const Bytes idle = rig.run(1, {}).data;
    EXPECT_EQ(idle.at(157), 0);
    EXPECT_EQ(idle.at(159), 255);
    // Without a reply wanted nothing is built.
    EXPECT_TRUE(rig.run(1, {}, false).data.empty());
}

TEST(StatusRecord, KestraloBytes) {
    ProtocolRig rig{Variant::Kestralo};
    knownState(rig);
    const Bytes r = rig.run(1, {1, 2, 3}).data;
    ASSERT_EQ(r.size(), 123u);
    EXPECT_EQ(u16At(r, 3), 65);
    EXPECT_EQ(u16At(r, 23), 0x0002);
    EXPECT_EQ(r[28], kPause);  // as the cycle last reported it
    EXPECT_EQ(r[37], 71);
    EXPECT_EQ(r[40], 33);
    EXPECT_EQ(static_cast<int8_t>(r[46]), -7);
    EXPECT_EQ(r[50], 32);
    EXPECT_EQ(r[68], 2);
    EXPECT_EQ(u16At(r, 81), 300);
    EXPECT_EQ(u16At(r, 100), 0x1F4);
    EXPECT_EQ(r[102], 1);
    EXPECT_EQ(static_cast<int8_t>(r[105]), -15);
    EXPECT_EQ(static_cast<int8_t>(r[110]), -3);
    // No igniter bit; ash remover at bit 9, fan at bit 10.
    EXPECT_EQ(u16At(r, 113), 0x001 | 0x004 | 0x008 | 0x080 | 0x200 | 0x400);
    EXPECT_EQ(u16At(r, 115) & 0x9, 0x1);
    EXPECT_EQ(r[117], 0);
    EXPECT_EQ(r[118], 0b1101);
    EXPECT_EQ(r[120], 65);
    EXPECT_EQ(r[121], 44);
}

TEST(DeviceInfo, BothVariants) {
    ProtocolRig o;
    o.s.svc.POWER = 300;
    o.s.boardVersion = 0x2215;
    EXPECT_EQ(o.run(0, {}).data, (Bytes{0, 0x2C, 0x01, 17, 4, 0x21, 0x02}));
    ProtocolRig k{Variant::Kestralo};
    k.s.svc.POWER = 25;
    k.s.svc.BOILER_TYPE = 3;
    k.s.boardVersion = 0x2214;
    EXPECT_EQ(k.run(0, {9}).data, (Bytes{3, 25, 0, 23, 4, 0x14, 0x22}));
}

}  // namespace
}  // namespace vesk::test
