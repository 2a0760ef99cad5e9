// The SDL sound player on SDL's dummy audio driver (which consumes audio in
// real time): replace, no-stop and loop semantics, missing files, and a
// machine without audio.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "platform/sound/sdl_sound_player.h"
#include "platform/wait_until.h"
#include "support/test_support.h"

namespace vesk {
namespace {

// A mono 16-bit PCM WAVE file of `ms` milliseconds of a square wave.
void writeWav(const std::string& path, int ms, int rate = 22050) {
    const uint32_t samples = uint32_t(rate) * uint32_t(ms) / 1000;
    const uint32_t dataBytes = samples * 2;
    std::ofstream f(path, std::ios::binary);
    auto u32 = [&](uint32_t v) { f.write(reinterpret_cast<const char*>(&v), 4); };
    auto u16 = [&](uint16_t v) { f.write(reinterpret_cast<const char*>(&v), 2); };
    f.write("RIFF", 4);
    u32(36 + dataBytes);
    f.write("WAVEfmt ", 8);
    u32(16);
    u16(1);  // PCM
    u16(1);  // mono
    u32(uint32_t(rate));
    u32(uint32_t(rate) * 2);
    u16(2);
    u16(16);
    f.write("data", 4);
    u32(dataBytes);
    for (uint32_t i = 0; i < samples; ++i) u16((i / 25) % 2 ? 0x3000 : 0xD000);
}

constexpr int kLongMs = 30000;  // a sound that outlasts any test
constexpr int kShortMs = 100;
constexpr uint64_t kBytesPerMs = 44100 * 4 / 1000;

class SoundPlayerTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        writeWav(dir.file("132.wav"), kShortMs);
        writeWav(dir.file("245.wav"), kLongMs);
        writeWav(dir.file("238.wav"), kLongMs, 8000);
        writeWav(dir.file("240.wav"), kShortMs);
        test::writeText(dir.file("999.wav"), "RIFF but not a wave");
        player = std::make_unique<SdlSoundPlayer>(dir.path());
        ASSERT_TRUE(player->deviceOpen());
    }
    test::TempDir dir;
    std::unique_ptr<SdlSoundPlayer> player;
};

TEST_F(SoundPlayerTest, PlainPlayReplacesNoStopKeeps) {
    EXPECT_EQ(player->playingResource(), -1);
    player->play(245, kSoundAsync);
    EXPECT_EQ(player->playingResource(), 245);
    // Converted to the device's 44.1 kHz stereo.
    EXPECT_NEAR(double(player->bytesQueued()), double(kLongMs * kBytesPerMs), kLongMs * kBytesPerMs * 0.01);
    player->play(132, kSoundAsync | kSoundNoStop);
    EXPECT_EQ(player->playingResource(), 245);
    player->play(238, kSoundAsync);
    EXPECT_EQ(player->playingResource(), 238);
    player->stop();
    EXPECT_EQ(player->playingResource(), -1);
    // Nothing playing: a no-stop sound plays, and runs out by itself.
    player->play(240, kSoundAsync | kSoundNoStop);
    EXPECT_EQ(player->playingResource(), 240);
    EXPECT_TRUE(test::waitUntil([&] { return player->playingResource() == -1; }));
    player->play(240, kSoundAsync | kSoundNoStop);
    EXPECT_EQ(player->playingResource(), 240);
}

TEST_F(SoundPlayerTest, LoopKeepsQueueingUntilStopped) {
    // 240 is as long as 132: one plain play measures one copy.
    player->play(240, kSoundAsync);
    const uint64_t once = player->bytesQueued();
    ASSERT_GT(once, 0u);
    player->play(132, kSoundAsync | kSoundLoop);
    // The device drains in real time; the feeder must keep topping it up.
    EXPECT_TRUE(test::waitUntil([&] { return player->bytesQueued() >= 10 * once; }));
    EXPECT_EQ(player->playingResource(), 132);
    EXPECT_EQ(player->bytesQueued() % once, 0u);  // whole copies only
    player->play(240, kSoundAsync | kSoundNoStop);  // the loop counts as playing
    EXPECT_EQ(player->playingResource(), 132);
    player->stop();
    EXPECT_EQ(player->playingResource(), -1);
    const uint64_t afterStop = player->bytesQueued();
    // A plain sound after the loop is not looped.
    player->play(240, kSoundAsync);
    EXPECT_TRUE(test::waitUntil([&] { return player->playingResource() == -1; }));
    EXPECT_EQ(player->bytesQueued(), afterStop + once);
}

TEST_F(SoundPlayerTest, MissingOrBrokenFilesAreSilent) {
    player->play(245, kSoundAsync);
    const uint64_t queued = player->bytesQueued();
    player->play(1, kSoundAsync);  // no such file: the old sound still stops
    EXPECT_EQ(player->playingResource(), -1);
    player->play(999, kSoundAsync | kSoundLoop);
    EXPECT_EQ(player->playingResource(), -1);
    player->play(1, kSoundAsync);  // asked again: still silent, no crash
    EXPECT_EQ(player->bytesQueued(), queued);
    // Any volume word, the panel's 0xF332 (left only) included, still plays.
    for (uint32_t v : {0xF332u, 0u, 0xFFFFFFFFu}) {
        player->setVolume(v);
        player->play(240, kSoundAsync);
        EXPECT_EQ(player->playingResource(), 240);
    }
}

// An open SDL device keeps its audio thread busy with silence: a quiet
// panel closes it, and the next sound opens it again.
TEST_F(SoundPlayerTest, AQuietPanelClosesTheDeviceAndASoundOpensIt) {
    EXPECT_TRUE(test::waitUntil([&] { return !player->deviceOpen(); }));
    player->play(240, kSoundAsync);
    EXPECT_TRUE(player->deviceOpen());
    EXPECT_EQ(player->playingResource(), 240);
    EXPECT_TRUE(test::waitUntil([&] { return player->playingResource() == -1; }));
    EXPECT_TRUE(test::waitUntil([&] { return !player->deviceOpen(); }));
    EXPECT_TRUE(player->available());
    player->play(132, kSoundAsync | kSoundNoStop);
    EXPECT_EQ(player->playingResource(), 132) << "nothing plays on a closed device, so a no-stop sound plays";
}

TEST(SoundPlayer, NoAudioDeviceIsSilentNotAnError) {
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    test::TempDir dir;
    writeWav(dir.file("132.wav"), kShortMs);
    SdlSoundPlayer p(dir.path());
    EXPECT_FALSE(p.deviceOpen());
    p.setVolume(0xF332);
    p.play(132, kSoundAsync | kSoundLoop);
    p.play(245, kSoundAsync);
    p.stop();
    EXPECT_EQ(p.playingResource(), -1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
}

}  // namespace
}  // namespace vesk
