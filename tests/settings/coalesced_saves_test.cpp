// Gathered saves in panel time: a burst of requests costs one write per
// half second, the last value always reaches the file, the screens' save
// writes at once and takes a pending one with it, shutdown writes what is
// pending.
#include <gtest/gtest.h>

#include <atomic>

#include "platform/manual_clock.h"
#include "platform/manual_timer_service.h"
#include "settings/coalesced_saves.h"

namespace vesk {
namespace {

struct SaverRig {
    ManualClock clock;
    ManualTimerService timers{clock};
    std::atomic<int> value{0};
    std::atomic<int> written{-1};  // the value the last user write carried
    std::atomic<bool> fail{false};
    CoalescedSaves saves{clock, timers,
                         [this] {
                             written = value.load();
                             return !fail.load();
                         },
                         [] { return true; }};

    uint64_t userWrites() const { return saves.writes(SavedFile::User); }
    // Lets panel time pass in small steps, each write that comes due done
    // on the saver's own thread before time goes on.
    void pass(int64_t ms) {
        for (int64_t t = 0; t < ms; t += 10) {
            clock.advance(10);
            saves.waitIdle();
        }
    }
};

TEST(CoalescedSaves, ABurstIsWrittenAtMostTwiceASecondAndEndsWithItsLastValue) {
    SaverRig rig;
    // One change every 10 ms for three seconds: 300 requests.
    for (int i = 1; i <= 300; ++i) {
        rig.value = i;
        rig.saves.requestSave(SavedFile::User);
        rig.pass(10);
    }
    // Wait for the write in flight, then the rest of the burst is on disk
    // within the documented bound.
    rig.pass(CoalescedSaves::kMinIntervalMs);
    EXPECT_EQ(rig.written.load(), 300);
    EXPECT_LE(rig.userWrites(), 3000u / CoalescedSaves::kMinIntervalMs + 1);
    EXPECT_GE(rig.userWrites(), 3000u / CoalescedSaves::kMinIntervalMs - 1);
    EXPECT_EQ(rig.saves.writes(SavedFile::Schedule), 0u);

    // A lone change after a quiet spell waits only the gathering time.
    rig.pass(2000);
    const uint64_t before = rig.userWrites();
    rig.value = 301;
    rig.saves.requestSave(SavedFile::User);
    rig.pass(CoalescedSaves::kGatherMs - 10);
    EXPECT_EQ(rig.userWrites(), before);
    rig.pass(20);
    EXPECT_EQ(rig.written.load(), 301);
    EXPECT_EQ(rig.userWrites(), before + 1);
}

TEST(CoalescedSaves, SaveNowWritesAtOnceReportsFailureAndTakesThePendingWriteAlong) {
    SaverRig rig;
    rig.value = 7;
    rig.saves.requestSave(SavedFile::User);
    rig.fail = true;
    EXPECT_FALSE(rig.saves.saveNow(SavedFile::User));
    EXPECT_EQ(rig.written.load(), 7);
    rig.fail = false;
    EXPECT_TRUE(rig.saves.saveNow(SavedFile::User));
    rig.pass(2000);
    // Nothing was left pending behind the screen's saves.
    EXPECT_EQ(rig.userWrites(), 2u);
}

TEST(CoalescedSaves, ShutdownWritesWhatIsPendingAtOnce) {
    std::atomic<int> writes{0};
    {
        ManualClock clock;
        ManualTimerService timers{clock};
        CoalescedSaves saves{clock, timers, [&] { return ++writes, true; }, [&] { return ++writes, true; }};
        saves.requestSave(SavedFile::User);
        saves.requestSave(SavedFile::Schedule);
        saves.requestSave(SavedFile::User);
        EXPECT_EQ(writes.load(), 0);
    }
    EXPECT_EQ(writes.load(), 2);
}

}  // namespace
}  // namespace vesk
