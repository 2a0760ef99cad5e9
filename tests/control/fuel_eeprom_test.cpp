// The fuel counters in the EEPROM: majority of three copies, page-sized
// transfers, and what survives a power cut.
#include <gtest/gtest.h>

#include "fuel_rig.h"

namespace vesk::test {
namespace {

namespace L = fuel_layout;

TEST(FuelEeprom, MajorityOfThreeCopies) {
    MemoryEeprom chip;
    ASSERT_TRUE(writeTriple32(&chip, L::kOwn, 0x01020304));
    EXPECT_EQ(chip.data[L::kOwn], 0x04) << "little-endian";
    EXPECT_EQ(chip.data[L::kOwn + 4 + 3], 0x01);
    for (int copy = 0; copy < 3; ++copy) {
        MemoryEeprom one = chip;
        one.data[L::kOwn + 4 * copy + 1] ^= 0x40;
        EXPECT_EQ(readTriple32(&one, L::kOwn), 0x01020304u) << "copy " << copy;
    }
    MemoryEeprom two = chip;
    two.data[L::kOwn + 0] ^= 0x01;
    two.data[L::kOwn + 8] ^= 0x02;
    EXPECT_FALSE(readTriple32(&two, L::kOwn).has_value());

    ASSERT_TRUE(writeTriple8(&chip, L::kDayIndex, 17));
    chip.data[L::kDayIndex + 2] = 3;
    EXPECT_EQ(readTriple8(&chip, L::kDayIndex), 17);
    chip.data[L::kDayIndex + 1] = 4;
    EXPECT_FALSE(readTriple8(&chip, L::kDayIndex).has_value());

    chip.fail = true;
    EXPECT_FALSE(readTriple32(&chip, L::kTotal).has_value());
    EXPECT_FALSE(readTriple32(nullptr, L::kTotal).has_value());
}

TEST(FuelEeprom, LoadTakesFailedValuesAsZeroOrUnknown) {
    MemoryEeprom chip;
    writeTriple32(&chip, L::kOwn, 1234);
    writeTriple32(&chip, L::kTotal, 5678);
    writeTriple32(&chip, L::kBunker, 4000);
    writeTriple8(&chip, L::kHourIndex, 5);
    chip.data[L::kOwn + 4] ^= 0xFF;  // one bad copy: recovered
    chip.data[L::kTotal] ^= 0x01;    // two bad copies: lost
    chip.data[L::kTotal + 4] ^= 0x02;
    chip.data[L::kBunker] ^= 0x01;
    chip.data[L::kBunker + 8] ^= 0x02;
    FuelRig rig(&chip);
    rig.load();
    const FuelCounters c = rig.fuel.counters();
    EXPECT_EQ(c.own, 1234u);
    EXPECT_EQ(c.total, 0u);
    EXPECT_EQ(c.remaining, kBunkerUnknown);
    EXPECT_EQ(c.hourIndex, 5);

    // Indexes out of their range start from 0.
    writeTriple8(&chip, L::kHourIndex, 24);
    writeTriple8(&chip, L::kDayIndex, 30);
    FuelRig again(&chip);
    again.load();
    EXPECT_EQ(again.fuel.counters().hourIndex, 0);
    EXPECT_EQ(again.fuel.counters().dayIndex, 0);
}

TEST(FuelEeprom, FreshChipAndMissingDevice) {
    // An erased chip reads all ones: counters start at zero, bunker unknown.
    FuelRig fresh;
    fresh.load();
    const FuelFigures f = fresh.fuel.figures();
    EXPECT_EQ(f.day + f.week + f.month + f.own + f.total, 0u);
    EXPECT_EQ(f.percent, -1);

    FuelRig none;
    none.fuel.load(nullptr);
    none.fuel.addRunTime(36000);
    none.fuel.confirmFill(400, nullptr);
    none.quarters(96);
    none.fuel.reset(kFuelResetTime | kFuelResetOwn);
    EXPECT_EQ(none.fuel.counters().total, 360u);
    EXPECT_EQ(none.fuel.figures().percent, 100);
}

TEST(FuelEeprom, NoTransferCrossesAPage) {
    FuelRig rig;
    rig.load();
    rig.fuel.confirmFill(400, nullptr);
    for (int h = 0; h < 30 * 24 + 5; ++h) {
        rig.fuel.addRunTime(1000 + h);
        rig.quarters(4);
    }
    rig.fuel.reset(kFuelResetTime | kFuelResetOwn | kFuelResetTotal);
    ASSERT_GT(rig.eeprom.writes.size(), 30u * 24u);
    bool sawSplit = false;
    for (const auto& [at, n] : rig.eeprom.writes) {
        ASSERT_GT(n, 0u);
        EXPECT_EQ(at / L::kPage, (at + n - 1) / L::kPage) << at << "+" << n;
        EXPECT_GE(at, 1) << "byte 0 belongs to the burner state";
        EXPECT_LE(at + n, L::kEnd);
        sawSplit = sawSplit || ((at + n) % L::kPage == 0 && n < 12);
    }
    EXPECT_TRUE(sawSplit) << "some slot straddles a page and was split";
    // A split write still lands whole.
    EXPECT_EQ(rig.stored32(L::hourlySlot(4)), 0u);
    writeTriple32(&rig.eeprom, L::hourlySlot(4), 0xA5A5A5A5);  // 55..66 crosses 64
    EXPECT_EQ(rig.stored32(L::hourlySlot(4)), 0xA5A5A5A5u);
}

TEST(FuelEeprom, PowerCutKeepsAllButTheOpenHour) {
    MemoryEeprom chip;
    chip.data[0] = 2;  // burner state stored beside the counters
    FuelCounters before;
    {
        FuelRig rig(&chip);
        rig.load();
        rig.fuel.confirmFill(400, nullptr);
        for (int h = 0; h < 24 * 2 + 7; ++h) {
            rig.fuel.addRunTime(20000 + 100 * h);
            rig.quarters(4);
        }
        rig.fuel.addRunTime(50000);
        rig.quarters(2);  // the open hour's share and the tick count are lost
        before = rig.fuel.counters();
        ASSERT_NE(before.accumulator, 0u);
        ASSERT_EQ(before.ticks, 2);
    }
    FuelRig after(&chip);
    after.load();
    const FuelCounters c = after.fuel.counters();
    EXPECT_EQ(c.accumulator, 0u);
    EXPECT_EQ(c.ticks, 0);
    EXPECT_EQ(c.hourIndex, before.hourIndex);
    EXPECT_EQ(c.dayIndex, before.dayIndex);
    EXPECT_EQ(c.hourly, before.hourly);
    EXPECT_EQ(c.daily, before.daily);
    EXPECT_EQ(c.slotSum, before.slotSum);
    EXPECT_EQ(c.weekSum, before.weekSum);
    EXPECT_EQ(c.monthSum, before.monthSum);
    EXPECT_EQ(c.today, before.today - before.accumulator);
    EXPECT_EQ(c.own, before.own - before.accumulator);
    EXPECT_EQ(c.total, before.total - before.accumulator);
    // The bunker estimate is saved every quarter hour, the open hour's run
    // included.
    EXPECT_EQ(c.remaining, before.remaining);
    EXPECT_EQ(c.capacity, bunkerCapacity(400, kRate, 0));
    EXPECT_EQ(chip.data[0], 2);
}

}  // namespace
}  // namespace vesk::test
