// Thermostat programs over the protocol: the block's layout, the checks of
// a write, periods past midnight, and what reaches tmstat.cfg.
#include <gtest/gtest.h>

#include "net/protocol_rig.h"
#include "net/thermostat_block.h"

namespace vesk::test {
namespace {

struct P {
    uint8_t begin, end, flags = kPeriodUseWater, air = 21, water = 70;
};

// Programs 0..3 (missing ones empty), then the seven day bytes.
Bytes block(std::vector<std::vector<P>> programs, Bytes days = {0, 0, 0, 0, 0, 1, 4}, uint8_t enable = 1) {
    programs.resize(4);
    Bytes b{1, enable};
    for (const auto& prog : programs) {
        b.push_back(static_cast<uint8_t>(prog.size()));
        for (const P& p : prog) b.insert(b.end(), {p.begin, p.end, p.flags, p.air, p.water});
    }
    return concat({b, days});
}

class ThermostatCommands : public ::testing::TestWithParam<Variant> {
protected:
    uint16_t getCode() const { return isKestralo(GetParam()) ? 17 : 21; }
    uint16_t set(const Bytes& b) { return rig.result(getCode() + 1, b); }
    Bytes get() { return rig.run(getCode(), {}).data; }
    Schedule reloaded() {
        Schedule s;
        EXPECT_TRUE(parseSchedule(readText(rig.scheduleFile()), s, 60, 85));
        return s;
    }
    ProtocolRig rig{GetParam()};
};

TEST_P(ThermostatCommands, WriteThenReadBack) {
    const Bytes request = block({{{6, 9, kPeriodUseWater | kPeriodUseAir, 22, 75}, {17, 23, kPeriodPause | kPeriodUseWater}},
                                 {},
                                 {{0, 24, kPeriodUseAir, 18, 60}}});
    ASSERT_EQ(set(request), 0);
    EXPECT_EQ(get(), request);
    ASSERT_TRUE(rig.scheduleSaved());
    const Schedule back = reloaded();
    EXPECT_EQ(encodeThermostatBlock(back), request);
}

TEST_P(ThermostatCommands, DisablingKeepsThePrograms) {
    ASSERT_EQ(set(block({{{6, 9}}})), 0);
    rig.clearFiles();
    EXPECT_EQ(set({1, 0}), 0);
    EXPECT_EQ(rig.schedule.schedule.enabled, 0);
    EXPECT_EQ(rig.schedule.schedule.programs[0].count, 1);
    EXPECT_TRUE(rig.scheduleSaved());
    EXPECT_EQ(reloaded().programs[0].count, 1);
}

// A period past midnight is kept as its two halves, which the programs
// file and the evaluation both understand.
TEST_P(ThermostatCommands, PeriodPastMidnight) {
    ASSERT_EQ(set(block({{{6, 10}, {22, 6, kPeriodUseAir, 19}}})), 0);
    const Program& p = rig.schedule.schedule.programs[0];
    ASSERT_EQ(p.count, 3);
    EXPECT_EQ(p.periods[0].begin, 0);
    EXPECT_EQ(p.periods[0].end, 6);
    EXPECT_EQ(p.periods[0].airTarget, 19);
    EXPECT_EQ(p.periods[1].begin, 6);
    EXPECT_EQ(p.periods[2].begin, 22);
    EXPECT_EQ(p.periods[2].end, 24);
    EXPECT_EQ(reloaded().programs[0].count, 3);
    // Ending at midnight is simply the rest of the day.
    ASSERT_EQ(set(block({{{22, 0}}})), 0);
    EXPECT_EQ(rig.schedule.schedule.programs[0].count, 1);
    EXPECT_EQ(rig.schedule.schedule.programs[0].periods[0].end, 24);
}

TEST_P(ThermostatCommands, RefusedWrites) {
    ASSERT_EQ(set(block({{{6, 9}}})), 0);
    rig.clearFiles();
    const Bytes full = block({{{6, 9}}});
    const std::vector<Bytes> refusedOnes = {
        {1},
        {2, 1},
        block({{{24, 24}}}),
        block({{{6, 25}}}),
        block({{{8, 10}, {6, 7}}}),                 // begins going back
        block({{{8, 12}, {11, 14}}}),               // overlapping
        block({{{20, 2}, {23, 1}}}),                // two past midnight
        block({{{22, 2}, {23, 24}}}),               // a period after it
        block({{{6, 9}, {22, 7}}}),                 // ends after the first begin
        block({{{6, 9, kPeriodUseAir, 4}}}),
        block({{{6, 9, kPeriodUseAir, 36}}}),
        block({{{6, 9, kPeriodUseWater, 21, 59}}}),
        block({{{6, 9, kPeriodUseWater, 21, 86}}}),
        block({{{6, 9}}}, {0, 0, 0, 0, 0, 0, 5}),
        Bytes(full.begin(), full.end() - 1),        // six day bytes
        Bytes(full.begin(), full.begin() + 6),      // program cut short
        block({std::vector<P>(9, P{1, 2})}),
        // Eight periods and one past midnight: no room for both halves.
        block({{{2, 3}, {4, 5}, {6, 7}, {8, 9}, {10, 11}, {12, 13}, {14, 15}, {22, 1}}}),
    };
    for (const Bytes& b : refusedOnes) EXPECT_EQ(set(b), 1) << testing::PrintToString(b);
    EXPECT_FALSE(rig.scheduleSaved());
    EXPECT_EQ(rig.schedule.schedule.programs[0].count, 1);
    EXPECT_EQ(rig.schedule.schedule.enabled, 1);

    // Targets a period does not use are not checked, but kept loadable;
    // trailing bytes are allowed.
    EXPECT_EQ(set(concat({block({{{6, 9, kPeriodUseWater, 0, 70}, {10, 12, kPeriodPause, 0, 0}}}), {9, 9}})), 0);
    const Program back = reloaded().programs[0];
    ASSERT_EQ(back.count, 2);
    EXPECT_EQ(back.periods[1].pause, 1);
    EXPECT_EQ(back.periods[1].useWater, 1);
    EXPECT_EQ(back.periods[1].waterTarget, 60);
}

INSTANTIATE_TEST_SUITE_P(Variants, ThermostatCommands, ::testing::Values(Variant::Orvena, Variant::Kestralo));

// The expansion relay checks only that everything is there; what it stores
// is what a restart would read back.
TEST(ThermostatRelay, StructureOnly) {
    ProtocolRig rig{Variant::Orvena, relayOptions()};
    const Bytes b = block({{{8, 12}, {11, 14}}, {{30, 40}, {5, 6}}}, {7, 0, 1, 2, 3, 4, 4});
    ASSERT_EQ(rig.result(22, b), 0);
    const Schedule& s = rig.schedule.schedule;
    EXPECT_EQ(s.programs[0].count, 0);  // overlapping: emptied as the file loader would
    ASSERT_EQ(s.programs[1].count, 1);
    EXPECT_EQ(s.programs[1].periods[0].begin, 5);
    EXPECT_EQ(s.dayProgram[0], kNoProgram);
    EXPECT_EQ(rig.result(22, Bytes(b.begin(), b.end() - 1)), 1);
}

}  // namespace
}  // namespace vesk::test
