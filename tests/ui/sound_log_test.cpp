// The sound request log in front of the player: it forwards everything and
// hands out what was asked for exactly once, also with several threads.
#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

#include "platform/sound/sound_log.h"

namespace vesk {
namespace {

TEST(SoundLog, ForwardsAndReportsEachRequestOnce) {
    RecordingSoundPlayer rec;
    SoundLog log(rec);
    log.play(132, kSoundAsync | kSoundNoStop);
    log.play(245, kSoundAsync | kSoundLoop);
    log.stop();
    log.play(238, kSoundAsync);
    EXPECT_EQ(log.take(), (std::vector<int>{132, 245, 238}));
    EXPECT_TRUE(log.take().empty());
    // Nobody asking for a long time keeps the newest, not everything.
    for (int i = 0; i < 5000; ++i) log.play(i, kSoundAsync);
    auto kept = log.take();
    EXPECT_EQ(kept.size(), 1024u);
    EXPECT_EQ(kept.back(), 4999);
    auto seen = rec.take();
    ASSERT_EQ(seen.size(), 5004u);
    EXPECT_EQ(seen[0].flags, unsigned(kSoundAsync | kSoundNoStop));
    EXPECT_EQ(seen[1].flags, unsigned(kSoundAsync | kSoundLoop));
    EXPECT_EQ(seen[2].resource, -1);
    EXPECT_EQ(seen[3].resource, 238);
}

TEST(SoundLog, ConcurrentPlayersAndAskersLoseNothing) {
    RecordingSoundPlayer rec;
    SoundLog log(rec);
    std::vector<int> taken;
    std::atomic<bool> done{false};
    std::thread asker([&] {
        while (!done) {
            auto part = log.take();
            taken.insert(taken.end(), part.begin(), part.end());
        }
    });
    std::thread a([&] { for (int i = 0; i < 300; ++i) log.play(132, kSoundAsync); });
    std::thread b([&] { for (int i = 0; i < 300; ++i) log.play(240, kSoundAsync); });
    a.join();
    b.join();
    done = true;
    asker.join();
    auto rest = log.take();
    taken.insert(taken.end(), rest.begin(), rest.end());
    EXPECT_EQ(std::count(taken.begin(), taken.end(), 132), 300);
    EXPECT_EQ(std::count(taken.begin(), taken.end(), 240), 300);
    EXPECT_EQ(rec.take().size(), 600u);
}

}  // namespace
}  // namespace vesk
