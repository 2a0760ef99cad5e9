// SetValveCircuit: the checks of each mode and what is stored.
#include <gtest/gtest.h>

#include "net/protocol_rig.h"

namespace vesk::test {
namespace {

uint8_t sb(int v) { return static_cast<uint8_t>(static_cast<int8_t>(v)); }

struct ValveRequest {
    uint8_t circuit = 0, mode = 1, flags = 1, water = 40, air = 22;
    uint8_t floor[4] = {25, sb(15), 45, sb(-20)};
    uint8_t radiator[4] = {30, sb(18), 80, sb(-25)};
    uint8_t step = 7;
    uint16_t interval = 60, open = 180;

    Bytes bytes() const {
        Bytes b{circuit, mode, flags, water, air};
        b.insert(b.end(), floor, floor + 4);
        b.insert(b.end(), radiator, radiator + 4);
        b.push_back(step);
        return concat({b, le16(interval), le16(open)});
    }
};

class ValveCommand : public ::testing::TestWithParam<Variant> {
protected:
    uint16_t run(const ValveRequest& r) { return rig.result(isKestralo(GetParam()) ? 10 : 12, r.bytes()); }
    ProtocolRig rig{GetParam()};
};

TEST_P(ValveCommand, ChecksOfTheRegulatingModes) {
    auto with = [](auto change) {
        ValveRequest r;
        change(r);
        return r;
    };
    const UserParams before = rig.s.usr;
    const ValveRequest refusedOnes[] = {
        with([](ValveRequest& r) { r.circuit = 2; }),
        with([](ValveRequest& r) { r.mode = 3; }),
        with([](ValveRequest& r) { r.flags = 0; }),
        with([](ValveRequest& r) { r.flags = 2; }),  // room air alone is no source
        with([](ValveRequest& r) { r.flags = 3, r.air = 4; }),
        with([](ValveRequest& r) { r.flags = 3, r.air = 36; }),
        with([](ValveRequest& r) { r.water = 61; }),
        with([](ValveRequest& r) { r.water = 19; }),
        with([](ValveRequest& r) { r.mode = 2, r.water = 86; }),
        with([](ValveRequest& r) { r.step = 2; }),
        with([](ValveRequest& r) { r.interval = 601; }),
        with([](ValveRequest& r) { r.open = 29; }),
        with([](ValveRequest& r) { r.flags = 4, r.floor[0] = 45; }),    // low water not below high
        with([](ValveRequest& r) { r.flags = 4, r.floor[3] = sb(15); }), // high air not below low
        with([](ValveRequest& r) { r.flags = 4, r.floor[2] = 61; }),
        with([](ValveRequest& r) { r.flags = 4, r.floor[3] = sb(-51); }),
        with([](ValveRequest& r) { r.mode = 2, r.flags = 4, r.radiator[2] = 86; }),
    };
    for (const ValveRequest& r : refusedOnes) EXPECT_EQ(run(r), 1) << testing::PrintToString(r.bytes());
    EXPECT_TRUE(sameUserSettings(rig.s.usr, before));
    EXPECT_FALSE(rig.userSaved());

    EXPECT_EQ(run(with([](ValveRequest& r) { r.water = 60; })), 0);
    EXPECT_EQ(run(with([](ValveRequest& r) { r.mode = 2, r.water = 85; })), 0);
    // The radiator curve may reach the water limit; the floor curve's
    // points are not looked at in mode 2.
    EXPECT_EQ(run(with([](ValveRequest& r) { r.mode = 2, r.flags = 4, r.radiator[2] = 85, r.floor[0] = 99; })), 0);
}

TEST_P(ValveCommand, CurveReplacesTheFixedTarget) {
    ValveRequest r;
    r.circuit = 1;
    r.flags = 7;  // fixed water, room air and floor curve
    r.step = 9;
    ASSERT_EQ(run(r), 0);
    const ValveParams& v = rig.s.usr.VLV2;
    EXPECT_EQ(v.MODE, 1);
    EXPECT_EQ(v.USEWATER, 0);
    EXPECT_EQ(v.USEAIR, 1);
    EXPECT_EQ(v.USEWH, 1);
    EXPECT_EQ(v.WATL_FL, 25);
    EXPECT_EQ(v.AIRL_FL, 15);
    EXPECT_EQ(v.WATH_FL, 45);
    EXPECT_EQ(v.AIRH_FL, -20);
    EXPECT_EQ(v.WATH_CH, 80);  // radiator set untouched (default)
    EXPECT_EQ(v.STEP, 9);
    EXPECT_EQ(v.AIR, 22);
    EXPECT_TRUE(rig.userSaved());

    rig.clearFiles();
    EXPECT_EQ(run(r), 0);
    EXPECT_FALSE(rig.userSaved());  // nothing changed
}

// Switching a valve off checks nothing but mode and circuit; timing values
// outside their limits are not taken with it.
TEST_P(ValveCommand, SwitchingOffKeepsSaneTiming) {
    ValveRequest r;
    r.mode = 0;
    r.flags = 0;
    r.step = 0;
    r.interval = 0;
    r.open = 45;
    ASSERT_EQ(run(r), 0);
    const ValveParams& v = rig.s.usr.VLV1;
    EXPECT_EQ(v.MODE, 0);
    EXPECT_EQ(v.USEWATER, 0);
    EXPECT_EQ(v.STEP, 7);
    EXPECT_EQ(v.INT, 60);
    EXPECT_EQ(v.TOPEN, 45);
}

INSTANTIATE_TEST_SUITE_P(Variants, ValveCommand, ::testing::Values(Variant::Orvena, Variant::Kestralo));

}  // namespace
}  // namespace vesk::test
