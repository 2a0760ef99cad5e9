// Sound request log in front of the real player.
#include "platform/sound/sound_log.h"

namespace vesk {

namespace {
// Nobody may ever ask: keep the newest, not an ever-growing history.
constexpr size_t kMaxKept = 1024;
}  // namespace

void SoundLog::play(int resource, unsigned flags) {
    {
        std::lock_guard<std::mutex> g(m_);
        if (played_.size() >= kMaxKept) played_.erase(played_.begin());
        played_.push_back(resource);
    }
    next_.play(resource, flags);
}

void SoundLog::stop() { next_.stop(); }

std::vector<int> SoundLog::take() {
    std::lock_guard<std::mutex> g(m_);
    std::vector<int> out;
    out.swap(played_);
    return out;
}

}  // namespace vesk
