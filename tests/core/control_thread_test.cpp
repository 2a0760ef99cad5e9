#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "core/alarm_sound.h"
#include "core/burner_persistence.h"
#include "core/control_thread.h"
#include "core/controller_state.h"
#include "core/countdown_service.h"
#include "core/sound_player.h"
#include "platform/eeprom.h"
#include "platform/manual_clock.h"
#include "platform/timer_service.h"

namespace vesk {
namespace {

// Holds the callbacks so a test can tick them by hand.
class FakeTimers : public TimerService {
public:
    int startPeriodic(int64_t, Callback cb) override {
        periodic.push_back(std::move(cb));
        return static_cast<int>(periodic.size());
    }
    int startOneShot(int64_t, Callback) override { return 0; }
    void cancel(int) override {}
    std::vector<Callback> periodic;
};

TEST(ControllerState, ReadSensorUnitsAndBounds) {
    for (Variant v : {Variant::Orvena, Variant::Kestralo}) {
        ControllerState s(v);
        s.sensors[kSensorWater] = 0x3FFF;
        s.sensors[kSensorGas] = 1234;
        s.sensors[kSensorAir] = 0x4000;
        s.sensors[kSensorOutdoor] = -215;
        EXPECT_EQ(s.readSensor(kSensorWater), 0x3FFF);
        s.boardVersionCopy = 0x2215;
        EXPECT_EQ(s.readSensor(kSensorWater), 0x3FFF / 10);
        EXPECT_EQ(s.readSensor(kSensorGas), 1234) << "flue gas is never divided";
        EXPECT_EQ(s.readSensor(kSensorAir), 0x4000) << "error codes pass undivided";
        EXPECT_EQ(s.readSensor(kSensorOutdoor), -21) << "truncates toward zero";
        EXPECT_EQ(s.readSensor(12), 0);
    }
}

TEST(CountdownService, TicksEveryCountdownButAux4DownToZero) {
    ControllerState s(Variant::Orvena);
    FakeTimers timers;
    CountdownService cd(s, timers);
    s.countdowns.fill(7);
    ASSERT_TRUE(cd.start());
    for (int v : s.countdowns) EXPECT_EQ(v, 0) << "start zeroes the countdowns";
    s.setCountdown(kTIgnition, 2);
    s.setCountdown(kTAux4, 5);
    s.setCountdown(kTAux8, 1);
    ASSERT_EQ(timers.periodic.size(), 1u);
    for (int i = 0; i < 3; ++i) timers.periodic[0]();
    EXPECT_EQ(s.countdown(kTIgnition), 0);
    EXPECT_EQ(s.countdown(kTAux8), 0);
    EXPECT_EQ(s.countdown(kTAux4), 5);
}

TEST(BurnerPersistence, StoredCodesAndRestore) {
    EXPECT_EQ(storedBurnerCode(kIgnition), 4);
    EXPECT_EQ(storedBurnerCode(kBurning), 2);
    EXPECT_EQ(storedBurnerCode(kBlowup), 2);
    EXPECT_EQ(storedBurnerCode(kPause), 3);
    for (int st : {kStop, kManualIgnition, kFuelLoading, kAugerReverseTest}) EXPECT_EQ(storedBurnerCode(st), 1);

    MemoryEeprom e;
    BurnerPersistence p(&e);
    EXPECT_EQ(p.restore(), kStop) << "blank EEPROM (0xFF)";
    ASSERT_TRUE(p.store(kBlowup));
    EXPECT_EQ(e.data[0], 2);
    EXPECT_EQ(p.restore(), kBurning) << "blow-up resumes as burning";
    p.store(kPause);
    EXPECT_EQ(p.restore(), kPause);
    p.store(kIgnition);
    EXPECT_EQ(p.restore(), kIgnition);
    e.fail = true;
    EXPECT_EQ(p.restore(), kStop);
    EXPECT_EQ(BurnerPersistence(nullptr).restore(), kStop);
}

struct ControlThreadRig {
    explicit ControlThreadRig(Variant v = Variant::Orvena)
        : s(v), thread(s, clock, timers, [this] { return &eeprom; }, [this] { ++cycles; }) {}
    ControllerState s;
    ManualClock clock;
    FakeTimers timers;
    MemoryEeprom eeprom;
    int cycles = 0;
    ControlThread thread;
};

TEST(ControlThread, LinkDownRunsNoCycleAndKeepsRestoredState) {
    ControlThreadRig r;
    r.eeprom.data[0] = 2;
    r.thread.prepare();
    EXPECT_EQ(r.s.burnerState, kBurning);
    EXPECT_EQ(r.s.lastPersistedState, kBurning);
    for (int i = 0; i < 5; ++i) r.thread.iterate();
    EXPECT_EQ(r.cycles, 0);
    EXPECT_EQ(r.s.burnerState, kBurning);
    r.s.linkOk = 1;
    r.thread.iterate();
    EXPECT_EQ(r.cycles, 1);
}

TEST(ControlThread, PersistsChangesUnlessInhibited) {
    ControlThreadRig r;
    r.thread.prepare();
    EXPECT_EQ(r.s.burnerState, kStop) << "blank EEPROM restores stop";
    r.s.burnerState = kIgnition;
    r.thread.iterate();
    EXPECT_EQ(r.eeprom.data[0], 4);
    EXPECT_EQ(r.s.lastPersistedState, kIgnition);
    // Handing over to the service tool: the forced stop is not stored.
    r.s.persistInhibit = 1;
    r.s.burnerState = kStop;
    r.thread.iterate();
    EXPECT_EQ(r.eeprom.data[0], 4);
}

TEST(ControlThread, RunsOnItsOwnThreadWithManualTime) {
    ControlThreadRig r;
    r.s.linkOk = 1;
    std::atomic<int> cycles{0};
    ControlThread t(r.s, r.clock, r.timers, nullptr, [&] { ++cycles; });
    ASSERT_TRUE(t.start());
    // The thread sleeps in panel time: it only moves when the clock does.
    for (int i = 0; i < 20000 && cycles < 3; ++i) {
        r.clock.advance(100);
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    EXPECT_GE(cycles.load(), 3);
    // Stopping cuts the pause short: panel time need not move for it.
    t.stop();
}

TEST(AlarmSound, FaultLoopsOnceAndStopsWhenCleared) {
    for (Variant v : {Variant::Orvena, Variant::Kestralo}) {
        ControllerState s(v);
        RecordingSoundPlayer player;
        AlarmSound alarm(player);
        s.faults = 0x004;
        alarm.evaluate(s);
        alarm.evaluate(s);
        auto log = player.take();
        ASSERT_EQ(log.size(), 1u);
        EXPECT_EQ(log[0].resource, 245);
        EXPECT_TRUE(log[0].flags & kSoundLoop);
        s.faults = 0;
        s.boardInputs = kInBunkerEmpty;
        s.usr.USE_EMPTY_SENS = 1;
        s.usr.BUNK_SENSOR_ENABLE = 1;
        s.boardInputs |= kInBunkerFull;
        alarm.evaluate(s);
        log = player.take();
        ASSERT_EQ(log.size(), 1u) << "the silencing cycle plays nothing else";
        EXPECT_EQ(log[0].resource, -1);
        alarm.evaluate(s);
        log = player.take();
        ASSERT_EQ(log.size(), 1u) << "the bunker reminder resumes on a later cycle";
        EXPECT_EQ(log[0].resource, 238);
    }
}

TEST(AlarmSound, BunkerEmptyChimesEveryTenSecondsByVariantWiring) {
    {
        ControllerState s(Variant::Orvena);
        RecordingSoundPlayer player;
        AlarmSound alarm(player);
        s.boardInputs = kInBunkerEmpty;
        alarm.evaluate(s);
        EXPECT_TRUE(player.take().empty()) << "sensor not in use";
        s.usr.USE_EMPTY_SENS = 1;
        alarm.evaluate(s);
        alarm.evaluate(s);
        auto log = player.take();
        ASSERT_EQ(log.size(), 1u);
        EXPECT_EQ(log[0].resource, 238);
        EXPECT_EQ(s.countdown(kTBunkerSound), 10);
        s.setCountdown(kTBunkerSound, 0);
        alarm.evaluate(s);
        EXPECT_EQ(player.take().size(), 1u);
        s.faults = 1;  // a fault silences the chime in favour of the alarm
        s.setCountdown(kTBunkerSound, 0);
        alarm.evaluate(s);
        log = player.take();
        ASSERT_EQ(log.size(), 1u);
        EXPECT_EQ(log[0].resource, 245);
    }
    {
        ControllerState s(Variant::Kestralo);
        RecordingSoundPlayer player;
        AlarmSound alarm(player);
        s.usr.BUNK_SENSOR_ENABLE = 1;
        s.boardInputs = kInBunkerEmpty;  // 0x08 is the ash auger here
        alarm.evaluate(s);
        EXPECT_TRUE(player.take().empty());
        s.boardInputs = kInBunkerFull;  // 0x10 is the empty sensor here
        alarm.evaluate(s);
        auto log = player.take();
        ASSERT_EQ(log.size(), 1u);
        EXPECT_EQ(log[0].resource, 238);
    }
}

}  // namespace
}  // namespace vesk
