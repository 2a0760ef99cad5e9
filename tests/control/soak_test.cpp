// Seven simulated days of the real control code against the plant, with a
// fault injected every few hours in turn: sensor open and short, fuse, link
// silence, room thermostat, bunker empty, power cut with restore. Every
// fault must be raised and cleared, the boiler must take up its work again
// each time, fuel counters and settings files must survive the power cuts,
// and the heap must not grow.
#include <gtest/gtest.h>
#include <malloc.h>

#include <memory>
#include <mutex>

#include "closed_loop.h"
#include "control/burner_commands.h"
#include "control/faults.h"
#include "core/burner_persistence.h"
#include "settings/settings_file.h"
#include "settings/user_table.h"
#include "support/test_support.h"

namespace vesk::test {
namespace {

constexpr int kMinute = 60;
constexpr int kHour = 3600;
constexpr int kDays = 7;
// Time a fault is given to show and to clear (cycles are once a second).
constexpr int kReactS = 5;
// Time the boiler is given to be back at work after a fault is gone.
constexpr int kResumeS = 2 * kHour;

enum class Event { SensorOpen, SensorShort, Fuse, LinkSilence, RoomSatisfied, BunkerEmpty, PowerCut };
constexpr Event kEvents[] = {Event::SensorOpen, Event::SensorShort,  Event::Fuse,    Event::LinkSilence,
                             Event::RoomSatisfied, Event::BunkerEmpty, Event::PowerCut};

class Soak {
public:
    explicit Soak(Variant v) : variant_(v) { loop_ = fresh({2026, 1, 0, 5, 6, 0, 0, 0}); }

    ClosedLoop& loop() { return *loop_; }

    void startPellets() {
        {
            std::lock_guard<std::recursive_mutex> g(loop_->s.stateLock);
            loop_->s.usr.FUEL = 2;
            loop_->s.usr.EN_AUTOHEATER = 1;
            loop_->s.usr.TWAT_UST = 65;
        }
        // No room sensor wired: the water regulator leads.
        loop_->plant.injections().sensors[kSensorAir].kind = SensorOverride::Kind::Open;
        loop_->plant.setBunkerKg(180);
        saveSettings();
        loop_->run(2);
        ASSERT_EQ(commandBurner(loop_->s, kCmdStartIgnition), 1);
    }

    // Runs `seconds` and tells whether `bit` of the fault word showed.
    bool runWatching(int seconds, uint32_t bit) {
        bool seen = false;
        for (int i = 0; i < seconds; ++i) {
            loop_->run(1);
            seen = seen || (loop_->s.faults & bit) != 0;
        }
        return seen;
    }

    // Back at work: burning, blowing up, igniting or pausing at its target.
    bool working() const {
        const int st = loop_->s.burnerState;
        return st == kBurning || st == kBlowup || st == kIgnition || st == kPause;
    }

    void faultCycle(uint32_t bit, const std::function<void(bool)>& inject, int holdS) {
        inject(true);
        EXPECT_TRUE(runWatching(kReactS, bit)) << "fault " << bit << " not raised";
        const int stateDuringFault = loop_->s.burnerState;
        loop_->run(holdS);
        EXPECT_EQ(loop_->s.burnerState, stateDuringFault) << "a fault leaves the burner state alone";
        inject(false);
        loop_->run(kReactS);
        EXPECT_EQ(loop_->s.faults & bit, 0u) << "fault " << bit << " not cleared";
        ++faultsCleared;
    }

    void event(Event e) {
        PlantModel& plant = loop_->plant;
        switch (e) {
        case Event::SensorOpen:
        case Event::SensorShort: {
            const auto kind = e == Event::SensorOpen ? SensorOverride::Kind::Open : SensorOverride::Kind::Short;
            faultCycle(kFaultWaterSensor,
                       [&](bool on) { loop_->plant.injections().sensors[kSensorWater] = on ? SensorOverride{kind, 0} : SensorOverride{}; },
                       10 * kMinute);
            break;
        }
        case Event::Fuse:
            faultCycle(kFaultFuse, [&](bool on) { loop_->plant.injections().fuseBlown = on; }, 5 * kMinute);
            break;
        case Event::LinkSilence: {
            // The board's line falls silent; the link's time-out marks it down
            // and no cycle runs until frames come again.
            loop_->setBoardSilent(true);
            {
                std::lock_guard<std::recursive_mutex> g(loop_->s.stateLock);
                loop_->s.linkOk = 0;
            }
            const int stateBefore = loop_->s.burnerState;
            loop_->run(2 * kMinute);
            EXPECT_EQ(loop_->s.burnerState, stateBefore);
            loop_->setBoardSilent(false);
            loop_->run(kReactS);
            EXPECT_EQ(loop_->s.linkOk, 1);
            break;
        }
        case Event::RoomSatisfied:
            plant.injections().roomThermostat = Injections::Room::On;
            loop_->run(kHour);
            plant.injections().roomThermostat = Injections::Room::Off;
            break;
        case Event::BunkerEmpty:
            plant.injections().bunker = Injections::Bunker::Empty;
            loop_->run(30 * kMinute);
            plant.injections().bunker = Injections::Bunker::Normal;
            plant.setBunkerKg(180);
            break;
        case Event::PowerCut:
            powerCut();
            break;
        }
        const int took = loop_->runUntil([&] { return working() && loop_->s.faults == 0; }, kResumeS);
        EXPECT_GE(took, 0) << "not back at work after event " << static_cast<int>(e) << ": "
                           << loop_->plant.describe();
        ++events;
    }

