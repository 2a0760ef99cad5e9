// The protections against the simulated boiler: the auger-tube emergency
// start as the board sees it, a failed water sensor stopping the fans,
// firewood mode staying silent and the bunker filled up to its sensor.
#include <gtest/gtest.h>

#include <mutex>

#include "closed_loop.h"
#include "control/faults.h"

namespace vesk::test {
namespace {

constexpr Variant kBoth[] = {Variant::Orvena, Variant::Kestralo};

// ORVENA on the 22-byte frame, KESTRALO on the 7-byte one: the override
// has to show in either layout.
uint16_t firmwareFor(Variant v) { return v == Variant::Orvena ? 0x2214 : 0x1100; }

void fixTube(ClosedLoop& loop, double celsius) {
    loop.plant.injections().sensors[kSensorValve2] = {SensorOverride::Kind::Fixed, celsius};
}

// During a feed the board runs the auger with both fans stopped, whatever
// the burner asked for; during a hold the auger stands.
void expectBoard(ClosedLoop& loop, bool auger) {
    ASSERT_TRUE(loop.board.lastCommand().has_value());
    const BoardCommand& c = *loop.board.lastCommand();
    EXPECT_EQ(c.outputs.auger, auger) << c.describe();
    EXPECT_EQ(c.outputs.fanPercent, 0) << c.describe();
    EXPECT_EQ(c.outputs.exhaustPercent, 0) << c.describe();
    if (c.layout == 22) {
        EXPECT_EQ(c.augerByte, auger ? 10 : 5);
    }
}

int secondsInMode(ClosedLoop& loop, int mode, bool auger, int limit) {
    int n = 0;
    while (loop.s.emergencyMode == mode && n < limit) {
        expectBoard(loop, auger);
        loop.run(1);
        ++n;
    }
    return n;
}

TEST(ProtectionLoop, EmergencyStartFeedsPausesFeedsHalfAndEnds) {
    for (Variant v : kBoth) {
        SCOPED_TRACE(static_cast<int>(v));
        ClosedLoop loop(v, firmwareFor(v));
        ServiceParams& svc = loop.s.svc;
        svc.EMSTART_ENABLE = 1;
        loop.s.usr.WORM_TEMP_SENSOR_ENABLE = 1;
        svc.EMSTART_TEMP = 75;
        svc.EMSTART_DELTA = 3;
        svc.EMSTART_TIMEON = 20;
        svc.EMSTART_TIMEOFF = 1;

        fixTube(loop, 74);
        loop.run(3);
        ASSERT_EQ(loop.s.emergencyMode, 0);
        ASSERT_EQ(loop.s.faults, 0u);

        fixTube(loop, 75);
        loop.run(1);
        ASSERT_EQ(loop.s.emergencyMode, 1);
        EXPECT_NE(loop.s.faults & kFaultAugerOverheat, 0u);
        EXPECT_EQ(loop.s.fanPower, 0) << "the fault suspends combustion";

        fixTube(loop, 80);
        EXPECT_NEAR(secondsInMode(loop, 1, true, 100), 20, 1);
        ASSERT_EQ(loop.s.emergencyMode, 2);
        EXPECT_EQ(loop.s.protection.emergencyLastTemp, 80);

        // Still rising at the end of the short pause: a half-length feed.
        fixTube(loop, 82);
        EXPECT_NEAR(secondsInMode(loop, 2, false, 100), 1, 1);
        ASSERT_EQ(loop.s.emergencyMode, 1);
        EXPECT_NEAR(secondsInMode(loop, 1, true, 100), 10, 1);
        ASSERT_EQ(loop.s.emergencyMode, 2);

        // Steady: a pause of EMSTART_TIMEOFF minutes.
        loop.run(3);
        EXPECT_EQ(loop.s.emergencyMode, 2);
        EXPECT_GT(loop.s.countdown(kTAux5), 50);
        EXPECT_EQ(secondsInMode(loop, 2, false, 40), 40);

        // Down to EMSTART_TEMP - EMSTART_DELTA: over, and the burner is free.
        fixTube(loop, 72);
        loop.run(1);
        EXPECT_EQ(loop.s.emergencyMode, 0);
        EXPECT_EQ(loop.s.faults & kFaultAugerOverheat, 0u);
        EXPECT_FALSE(loop.board.lastCommand()->outputs.auger);
    }
}

TEST(ProtectionLoop, WaterSensorFailureStopsTheFans) {
    for (Variant v : kBoth) {
        SCOPED_TRACE(static_cast<int>(v));
        ClosedLoop loop(v);
        loop.run(2);
        ASSERT_EQ(loop.s.faults, 0u);
        loop.sound.take();
        {
            std::lock_guard<std::recursive_mutex> g(loop.s.stateLock);
            loop.s.burnerState = kBurning;
            loop.s.fanPower = 60;
            loop.s.exhaustFanPower = 40;
            loop.s.controlFlags &= ~kFlagStateEntry;
        }
        loop.plant.injections().sensors[kSensorWater] = {SensorOverride::Kind::Open, 0};
        loop.run(1);
        EXPECT_NE(loop.s.faults & kFaultWaterSensor, 0u);
        EXPECT_EQ(loop.s.fanPower, 0);
        EXPECT_EQ(loop.s.exhaustFanPower, 0);
        EXPECT_EQ(loop.board.lastCommand()->outputs.fanPercent, 0);
        EXPECT_EQ(loop.board.lastCommand()->outputs.exhaustPercent, 0);
        EXPECT_EQ(loop.s.burnerState, kBurning) << "the state waits for the fault to clear";
        EXPECT_NE(loop.s.controlFlags & kFlagStateEntry, 0u);
        auto played = loop.sound.take();
        ASSERT_FALSE(played.empty());
        EXPECT_EQ(played.front().resource, 245);

        loop.plant.injections().sensors[kSensorWater] = {};
        loop.run(1);
        EXPECT_EQ(loop.s.faults & kFaultWaterSensor, 0u);
    }
}

TEST(ProtectionLoop, FirewoodModeStaysSilent) {
    for (Variant v : kBoth) {
        SCOPED_TRACE(static_cast<int>(v));
        ClosedLoop loop(v);
        loop.s.usr.BURN_MODE = 2;
        loop.s.usr.THERMO_SWITCH_ENABLE = 0;
        Injections& inj = loop.plant.injections();
        inj.fuseBlown = true;
        inj.inverterOverheat = true;
        inj.sensors[kSensorWater] = {SensorOverride::Kind::Short, 0};
        inj.sensors[kSensorGas] = {SensorOverride::Kind::Open, 0};
        for (int i = 0; i < 15; ++i) {
            loop.run(1);
            ASSERT_EQ(loop.s.faults, 0u) << i;
        }
        for (const auto& e : loop.sound.take()) EXPECT_NE(e.resource, 245);
    }
}

TEST(ProtectionLoop, BunkerFillStopsAtTheFullSensor) {
    // Only the 7-byte frame carries the filler.
    ClosedLoop loop(Variant::Orvena, 0x1100);
    loop.s.usr.USE_EMPTY_SENS = 1;
    loop.s.usr.USE_FULL_SENS = 1;
    loop.s.usr.BUNK_AUTOFILL = 1;
    loop.s.usr.BUNK_TOUT = 1800;
    auto filling = [&] { return loop.plant.outputs().bunkerFiller; };
    loop.plant.setBunkerKg(5);
    ASSERT_GE(loop.runUntil(filling, 5), 0);
    const int took = loop.runUntil([&] { return !filling(); }, 1800);
    ASSERT_GE(took, 0);
    EXPECT_LT(took, 1800) << "ended by the full sensor, not by BUNK_TOUT";
    EXPECT_GE(loop.plant.bunkerKg(), loop.plant.config().bunkerFullKg);
    EXPECT_EQ(loop.plant.counters().fillerStarts, 1);
    EXPECT_EQ(loop.s.controlFlags & kFlagBunkerFillFailed, 0u);
    EXPECT_EQ(loop.s.warnings & kWarnBunkerNotFilled, 0u);
}

}  // namespace
}  // namespace vesk::test
