#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "closed_loop.h"
#include "control/burner_commands.h"
#include "core/burner_persistence.h"
#include "platform/eeprom.h"

namespace vesk::test {
namespace {

constexpr int kMinute = 60;
constexpr int kHour = 3600;
constexpr uint32_t kWentOut = 0x001;

// A pellet boiler with automatic ignition and no room sensor wired, so the
// water regulator leads.
void pellets(ClosedLoop& loop) {
    loop.s.usr.FUEL = 2;
    loop.s.usr.EN_AUTOHEATER = 1;
    loop.s.usr.TWAT_UST = 65;
    loop.plant.injections().sensors[kSensorAir].kind = SensorOverride::Kind::Open;
    loop.run(2);
}

// The ON lengths (s) of the auger pulses started while `loop` runs until
// `done` or `limit` seconds.
std::vector<int> feedsUntil(ClosedLoop& loop, const std::function<bool()>& done, int limit) {
    std::vector<int> feeds;
    bool was = false;
    for (int i = 0; i < limit && !done(); ++i) {
        loop.run(1);
        const bool now = loop.pulse.running();
        if (now && !was) feeds.push_back(loop.s.pulseOnMs / 1000);
        was = now;
    }
    return feeds;
}

// Burning at 65 degrees, reached from a cold start.
void burningAtTarget(ClosedLoop& loop) {
    pellets(loop);
    ASSERT_EQ(commandBurner(loop.s, kCmdStartIgnition), 1);
    ASSERT_GE(loop.runUntil([&] { return loop.plant.boilerWaterC() >= 64.5; }, 5 * kHour), 0)
        << loop.plant.describe();
    ASSERT_EQ(loop.s.burnerState, kBurning);
}

bool suspended(const ClosedLoop& loop) {
    return loop.s.fanPower == 0 && loop.s.exhaustFanPower == 0 && loop.s.augerOn == 0;
}

struct CombustionLoop : ::testing::TestWithParam<Variant> {};

TEST_P(CombustionLoop, AutomaticStartLightsTheFireAndHoldsTheWater) {
    ClosedLoop loop(GetParam());
    pellets(loop);
    ASSERT_EQ(commandBurner(loop.s, kCmdStartIgnition), 1);
    // The first feed: BURNUP_TRY x WORM_BURNUP seconds, then the igniter.
    loop.run(1);
    EXPECT_EQ(loop.s.pulseOnMs, loop.s.svc.BURNUP_TRY * loop.s.svc.WORM_BURNUP * 1000);
    EXPECT_EQ(loop.board.lastCommand()->outputs.auger, true);
    ASSERT_GE(loop.runUntil([&] { return loop.s.controlFlags & kFlagIgniter; }, 2 * kMinute), 0);
    EXPECT_NEAR(loop.fuelOnMs, 90000, 1000);
    EXPECT_EQ(loop.board.lastCommand()->outputs.igniter, true);
    EXPECT_EQ(loop.board.lastCommand()->outputs.fanPercent, loop.s.svc.FAN_BURNUP);
    ASSERT_GE(loop.runUntil([&] { return loop.s.burnerState == kBlowup; }, 10 * kMinute), 0)
        << loop.plant.describe();
    EXPECT_TRUE(loop.plant.fireLit());
    ASSERT_GE(loop.runUntil([&] { return loop.s.burnerState == kBurning; }, 10 * kMinute), 0);
    EXPECT_FALSE(loop.s.controlFlags & kFlagIgniter) << "the igniter is off once the fire is up";

    ASSERT_GE(loop.runUntil([&] { return loop.plant.boilerWaterC() >= 64.5; }, 5 * kHour), 0)
        << loop.plant.describe();
    double lo = 100, hi = 0;
    for (int i = 0; i < 3 * kHour; ++i) {
        loop.run(1);
        lo = std::min(lo, loop.plant.boilerWaterC());
        hi = std::max(hi, loop.plant.boilerWaterC());
        ASSERT_EQ(loop.s.burnerState, kBurning) << loop.plant.describe();
    }
    EXPECT_GT(lo, 62) << "held within a few degrees for three hours";
    EXPECT_LT(hi, 68);
    EXPECT_EQ(loop.s.faults, 0u);
    EXPECT_EQ(loop.plant.counters().fireOuts, 0);
}

TEST_P(CombustionLoop, MaintenanceAboveTheBandAndBackBelowIt) {
    ClosedLoop loop(GetParam());
    burningAtTarget(loop);
    loop.run(20 * kMinute);
    ASSERT_EQ(loop.s.burner.keepMode, 0);
    loop.s.usr.TWAT_UST = 60;
    ASSERT_GE(loop.runUntil([&] { return loop.s.burner.keepMode == 1; }, 10 * kMinute), 0);
    EXPECT_GE(loop.s.readSensor(kSensorWater), 65) << "entered at target + 5";
    EXPECT_FALSE(loop.pulse.running()) << "no regulated feed while the fire is kept";
    EXPECT_EQ(loop.board.lastCommand()->outputs.fanPercent, 0);
    ASSERT_GE(loop.runUntil([&] { return loop.s.burner.keepMode == 0; }, 3 * kHour), 0) << loop.plant.describe();
    EXPECT_LE(loop.s.readSensor(kSensorWater), 63) << "left at target + 3 or below";
    EXPECT_EQ(loop.s.burnerState, kBurning);
    loop.run(kMinute);
    EXPECT_TRUE(loop.pulse.running()) << "regulated feed again";
    EXPECT_GT(loop.s.fanPower, 0);
}

TEST_P(CombustionLoop, RoomThermostatPausesAndResumes) {
    ClosedLoop loop(GetParam());
    if (isKestralo(GetParam())) loop.s.usr.THERMOSTAT_RESPONSE = 2;
    burningAtTarget(loop);
    loop.plant.injections().roomThermostat = Injections::Room::On;
    ASSERT_GE(loop.runUntil([&] { return loop.s.burnerState == kPause; }, 10), 0);
    loop.run(2);
    EXPECT_TRUE(suspended(loop));
    const double fed = loop.plant.counters().augerRunS;
    loop.run(15 * kMinute);
    EXPECT_EQ(loop.s.burnerState, kPause);
    EXPECT_EQ(loop.plant.counters().augerRunS, fed);
    loop.plant.injections().roomThermostat = Injections::Room::Off;
    ASSERT_GE(loop.runUntil([&] { return loop.s.burnerState == kBurning; }, kHour), 0);
    loop.run(10 * kMinute);
    EXPECT_EQ(loop.s.burnerState, kBurning);
    EXPECT_TRUE(loop.plant.fireLit());
}

TEST_P(CombustionLoop, FireThatNeverLightsEndsInStopWithWarning) {
    ClosedLoop loop(GetParam());
    pellets(loop);
    loop.plant.setBunkerKg(0);
    ASSERT_EQ(commandBurner(loop.s, kCmdStartIgnition), 1);
    const std::vector<int> feeds = feedsUntil(loop, [&] { return loop.s.burnerState != kIgnition; }, kHour);
    EXPECT_EQ(feeds, (std::vector<int>{90, 60, 30}));
    EXPECT_EQ(loop.s.burnerState, kStop);
    EXPECT_TRUE(loop.s.warnings & kWentOut);
    loop.run(5);
    EXPECT_FALSE(loop.board.lastCommand()->outputs.igniter);
    EXPECT_EQ(loop.board.lastCommand()->outputs.fanPercent, 0);
    EXPECT_EQ(loop.plant.counters().ignitions, 0);
}

TEST_P(CombustionLoop, FlameLostBlowsUpThenReignitesWithAShorterFeed) {
    ClosedLoop loop(GetParam());
    burningAtTarget(loop);
    loop.plant.setBunkerKg(0);
    ASSERT_GE(loop.runUntil([&] { return loop.s.burnerState == kBlowup; }, 2 * kHour), 0) << loop.plant.describe();
    EXPECT_FALSE(loop.plant.fireLit());
    EXPECT_TRUE(loop.s.controlFlags & kFlagBlowupFromBurning);
    ASSERT_GE(loop.runUntil([&] { return loop.s.burnerState == kIgnition; }, 15 * kMinute), 0);
    loop.plant.setBunkerKg(100);
    loop.run(2);
    EXPECT_EQ(loop.s.pulseOnMs, (loop.s.svc.BURNUP_TRY - 1) * loop.s.svc.WORM_BURNUP * 1000)
        << "the first feed after a failed blow-up is one portion shorter";
    ASSERT_GE(loop.runUntil([&] { return loop.s.burnerState == kBurning; }, kHour), 0) << loop.plant.describe();
    EXPECT_TRUE(loop.plant.fireLit());
}

TEST_P(CombustionLoop, FaultSuspendsAndTheStateStartsAfresh) {
    ClosedLoop loop(GetParam());
    burningAtTarget(loop);
    loop.run(10 * kMinute);
    // Water sensor broken: faults stop fans and auger, the state stays.
    loop.plant.injections().sensors[kSensorWater].kind = SensorOverride::Kind::Open;
    loop.run(2);
    EXPECT_TRUE(loop.s.faults & 0x004);
    EXPECT_EQ(loop.s.burnerState, kBurning);
    EXPECT_TRUE(suspended(loop));
    EXPECT_FALSE(loop.pulse.running());
    const double fed = loop.plant.counters().augerRunS;
    loop.run(5 * kMinute);
    EXPECT_EQ(loop.plant.counters().augerRunS, fed) << "no feeding while suspended";
    EXPECT_EQ(loop.s.burnerState, kBurning);
    loop.plant.injections().sensors[kSensorWater].kind = SensorOverride::Kind::None;
    loop.run(5);
    EXPECT_EQ(loop.s.faults, 0u);
    EXPECT_EQ(loop.s.burnerState, kBurning);
    EXPECT_GE(loop.s.combustion.water.iCommitted, (loop.s.usr.POW_UST_MIN - 2) * 256)
        << "burning started afresh";

    // The fuse: the board loses its outputs; the panel suspends as well.
    loop.plant.injections().fuseBlown = true;
    loop.run(2);
    EXPECT_TRUE(loop.s.faults & 0x001);
    EXPECT_TRUE(suspended(loop));
    loop.run(kMinute);
    loop.plant.injections().fuseBlown = false;
    ASSERT_GE(loop.runUntil([&] { return loop.s.faults == 0 && loop.s.fanPower > 0; }, 30), 0);
    EXPECT_EQ(loop.s.burnerState, kBurning);
}

TEST_P(CombustionLoop, FaultDuringIgnitionRestartsWithEveryAttempt) {
    ClosedLoop loop(GetParam());
    pellets(loop);
    loop.plant.setBunkerKg(0);
    ASSERT_EQ(commandBurner(loop.s, kCmdStartIgnition), 1);
    ASSERT_GE(loop.runUntil(
                  [&] { return loop.s.burner.ignitionTries == 2 && (loop.s.controlFlags & kFlagIgniter); }, kHour),
              0);
    loop.plant.injections().sensors[kSensorWater].kind = SensorOverride::Kind::Open;
    loop.run(2);
    EXPECT_EQ(loop.s.burnerState, kIgnition);
    EXPECT_FALSE(loop.board.lastCommand()->outputs.igniter) << "no heat source on while suspended";
    loop.run(kMinute);
    loop.plant.injections().sensors[kSensorWater].kind = SensorOverride::Kind::None;
    const std::vector<int> feeds = feedsUntil(loop, [&] { return loop.s.burnerState != kIgnition; }, kHour);
    EXPECT_EQ(feeds, (std::vector<int>{90, 60, 30})) << "BURNUP_TRY attempts again";
    EXPECT_EQ(loop.s.burnerState, kStop);
}

// A power cut: a fresh panel on the same boiler starts from the code the
// control thread stored, and the restored state begins as if just entered.
TEST_P(CombustionLoop, PowerCutDuringIgnitionStartsTheIgnitionAfresh) {
    ClosedLoop before(GetParam());
    pellets(before);
    ASSERT_EQ(commandBurner(before.s, kCmdStartIgnition), 1);
    ASSERT_GE(before.runUntil([&] { return before.s.controlFlags & kFlagIgniter; }, 2 * kMinute), 0);
    ASSERT_EQ(before.eeprom.data[0], 4) << "ignition stored";

    auto after = ClosedLoop::restartedAfterPowerCut(before);
    ClosedLoop& loop = *after;
    EXPECT_EQ(loop.s.burnerState, kIgnition);
    const std::vector<int> feeds = feedsUntil(loop, [&] { return loop.s.burnerState != kIgnition; }, kHour);
    ASSERT_FALSE(feeds.empty()) << "the ignition feeds instead of failing at once";
    EXPECT_EQ(feeds.front(), 90) << "a full first feed: BURNUP_TRY x WORM_BURNUP";
    EXPECT_EQ(loop.s.burnerState, kBlowup) << loop.plant.describe();
    EXPECT_FALSE(loop.s.warnings & kWentOut);
    ASSERT_GE(loop.runUntil([&] { return loop.s.burnerState == kBurning; }, 10 * kMinute), 0);
    EXPECT_EQ(loop.eeprom.data[0], 2);
    EXPECT_TRUE(loop.plant.fireLit());
}

TEST_P(CombustionLoop, PowerCutWhileBurningResumesFromTheRegulatorFloor) {
    ClosedLoop before(GetParam());
    burningAtTarget(before);
    before.run(10 * kMinute);
    ASSERT_EQ(before.eeprom.data[0], 2) << "burning stored";

    auto after = ClosedLoop::restartedAfterPowerCut(before);
    ClosedLoop& loop = *after;
    EXPECT_EQ(loop.s.burnerState, kBurning);
    loop.run(1);
    const int floor = (loop.s.usr.POW_UST_MIN - 2) * 256;
    CombustionRecords& r = loop.s.combustion;
    EXPECT_GE(r.water.iCommitted, floor) << "burning entered afresh";
    EXPECT_GE(r.gas.iCommitted, floor);
    EXPECT_GE(r.air.iCommitted, floor);
    for (int i = 0; i < kHour; ++i) {
        loop.run(1);
        ASSERT_EQ(loop.s.burnerState, kBurning) << loop.plant.describe();
    }
    EXPECT_TRUE(loop.plant.fireLit());
    EXPECT_NEAR(loop.plant.boilerWaterC(), 65, 3);
    EXPECT_EQ(loop.eeprom.data[0], 2);
    EXPECT_FALSE(loop.s.warnings & kWentOut);
}

TEST_P(CombustionLoop, SemiAutomaticFromStartToFadeOut) {
    ClosedLoop loop(GetParam());
    loop.plant.injections().sensors[kSensorAir].kind = SensorOverride::Kind::Open;
    loop.s.usr.BURN_MODE = 1;
    loop.s.usr.TWAT_UST = 65;
    ASSERT_EQ(commandBurner(loop.s, kCmdModeChanged), 1);
    loop.run(2);
    // A charge of fuel, lit by hand, and the start.
    loop.plant.setGrateFuelKg(3);
    loop.plant.lightByHand();
    ASSERT_EQ(commandBurner(loop.s, kCmdStartIgnition), 1);
    loop.run(1);
    EXPECT_EQ(loop.s.fanPower, loop.s.usr.SA_FAN_BUP);
    ASSERT_GE(loop.runUntil([&] { return loop.s.burnerState == kBurning; }, 30 * kMinute), 0)
        << loop.plant.describe();
    int peak = 0;
    ASSERT_GE(loop.runUntil(
                  [&] {
                      peak = std::max(peak, loop.s.fanPower);
                      return loop.s.burnerState == kStop;
                  },
                  6 * kHour),
              0)
        << loop.plant.describe();
    EXPECT_TRUE(loop.s.warnings & kWentOut) << "the charge burnt out";
    EXPECT_FALSE(loop.plant.fireLit());
    EXPECT_GT(peak, loop.s.usr.SA_FAN_BUP) << "the blower ramped up";
    EXPECT_EQ(loop.plant.counters().augerRunS, 0) << "fuel is loaded by hand";
    EXPECT_LT(loop.plant.boilerWaterC(), 80);
}

TEST_P(CombustionLoop, FirewoodNeverDrivesBlowerOrAuger) {
    PlantConfig wood;
    wood.burnBackAfterS = 0;  // no auger-tube emergency feed in this story
    ClosedLoop loop(GetParam(), 0x2214, wood);
    loop.s.usr.BURN_MODE = 2;
    ASSERT_EQ(commandBurner(loop.s, kCmdModeChanged), 1);
    EXPECT_EQ(loop.s.burnerState, kBurning);
    loop.plant.setGrateFuelKg(3);
    loop.plant.lightByHand();
    for (int i = 0; i < kHour; ++i) {
        loop.run(1);
        ASSERT_EQ(loop.board.lastCommand()->outputs.fanPercent, 0);
        ASSERT_EQ(loop.board.lastCommand()->outputs.exhaustPercent, 0);
        ASSERT_FALSE(loop.pulse.running());
    }
    EXPECT_EQ(loop.plant.counters().augerRunS, 0);
    EXPECT_EQ(loop.s.faults, 0u);
    EXPECT_EQ(loop.s.burnerState, kBurning);
    EXPECT_TRUE(loop.plant.fireLit()) << "the wood burns on natural draught";
}

INSTANTIATE_TEST_SUITE_P(Variants, CombustionLoop, ::testing::Values(Variant::Orvena, Variant::Kestralo));

}  // namespace
}  // namespace vesk::test