    // The panel loses power and starts again: burner state from the EEPROM
    // byte, fuel counters from their chip, settings from the files; the
    // boiler itself (water, fire, bunker) carries on.
    void powerCut() {
        const uint8_t stored = storedBurnerCode(loop_->s.burnerState);
        const FuelFigures before = loop_->fuel.figures();
        const LocalTime now = loop_->clock.localTime();
        std::unique_ptr<ClosedLoop> next = fresh(now);
        next->plant = loop_->plant;
        next->eeprom.data = loop_->eeprom.data;
        if (!isKestralo(variant_)) next->fuel.load(&next->eeprom);
        const std::string userFile = dir_.file("user.cfg");
        ASSERT_TRUE(loadUserSettings(userFile, next->s.settings, variant_, antiJamDayNumber(now)));
        EXPECT_EQ(formatUserFile(next->s.settings, variant_), savedText_) << "user.cfg changed across the cut";
        next->s.burnerState = burnerStateFromCode(stored);
        next->s.controlFlags |= kFlagStateEntry;
        // The chip keeps what the last quarter-hour step wrote.
        const FuelFigures after = next->fuel.figures();
        EXPECT_LE(after.total, before.total);
        EXPECT_LE(before.total - after.total, 5u);
        EXPECT_LE(after.own, after.total);
        loop_ = std::move(next);
        ++powerCuts;
    }

    int events = 0;
    int faultsCleared = 0;
    int powerCuts = 0;

private:
    std::unique_ptr<ClosedLoop> fresh(LocalTime start) {
        auto l = std::make_unique<ClosedLoop>(variant_, 0x2214, PlantConfig{}, start);
        // Commands reach the board twice a second, as the sender does.
        l->sliceMs = 500;
        return l;
    }
    void saveSettings() {
        std::mutex fileLock;
        ASSERT_TRUE(saveUserSettings(dir_.file("user.cfg"), loop_->s.settings, variant_, fileLock));
        savedText_ = formatUserFile(loop_->s.settings, variant_);
    }

    Variant variant_;
    TempDir dir_;
    std::string savedText_;
    std::unique_ptr<ClosedLoop> loop_;
};

size_t heapInUse() { return mallinfo2().uordblks; }

class SoakTest : public ::testing::TestWithParam<Variant> {};

TEST_P(SoakTest, SevenDaysOfFaultsAndPowerCuts) {
    Soak soak(GetParam());
    soak.startPellets();
    ASSERT_GE(soak.loop().runUntil([&] { return soak.loop().s.burnerState == kBurning; }, 3 * kHour), 0)
        << soak.loop().plant.describe();

    // Simulated time from the plant, which carries on through power cuts.
    auto days = [&] { return soak.loop().plant.counters().simSeconds / (24.0 * kHour); };
    size_t heapAfterDayOne = 0;
    for (size_t next = 0; days() < kDays && !::testing::Test::HasFailure(); ++next) {
        soak.loop().run(2 * kHour);
        soak.event(kEvents[next % std::size(kEvents)]);
        if (heapAfterDayOne == 0 && days() >= 1) heapAfterDayOne = heapInUse();
    }
    RecordProperty("events", soak.events);
    EXPECT_GE(soak.events, int(std::size(kEvents)) * 6);
    EXPECT_GE(soak.powerCuts, 6);
    // What the heap holds after a day is all it ever needs.
    EXPECT_LE(heapInUse(), heapAfterDayOne + 256 * 1024);
}

INSTANTIATE_TEST_SUITE_P(BothVariants, SoakTest, ::testing::Values(Variant::Orvena, Variant::Kestralo));

}  // namespace
}  // namespace vesk::test
