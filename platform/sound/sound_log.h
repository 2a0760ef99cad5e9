// Remembers which sounds were asked for, and passes every call on: the
// automation command "sounds" reports what played since it last asked.
#pragma once
#include <mutex>
#include <vector>

#include "core/sound_player.h"

namespace vesk {

class SoundLog : public SoundPlayer {
public:
    explicit SoundLog(SoundPlayer& next) : next_(next) {}
    void play(int resource, unsigned flags) override;
    void stop() override;
    // Resource numbers asked for since the last take, oldest first (the
    // newest 1024 when nobody asked for a long time).
    std::vector<int> take();

private:
    SoundPlayer& next_;
    std::mutex m_;
    std::vector<int> played_;
};

}  // namespace vesk
