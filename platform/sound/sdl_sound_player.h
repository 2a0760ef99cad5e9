// Plays the panel's WAVE sounds (<resDir>/<N>.wav) through SDL audio.
// Without a working audio device it stays silent; that is never an error.
#pragma once
#include <condition_variable>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "core/sound_player.h"

namespace vesk {

class SdlSoundPlayer : public SoundPlayer {
public:
    // Opens the audio device here, on the start-up thread, to know whether
    // there is one; it closes while the panel is quiet and opens on a play.
    explicit SdlSoundPlayer(std::string resDir);
    ~SdlSoundPlayer() override;
    SdlSoundPlayer(const SdlSoundPlayer&) = delete;
    SdlSoundPlayer& operator=(const SdlSoundPlayer&) = delete;

    void play(int resource, unsigned flags) override;
    void stop() override;

    // The wave-out volume word: low 16 bits left, high 16 bits right. SDL
    // has one level per stream, so the louder channel sets the gain.
    void setVolume(uint32_t leftRight);

    // For tests and diagnostics.
    bool available() const { return available_; }
    bool deviceOpen() const;
    // The sound still being heard (or looping), else -1.
    int playingResource() const;
    // Bytes handed to the device since it was opened.
    uint64_t bytesQueued() const;

private:
    struct Sound {
        bool ok = false;
        std::vector<uint8_t> data;  // device format
    };
    const Sound& load(int resource);
    bool playingLocked() const;
    void queueLocked(const Sound& s);
    void feed();
    void openLocked();

    std::string resDir_;
    uint32_t device_ = 0;
    bool audioInit_ = false;
    bool available_ = false;
    int bytesPerSecond_ = 0;
    mutable std::mutex m_;
    std::condition_variable cv_;
    std::map<int, Sound> sounds_;
    int current_ = -1;
    bool looping_ = false;
    bool quit_ = false;
    uint32_t gain_ = 0xFFFF;  // 0..0xFFFF
    uint64_t queued_ = 0;
    std::thread feeder_;
};

}  // namespace vesk
