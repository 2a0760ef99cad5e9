// Settings commands over the dispatcher: the limits of every command, the
// rule that nothing is half-applied, and when user.cfg is rewritten.
#include <gtest/gtest.h>

#include "net/protocol_rig.h"

namespace vesk::test {
namespace {

enum class Cmd {
    PowerLimits, Water, Air, Fan, Auger, Consumption, ResetFuel, Sms, Clock, Weather, Valve, FuelHeat,
    KeepChimney, Pumps, Recirc, ExFan, Ash, Bunker, SensorCorr, StartStop,
};

// The command codes of each variant's table.
uint16_t code(Variant v, Cmd c) {
    static constexpr uint16_t kOrvena[] = {2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 23};
    static constexpr uint16_t kKestralo[] = {2, 3, 4, 5, 6, 0, 0, 7, 8, 9, 10, 11, 12, 13, 14, 15, 0, 0, 16, 19};
    return (isKestralo(v) ? kKestralo : kOrvena)[static_cast<int>(c)];
}

uint8_t sb(int v) { return static_cast<uint8_t>(static_cast<int8_t>(v)); }

constexpr uint8_t kOrvenaOnly = 1, kKestraloOnly = 2, kBoth = 3;

struct Case {
    uint8_t variants;
    Cmd cmd;
    Bytes data;
    uint16_t result;
};

// Limits from the rig: POWER_MIN 20, MAX_TSENS_CORR 5, WORM_CORR_MAX 20,
// FAN100 95, service FAN_MIN 30 for fuel 0 (in force), water limits 60..85.
const Case kCases[] = {
    {kBoth, Cmd::PowerLimits, {20, 50}, 0}, {kBoth, Cmd::PowerLimits, {19, 50}, 1},
    {kBoth, Cmd::PowerLimits, {30, 100}, 0}, {kBoth, Cmd::PowerLimits, {31, 100}, 1},
    {kBoth, Cmd::PowerLimits, {20, 49}, 1}, {kBoth, Cmd::PowerLimits, {20, 101}, 1},
    {kBoth, Cmd::Water, le16(60), 0}, {kBoth, Cmd::Water, le16(59), 1},
    {kBoth, Cmd::Water, le16(85), 0}, {kBoth, Cmd::Water, le16(86), 1}, {kBoth, Cmd::Water, le16(256 + 70), 1},
    {kBoth, Cmd::Air, le16(5), 0}, {kBoth, Cmd::Air, le16(4), 1}, {kBoth, Cmd::Air, le16(35), 0},
    {kBoth, Cmd::Air, le16(36), 1},
    {kBoth, Cmd::Fan, {0, 30, 85}, 0}, {kBoth, Cmd::Fan, {0, 29, 85}, 1}, {kBoth, Cmd::Fan, {5, 34, 100}, 0},
    {kBoth, Cmd::Fan, {0, 35, 90}, 1}, {kBoth, Cmd::Fan, {0, 30, 84}, 1}, {kBoth, Cmd::Fan, {0, 30, 101}, 1},
    {kBoth, Cmd::Fan, {6, 30, 90}, 1},
    {kBoth, Cmd::Auger, {0, 20}, 0}, {kBoth, Cmd::Auger, {5, sb(-20)}, 0}, {kBoth, Cmd::Auger, {0, 21}, 1},
    {kBoth, Cmd::Auger, {0, sb(-21)}, 1}, {kBoth, Cmd::Auger, {6, 0}, 1},
    {kOrvenaOnly, Cmd::Consumption, {0, 50}, 0}, {kOrvenaOnly, Cmd::Consumption, {0, sb(-51)}, 1},
    {kOrvenaOnly, Cmd::Consumption, {0, 51}, 1},
    {kBoth, Cmd::Sms, {1, 1, 85}, 0}, {kBoth, Cmd::Sms, {2, 0, 0}, 1}, {kBoth, Cmd::Sms, {0, 2, 0}, 1},
    {kBoth, Cmd::Sms, {0, 0, 86}, 1},
    {kBoth, Cmd::Weather, {1, 20, 20, 70, sb(-20)}, 0}, {kBoth, Cmd::Weather, {0, 19, 20, 70, sb(-20)}, 1},
    {kBoth, Cmd::Weather, {0, 70, 20, 70, sb(-20)}, 1}, {kBoth, Cmd::Weather, {0, 20, 26, 70, sb(-20)}, 1},
    {kBoth, Cmd::Weather, {0, 20, 20, 70, sb(-51)}, 1}, {kBoth, Cmd::Weather, {0, 20, 10, 70, 10}, 1},
    {kBoth, Cmd::Weather, {0, 20, 20, 59, 0}, 1}, {kBoth, Cmd::Weather, {0, 20, 20, 86, 0}, 1},
    {kBoth, Cmd::Weather, {2, 20, 20, 70, 0}, 1},
    {kBoth, Cmd::FuelHeat, {5, 3, 1}, 0}, {kBoth, Cmd::FuelHeat, {6, 0, 0}, 1},
    {kBoth, Cmd::FuelHeat, {0, 4, 0}, 1}, {kBoth, Cmd::FuelHeat, {0, 0, 2}, 1},
    {kBoth, Cmd::KeepChimney, {0, 20, 60, 5}, 0}, {kBoth, Cmd::KeepChimney, {5, sb(-20), 180, 20}, 0},
    {kBoth, Cmd::KeepChimney, {0, 21, 60, 5}, 1}, {kBoth, Cmd::KeepChimney, {0, sb(-21), 60, 5}, 1},
    {kBoth, Cmd::KeepChimney, {0, 0, 59, 5}, 1}, {kBoth, Cmd::KeepChimney, {0, 0, 181, 5}, 1},
    {kBoth, Cmd::KeepChimney, {0, 0, 60, 4}, 1}, {kBoth, Cmd::KeepChimney, {0, 0, 60, 21}, 1},
    {kBoth, Cmd::KeepChimney, {6, 0, 60, 5}, 1},
    {kBoth, Cmd::Pumps, {2, 30, 30, 30}, 0}, {kBoth, Cmd::Pumps, {3, 30, 30, 30}, 1},
    {kBoth, Cmd::Pumps, {0, 29, 30, 30}, 1}, {kBoth, Cmd::Pumps, {0, 55, 70, 80}, 0},
    {kBoth, Cmd::Pumps, {0, 56, 30, 30}, 1}, {kBoth, Cmd::Pumps, {0, 30, 71, 30}, 1},
    {kBoth, Cmd::Pumps, {0, 30, 30, 29}, 1},
    // KESTRALO bounds the DHW target by DHW_OPT_UST_MAX (85) instead of 80.
    {kOrvenaOnly, Cmd::Pumps, {0, 30, 30, 81}, 1}, {kKestraloOnly, Cmd::Pumps, {0, 30, 30, 85}, 0},
    {kKestraloOnly, Cmd::Pumps, {0, 30, 30, 86}, 1},
    {kBoth, Cmd::Recirc, {1, 40, 41, 70, 65}, 0}, {kBoth, Cmd::Recirc, {1, 39, 41, 70, 65}, 1},
    {kBoth, Cmd::Recirc, {1, 60, 60, 70, 65}, 1}, {kBoth, Cmd::Recirc, {1, 40, 91, 70, 65}, 1},
    {kBoth, Cmd::Recirc, {1, 40, 90, 71, 30}, 1}, {kBoth, Cmd::Recirc, {0, 40, 90, 35, 30}, 0},
    {kBoth, Cmd::Recirc, {0, 40, 90, 34, 30}, 1}, {kBoth, Cmd::Recirc, {0, 40, 90, 70, 29}, 1},
    {kBoth, Cmd::Recirc, {2, 40, 90, 70, 30}, 1},
    {kBoth, Cmd::ExFan, {3, 10}, 0}, {kBoth, Cmd::ExFan, {4, 10}, 1}, {kBoth, Cmd::ExFan, {0, 9}, 1},
    {kBoth, Cmd::ExFan, {0, 100}, 0}, {kBoth, Cmd::ExFan, {0, 101}, 1},
    {kOrvenaOnly, Cmd::Ash, {1, 3, 1}, 0}, {kOrvenaOnly, Cmd::Ash, {0, 60, 60}, 0},
    {kOrvenaOnly, Cmd::Ash, {2, 3, 1}, 1}, {kOrvenaOnly, Cmd::Ash, {0, 2, 1}, 1},
    {kOrvenaOnly, Cmd::Ash, {0, 61, 1}, 1}, {kOrvenaOnly, Cmd::Ash, {0, 3, 0}, 1},
    {kOrvenaOnly, Cmd::Ash, {0, 3, 61}, 1},
    {kOrvenaOnly, Cmd::Bunker, concat({{1, 1}, le16(10)}), 0}, {kOrvenaOnly, Cmd::Bunker, concat({{3, 0}, le16(1800)}), 0},
    {kOrvenaOnly, Cmd::Bunker, concat({{1, 0}, le16(9)}), 1}, {kOrvenaOnly, Cmd::Bunker, concat({{0, 0}, le16(9)}), 1},
    {kOrvenaOnly, Cmd::Bunker, concat({{0, 7}, le16(1801)}), 1}, {kOrvenaOnly, Cmd::Bunker, concat({{1, 2}, le16(30)}), 1},
    {kOrvenaOnly, Cmd::SensorCorr, {4, sb(-4), 0}, 0}, {kOrvenaOnly, Cmd::SensorCorr, {5, 0, 0}, 1},
    {kOrvenaOnly, Cmd::SensorCorr, {0, 0, sb(-5)}, 1},
    {kKestraloOnly, Cmd::SensorCorr, {50, sb(-50), 0}, 0}, {kKestraloOnly, Cmd::SensorCorr, {0, 51, 0}, 1},
    // Exact data lengths.
    {kBoth, Cmd::Water, {70}, 1}, {kBoth, Cmd::Water, {70, 0, 0}, 1}, {kBoth, Cmd::Valve, Bytes(17, 0), 1},
    {kBoth, Cmd::StartStop, {1}, 1}, {kBoth, Cmd::Clock, {0, 0, 12, 1, 1}, 1},
};

class SettingsCommands : public ::testing::TestWithParam<Variant> {
protected:
    Variant v() const { return GetParam(); }
    ProtocolRig rig{GetParam()};
};

TEST_P(SettingsCommands, LimitsOfEveryCommand) {
    const uint8_t mine = isKestralo(v()) ? kKestraloOnly : kOrvenaOnly;
    int index = 0;
    for (const Case& c : kCases) {
        ++index;
        if (!(c.variants & mine)) continue;
        ProtocolRig fresh{v()};
        EXPECT_EQ(fresh.result(code(v(), c.cmd), c.data), c.result) << "case " << index;
        // Refused requests change nothing and write nothing.
        if (c.result) {
            EXPECT_FALSE(fresh.userSaved()) << "case " << index;
            EXPECT_TRUE(sameUserSettings(fresh.s.usr, rig.s.usr)) << "case " << index;
        }
    }
}

TEST_P(SettingsCommands, NothingIsHalfApplied) {
    const int32_t min = rig.s.usr.POW_UST_MIN;
    ASSERT_NE(min, 25);
    EXPECT_EQ(rig.result(code(v(), Cmd::PowerLimits), {25, 101}), 1);
    EXPECT_EQ(rig.s.usr.POW_UST_MIN, min);
    EXPECT_EQ(rig.result(code(v(), Cmd::PowerLimits), {25, 60}), 0);
    EXPECT_EQ(rig.s.usr.POW_UST_MIN, 25);
    EXPECT_EQ(rig.s.usr.POW_UST, 60);
    EXPECT_NE(readText(rig.userFile()).find("POW_UST_MIN=25\n"), std::string::npos);
}

TEST_P(SettingsCommands, PlainCommandsSaveEvenUnchanged) {
    rig.s.usr.TAIR_UST = 21;
    EXPECT_EQ(rig.result(code(v(), Cmd::Air), le16(21)), 0);
    EXPECT_TRUE(rig.userSaved());
    EXPECT_GT(rig.refresh.count.load(), 0);
}

TEST_P(SettingsCommands, OnlyIfChangedCommandsKeepTheFile) {
    UserParams& u = rig.s.usr;
    u.EXFAN_MODE = 1;
    u.EXFAN_UST = 50;
    u.PUMPS_IDLE_MODE = 0;
    u.TPUMPS_ON = 40;
    u.TPUMPS_ON_HSEP = 40;
    u.TDHW_UST = 60;
    const std::pair<Cmd, Bytes> same[] = {{Cmd::ExFan, {1, 50}}, {Cmd::Pumps, {0, 40, 40, 60}}};
    for (const auto& [cmd, data] : same) {
        EXPECT_EQ(rig.result(code(v(), cmd), data), 0);
        EXPECT_FALSE(rig.userSaved());
    }
    EXPECT_EQ(rig.result(code(v(), Cmd::ExFan), {1, 51}), 0);
    EXPECT_TRUE(rig.userSaved());
    EXPECT_EQ(u.EXFAN_UST, 51);
}

// The fan minimum follows the service minimum of the fuel in force, not of
// the fuel the request names.
TEST_P(SettingsCommands, FanMinimumBoundByFuelInForce) {
    rig.s.usr.FUEL = 3;  // service FAN_MIN 36
    EXPECT_EQ(rig.result(code(v(), Cmd::Fan), {0, 30, 90}), 1);
    EXPECT_EQ(rig.result(code(v(), Cmd::Fan), {0, 40, 90}), 0);
    EXPECT_EQ(rig.s.usr.FAN_MIN[0], 40);
    EXPECT_EQ(rig.s.usr.FAN_MAX[0], 90);
    EXPECT_EQ(rig.result(code(v(), Cmd::Fan), {0, 41, 90}), 1);
}

TEST_P(SettingsCommands, SmsControlAndStartStop) {
    EXPECT_EQ(rig.result(code(v(), Cmd::Sms), {1, 0, 50}), 0);
    EXPECT_EQ(rig.s.smsControlEnable, 1);
    EXPECT_EQ(rig.s.usr.LOW_TWATW, 50);

    EXPECT_EQ(rig.result(code(v(), Cmd::StartStop), le16(0x100)), 0);
    EXPECT_EQ(rig.result(code(v(), Cmd::StartStop), le16(0)), 0);
    EXPECT_EQ(rig.burnerCodes, (std::vector<int>{5, 6}));
}

TEST_P(SettingsCommands, ClockAcceptsOnlyRealDates) {
    EXPECT_EQ(rig.result(code(v(), Cmd::Clock), {0, 0, 12, 29, 2, 25}), 1);
    EXPECT_EQ(rig.result(code(v(), Cmd::Clock), {0, 60, 12, 1, 3, 25}), 1);
    EXPECT_EQ(rig.result(code(v(), Cmd::Clock), {0, 0, 24, 1, 3, 25}), 1);
    EXPECT_EQ(rig.result(code(v(), Cmd::Clock), {0, 0, 12, 1, 13, 25}), 1);
    EXPECT_EQ(rig.clock.localTime().year, 2026);
    EXPECT_EQ(rig.result(code(v(), Cmd::Clock), {59, 58, 23, 29, 2, 24}), 0);
    const LocalTime t = rig.clock.localTime();
    EXPECT_EQ(t.year, 2024);
    EXPECT_EQ(t.month, 2);
    EXPECT_EQ(t.day, 29);
    EXPECT_EQ(t.hour, 23);
    EXPECT_EQ(t.minute, 58);
    EXPECT_EQ(t.dayOfWeek, 4);  // a Thursday
    EXPECT_FALSE(rig.userSaved());
}

INSTANTIATE_TEST_SUITE_P(Variants, SettingsCommands, ::testing::Values(Variant::Orvena, Variant::Kestralo));

// ORVENA's bunker settings: with bit 0 clear only the empty sensor is
// switched off, and the time-out is still checked.
TEST(BunkerCommand, FlagRules) {
    ProtocolRig rig;
    UserParams& u = rig.s.usr;
    u.USE_EMPTY_SENS = 1;
    u.USE_FULL_SENS = 1;
    u.BUNK_AUTOFILL = 1;
    u.BUNK_TOUT = 300;
    EXPECT_EQ(rig.result(19, concat({{0, 0}, le16(10)})), 0);
    EXPECT_EQ(u.USE_EMPTY_SENS, 0);
    EXPECT_EQ(u.USE_FULL_SENS, 1);
    EXPECT_EQ(u.BUNK_AUTOFILL, 1);
    EXPECT_EQ(u.BUNK_TOUT, 300);
    EXPECT_TRUE(rig.userSaved());

    rig.clearFiles();
    EXPECT_EQ(rig.result(19, concat({{2, 0}, le16(20)})), 0);
    EXPECT_FALSE(rig.userSaved());  // already off: nothing to save

    EXPECT_FALSE(rig.s.controlFlags & kFlagBunkerRestart);
    EXPECT_EQ(rig.result(19, concat({{1, 0}, le16(600)})), 0);
    EXPECT_EQ(u.USE_EMPTY_SENS, 1);
    EXPECT_EQ(u.USE_FULL_SENS, 0);
    EXPECT_EQ(u.BUNK_AUTOFILL, 0);
    EXPECT_EQ(u.BUNK_TOUT, 600);
    EXPECT_TRUE(rig.userSaved());
    // A new automatic-filling choice restarts the bunker logic, so a fill
    // begins with its full time-out instead of a stale countdown.
    EXPECT_TRUE(rig.s.controlFlags & kFlagBunkerRestart);
    rig.s.controlFlags = 0;
    EXPECT_EQ(rig.result(19, concat({{1, 0}, le16(700)})), 0);
    EXPECT_FALSE(rig.s.controlFlags & kFlagBunkerRestart) << "the same choice again";
    EXPECT_EQ(rig.result(19, concat({{1, 1}, le16(700)})), 0);
    EXPECT_TRUE(rig.s.controlFlags & kFlagBunkerRestart);
}

TEST(FuelCounterCommand, PassesTheMaskOn) {
    ProtocolRig rig;
    EXPECT_EQ(rig.result(8, le16(0)), 0);
    EXPECT_TRUE(rig.fuelResets.empty());
    EXPECT_EQ(rig.result(8, le16(0x0105)), 0);
    EXPECT_EQ(rig.fuelResets, (std::vector<int>{5}));
    EXPECT_EQ(rig.result(8, {1}), 1);
    EXPECT_FALSE(rig.userSaved());
}

// The expansion module's relay: no exact lengths, no login, no code 128,
// only the code's low byte.
TEST(RelayOptions, DifferFromTheNetwork) {
    ProtocolRig rig{Variant::Orvena, relayOptions()};
    EXPECT_EQ(rig.dispatcher->run(3, Bytes{70}.data(), 1, false).result, 1);  // still too short
    EXPECT_EQ(rig.dispatcher->run(0x0103, Bytes{70, 0, 9}.data(), 3, false).result, 0);
    EXPECT_EQ(rig.s.usr.TWAT_UST, 70);
    EXPECT_EQ(rig.dispatcher->run(128, nullptr, 0, false).result, 2);

    DispatchOptions loose = relayOptions();
    loose.checkMinimumLength = false;
    ProtocolRig padded{Variant::Orvena, loose};
    // The missing byte reads as 0: 65 is a valid set-point.
    EXPECT_EQ(padded.dispatcher->run(3, Bytes{65}.data(), 1, false).result, 0);
    EXPECT_EQ(padded.s.usr.TWAT_UST, 65);
}

}  // namespace
}  // namespace vesk::test
