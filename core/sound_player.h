// Sounds by resource number: 132 click, 238 bunker empty, 240 expansion
// module event, 245 fault alarm.
#pragma once
#include <mutex>
#include <vector>

namespace vesk {

enum SoundFlags : unsigned {
    kSoundAsync = 0x1,
    kSoundLoop = 0x2,    // repeats until stopped
    kSoundNoStop = 0x4,  // does not interrupt a sound already playing
};

class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    virtual void play(int resource, unsigned flags) = 0;
    virtual void stop() = 0;
};

// Plays nothing; remembers what was asked, for tests and headless runs.
class RecordingSoundPlayer : public SoundPlayer {
public:
    struct Entry {
        int resource;  // -1 for a stop
        unsigned flags;
    };
    void play(int resource, unsigned flags) override {
        std::lock_guard<std::mutex> g(m_);
        log_.push_back({resource, flags});
    }
    void stop() override {
        std::lock_guard<std::mutex> g(m_);
        log_.push_back({-1, 0});
    }
    // Returns and clears what was recorded.
    std::vector<Entry> take() {
        std::lock_guard<std::mutex> g(m_);
        std::vector<Entry> out;
        out.swap(log_);
        return out;
    }

private:
    std::mutex m_;
    std::vector<Entry> log_;
};

}  // namespace vesk
