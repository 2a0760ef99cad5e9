// Fuel counters over quarter-hour ticks on manual time, the bunker estimate
// and the figures the consumption screen shows.
#include <gtest/gtest.h>

#include "fuel_rig.h"

namespace vesk::test {
namespace {

// A loaded rig on a fresh chip.
struct LoadedRig : FuelRig {
    LoadedRig() { load(); }
};

TEST(FuelAccounting, OnPhasesCountInWholeTenths) {
    LoadedRig rig;
    for (int64_t ms : {50, 99, 0, -20}) rig.fuel.addRunTime(ms);
    EXPECT_EQ(rig.fuel.counters().total, 0u);
    rig.fuel.addRunTime(150);
    rig.fuel.addRunTime(100);
    rig.fuel.addRunTime(1999);
    FuelCounters c = rig.fuel.counters();
    EXPECT_EQ(c.accumulator, 1u + 1u + 19u);
    EXPECT_EQ(c.today, 21u);
    EXPECT_EQ(c.own, 21u);
    EXPECT_EQ(c.total, 21u);
}

// The counters step every quarter of an hour of panel time: not at
// 899 999 ms, at 900 000 ms.
TEST(FuelAccounting, StepsEveryFifteenMinutes) {
    LoadedRig rig;
    rig.clock.advance(899999);
    EXPECT_EQ(rig.fuel.counters().ticks, 0);
    rig.clock.advance(1);
    EXPECT_EQ(rig.fuel.counters().ticks, 1);
    rig.clock.advance(899999);
    EXPECT_EQ(rig.fuel.counters().ticks, 1);
    rig.clock.advance(1);
    EXPECT_EQ(rig.fuel.counters().ticks, 2);
}

TEST(FuelAccounting, HourClosesOnEveryFourthTick) {
    LoadedRig rig;
    rig.fuel.addRunTime(36000);
    rig.quarters(3);
    FuelCounters c = rig.fuel.counters();
    EXPECT_EQ(c.hourIndex, 0);
    EXPECT_EQ(c.accumulator, 360u);
    EXPECT_EQ(c.hourly[0], 0u);
    rig.quarters(1);
    c = rig.fuel.counters();
    EXPECT_EQ(c.hourIndex, 1);
    EXPECT_EQ(c.accumulator, 0u);
    EXPECT_EQ(c.hourly[0], 360u);
    EXPECT_EQ(c.slotSum, 360u);
    EXPECT_EQ(c.today, 360u);
    EXPECT_EQ(rig.stored32(fuel_layout::hourlySlot(0)), 360u);
    EXPECT_EQ(rig.stored8(fuel_layout::kHourIndex), 1);
    EXPECT_EQ(rig.stored32(fuel_layout::kOwn), 360u);
    EXPECT_EQ(rig.stored32(fuel_layout::kTotal), 360u);
}

TEST(FuelAccounting, DayRollsOverAfterNinetySixTicks) {
    LoadedRig rig;
    uint32_t day = 0;
    for (int h = 0; h < 24; ++h) {
        rig.fuel.addRunTime((h + 1) * 1000);
        day += static_cast<uint32_t>(h + 1) * 10;
        rig.quarters(4);
    }
    FuelCounters c = rig.fuel.counters();
    EXPECT_EQ(c.hourIndex, 0);
    EXPECT_EQ(c.dayIndex, 1);
    EXPECT_EQ(c.daily[0], day);
    EXPECT_EQ(c.today, 0u);
    EXPECT_EQ(c.slotSum, day);
    EXPECT_EQ(c.weekSum, day);
    EXPECT_EQ(c.monthSum, day);
    EXPECT_EQ(rig.stored32(fuel_layout::dailySlot(0)), day);
    EXPECT_EQ(rig.stored8(fuel_layout::kDayIndex), 1);
    EXPECT_EQ(rig.stored8(fuel_layout::kHourIndex), 0);
    EXPECT_EQ(rig.stored32(fuel_layout::hourlySlot(23)), 240u);

    // The next hour replaces the oldest hourly slot in the 24-hour sum.
    rig.fuel.addRunTime(500);
    rig.quarters(4);
    EXPECT_EQ(rig.fuel.counters().slotSum, day - 10 + 5);
}

TEST(FuelAccounting, RollingFiguresAcrossDays) {
    LoadedRig rig;
    // Day d burns (d + 1) hours of auger time in its first hour.
    uint32_t days = 0;
    for (int d = 0; d < 5; ++d) {
        rig.fuel.addRunTime((d + 1) * 3600000LL);
        days += static_cast<uint32_t>(d + 1) * 36000;
        rig.quarters(96);
    }
    // Today has burnt 1 hour so far, still in its accumulator.
    rig.fuel.addRunTime(3600000);
    const FuelCounters c = rig.fuel.counters();
    ASSERT_EQ(c.dayIndex, 5);
    EXPECT_EQ(c.weekSum, days);
    EXPECT_EQ(c.monthSum, days);

    const FuelFigures f = rig.fuel.figures();
    // The day leaving the week lies at the ring's far end (index 28) and
    // is empty, as is the month's next slot: today counts in full.
    EXPECT_EQ(f.week, runTimeToKg(days + 36000, kRate, 0));
    EXPECT_EQ(f.month, runTimeToKg(days + 36000, kRate, 0));
    // 24 hours: the open hour counts only where it outweighs the slot it
    // will replace (yesterday's first hour, 5 h of auger time).
    EXPECT_EQ(f.day, runTimeToKg(5 * 36000, kRate, 0));
    EXPECT_EQ(f.total, runTimeToKg(days + 36000, kRate, 0));
    EXPECT_EQ(f.own, f.total);
}

// Nine days, each burning a different amount: the week is exactly the seven
// days before the day index, and so is the figure shown (until today
// outweighs the day about to leave), also after a restart.
TEST(FuelAccounting, WeekIsTheSevenDaysBeforeTheDayIndex) {
    MemoryEeprom image;
    FuelRig rig(&image);
    rig.load();
    const uint32_t burn[9] = {1000, 2000, 3000, 5000, 7000, 11000, 13000, 17000, 19000};  // tenths of a second
    for (uint32_t b : burn) {
        rig.fuel.addRunTime(int64_t{b} * 100);
        rig.quarters(96);
    }
    const uint32_t lastSeven = 3000 + 5000 + 7000 + 11000 + 13000 + 17000 + 19000;
    FuelCounters c = rig.fuel.counters();
    ASSERT_EQ(c.dayIndex, 9);
    EXPECT_EQ(c.weekSum, lastSeven) << "days 2..8";
    EXPECT_EQ(c.monthSum, 78000u);

    // Today burns less than day 2, which leaves the week at midnight.
    rig.fuel.addRunTime(2000 * 100);
    EXPECT_EQ(rig.fuel.figures().week, runTimeToKg(lastSeven, kRate, 0));
    // Once today outweighs it, today counts instead.
    rig.fuel.addRunTime(2000 * 100);
    EXPECT_EQ(rig.fuel.figures().week, runTimeToKg(lastSeven - 3000 + 4000, kRate, 0));

    // A restart sums the same seven slots from the chip.
    FuelRig again(&image);
    again.load();
    EXPECT_EQ(again.fuel.counters().weekSum, lastSeven);
}

TEST(FuelAccounting, BunkerOfFourHundredKilograms) {
    const int64_t cap = bunkerCapacity(400, kRate, 0);
    EXPECT_EQ(cap, 92131);
    EXPECT_GE(cap, (2 * 3600 + 33 * 60) * 10);
    EXPECT_LT(cap, (2 * 3600 + 34 * 60) * 10);
    EXPECT_EQ(runTimeToKg(static_cast<uint64_t>(cap), kRate, 0), 400u);
    // More consumption correction: the same bunker lasts less auger time.
    EXPECT_LT(bunkerCapacity(400, kRate, 20), cap);
    EXPECT_GT(runTimeToKg(36000, kRate, 20), runTimeToKg(36000, kRate, 0));

    LoadedRig rig;
    EXPECT_EQ(rig.fuel.figures().percent, -1);
    rig.fuel.bunkerCheck(true);
    EXPECT_EQ(rig.fuel.figures().percent, 100);
    EXPECT_EQ(rig.stored32(fuel_layout::kBunker), 92131u) << "a confirmed fill is saved at once";
    rig.fuel.addRunTime(cap / 2 * 100);
    EXPECT_EQ(rig.fuel.figures().percent, 50);
    rig.fuel.addRunTime(cap * 100);
    EXPECT_EQ(rig.fuel.counters().remaining, 0) << "never below empty";
    EXPECT_EQ(rig.fuel.figures().percent, 0);
}

TEST(FuelAccounting, NoFeedRateNeverDivides) {
    LoadedRig rig;
    rig.s.svc.feedRate[1] = 0;
    EXPECT_EQ(bunkerCapacity(400, 0, 0), 0);
    EXPECT_EQ(bunkerPercent(1000, 0), -1);
    rig.fuel.addRunTime(3600000);
    rig.fuel.confirmFill(400, nullptr);
    rig.bunkerFull(true);
    rig.fuel.bunkerCheck(false);
    const FuelFigures f = rig.fuel.figures();
    EXPECT_EQ(f.day, 0u);
    EXPECT_EQ(f.total, 0u);
    EXPECT_EQ(f.percent, -1);
    EXPECT_EQ(formatFuelPercent(f.percent), "н.д.");
    EXPECT_EQ(formatFuelMass(f.total), "0кг");
    EXPECT_EQ(rig.fuel.counters().remaining, kBunkerUnknown);
    // Unknown stays unknown while the auger runs.
    rig.fuel.addRunTime(1000);
    EXPECT_EQ(rig.fuel.counters().remaining, kBunkerUnknown);
}

TEST(FuelAccounting, FullSensorHoldsTheRemainingAtCapacity) {
    LoadedRig rig;
    rig.fuel.bunkerCheck(false);
    EXPECT_EQ(rig.fuel.counters().remaining, kBunkerUnknown) << "sensor not in use";
    rig.s.boardInputs = kInBunkerFull;
    rig.fuel.bunkerCheck(false);
    EXPECT_EQ(rig.fuel.counters().remaining, kBunkerUnknown) << "sensor not in use";

    rig.bunkerFull(true);
    rig.fuel.bunkerCheck(false);
    const int64_t cap = bunkerCapacity(400, kRate, 0);
    EXPECT_EQ(rig.fuel.counters().remaining, cap);
    rig.fuel.addRunTime(60000);
    EXPECT_EQ(rig.fuel.counters().remaining, cap);
    rig.bunkerFull(false);
    rig.fuel.addRunTime(60000);
    EXPECT_EQ(rig.fuel.counters().remaining, cap - 600);
}

TEST(FuelAccounting, SensorSavesAtMostEveryFiveMinutes) {
    LoadedRig rig;
    const uint32_t cap = static_cast<uint32_t>(bunkerCapacity(400, kRate, 0));
    auto saves = [&] { return rig.eeprom.writesTo(fuel_layout::kBunker, 12); };
    // Some fuel gone, then the sensor sees the bunker full again.
    auto refillAt = [&](int64_t ms) {
        rig.clock.advance(ms - rig.clock.nowMs());
        rig.bunkerFull(false);
        rig.fuel.addRunTime(10000);
        rig.bunkerFull(true);
        rig.fuel.bunkerCheck(false);
    };
    // The first full reading after start is saved at once, even in the
    // panel's first five minutes; later ones at most every five minutes.
    refillAt(1000);
    EXPECT_EQ(rig.fuel.counters().remaining, cap);
    EXPECT_EQ(saves(), 1);
    EXPECT_EQ(rig.stored32(fuel_layout::kBunker), cap);
    refillAt(1000 + 299999);
    EXPECT_EQ(rig.fuel.counters().remaining, cap);
    EXPECT_EQ(saves(), 1);
    refillAt(1000 + 300000);
    EXPECT_EQ(saves(), 2);
    refillAt(1000 + 300000 + 299999);
    EXPECT_EQ(rig.fuel.counters().remaining, cap);
    EXPECT_EQ(saves(), 2);
    refillAt(1000 + 600000);
    EXPECT_EQ(saves(), 3);

    // A confirmed fill never waits.
    rig.bunkerFull(false);
    rig.fuel.addRunTime(10000);
    rig.fuel.bunkerCheck(true);
    EXPECT_EQ(saves(), 4);
    // The quarter-hour step saves whatever is left unsaved, once.
    rig.fuel.addRunTime(10000);
    rig.quarters(1);
    EXPECT_EQ(saves(), 5);
    EXPECT_EQ(rig.stored32(fuel_layout::kBunker), cap - 100);
    rig.quarters(1);
    EXPECT_EQ(saves(), 5);
}

TEST(FuelAccounting, FillConfirmationStoresAChangedSize) {
    LoadedRig rig;
    int saves = 0;
    auto save = [&] { ++saves; };
    rig.fuel.confirmFill(400, save);
    EXPECT_EQ(saves, 0);
    EXPECT_EQ(rig.fuel.figures().percent, 100);
    rig.fuel.addRunTime(100000);
    rig.fuel.confirmFill(500, save);
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(rig.s.usr.BUNK_SIZE, 500);
    EXPECT_EQ(rig.fuel.counters().remaining, bunkerCapacity(500, kRate, 0));
    EXPECT_EQ(rig.stored32(fuel_layout::kBunker), static_cast<uint32_t>(bunkerCapacity(500, kRate, 0)));
    for (int bad : {9, 10000, -1}) {
        rig.fuel.confirmFill(bad, save);
        EXPECT_EQ(rig.s.usr.BUNK_SIZE, 500);
    }
    EXPECT_EQ(saves, 1);
}

TEST(FuelAccounting, ResetsByFlag) {
    LoadedRig rig;
    for (int h = 0; h < 30; ++h) {
        rig.fuel.addRunTime(10000);
        rig.quarters(4);
    }
    rig.fuel.addRunTime(5000);
    rig.fuel.reset(kFuelResetTime);
    FuelCounters c = rig.fuel.counters();
    EXPECT_EQ(c.accumulator, 0u);
    EXPECT_EQ(c.today, 0u);
    EXPECT_EQ(c.hourIndex, 0);
    EXPECT_EQ(c.dayIndex, 0);
    EXPECT_EQ(c.slotSum + c.weekSum + c.monthSum + c.daily[0] + c.hourly[5], 0u);
    EXPECT_EQ(c.own, 3050u);
    EXPECT_EQ(c.total, 3050u);
    FuelFigures f = rig.fuel.figures();
    EXPECT_EQ(f.day + f.week + f.month, 0u);
    EXPECT_EQ(rig.stored8(fuel_layout::kHourIndex), 0);
    EXPECT_EQ(rig.stored8(fuel_layout::kDayIndex), 0);
    EXPECT_EQ(rig.stored32(fuel_layout::hourlySlot(3)), 0u);
    EXPECT_EQ(rig.stored32(fuel_layout::dailySlot(0)), 0u);
    EXPECT_EQ(rig.memory.data[0], 0xFF) << "the burner state byte is not ours";

    rig.fuel.addRunTime(1000);
    rig.fuel.reset(kFuelResetOwn);
    c = rig.fuel.counters();
    EXPECT_EQ(c.own, 0u);
    EXPECT_EQ(c.total, 3060u);
    EXPECT_EQ(rig.stored32(fuel_layout::kOwn), 0u);
    rig.fuel.reset(kFuelResetTotal);
    EXPECT_EQ(rig.fuel.counters().total, 0u);
    EXPECT_EQ(rig.stored32(fuel_layout::kTotal), 0u);
}

TEST(FuelFormat, MassesAndPercentages) {
    EXPECT_EQ(formatFuelMass(0), "0кг");
    EXPECT_EQ(formatFuelMass(9999), "9999кг");
    EXPECT_EQ(formatFuelMass(10000), "10.00т");
    EXPECT_EQ(formatFuelMass(12349), "12.34т");
    EXPECT_EQ(formatFuelMass(99999), "99.99т");
    EXPECT_EQ(formatFuelMass(100000), "100.0т");
    EXPECT_EQ(formatFuelMass(999999), "999.9т");
    EXPECT_EQ(formatFuelMass(1000000), "1000т");
    EXPECT_EQ(formatFuelMass(4294967295u), "4294967т");
    EXPECT_EQ(formatFuelPercent(0), "0%");
    EXPECT_EQ(formatFuelPercent(100), "100%");
    EXPECT_EQ(formatFuelPercent(-1), "н.д.");
}

}  // namespace
}  // namespace vesk::test
