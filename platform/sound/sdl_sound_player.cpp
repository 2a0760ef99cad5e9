// SDL audio through SDL_QueueAudio: a plain play clears the queue and
// queues the sound; a loop is kept topped up by a feeder thread. An open
// SDL device keeps its audio thread mixing silence, so the feeder closes
// it once the panel has been quiet a while, and a play opens it again.
#include "platform/sound/sdl_sound_player.h"

#include <SDL.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <chrono>
#include <cstring>

namespace vesk {

namespace {
constexpr int kRate = 44100;
constexpr int kChannels = 2;
constexpr int kFrameBytes = kChannels * 2;  // signed 16-bit
// How far ahead of the device a loop is kept, and how often it is checked.
constexpr int kLoopAheadMs = 300;
constexpr auto kFeedPeriod = std::chrono::milliseconds(50);
// Quiet this long (the device's own buffer heard out), the device closes.
constexpr auto kCloseAfter = std::chrono::milliseconds(2000);
}  // namespace

namespace {
// A machine without a sound card stays silent without the audio libraries
// complaining on the console; a chosen SDL driver or a sound server is
// always tried.
bool soundOutputLikely() {
    if (std::getenv("SDL_AUDIODRIVER") || std::getenv("PULSE_SERVER")) return true;
    struct stat st{};
    if (::stat("/dev/snd", &st) == 0) return true;
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    return runtime && (::stat((std::string(runtime) + "/pulse/native").c_str(), &st) == 0 ||
                       ::stat((std::string(runtime) + "/pipewire-0").c_str(), &st) == 0);
}
}  // namespace

SdlSoundPlayer::SdlSoundPlayer(std::string resDir) : resDir_(std::move(resDir)) {
    if (!resDir_.empty() && resDir_.back() != '/') resDir_ += '/';
    // Audio pulls in SDL's event layer, whose signal handlers would swallow
    // SIGTERM in a program without a window.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (!soundOutputLikely()) return;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return;
    audioInit_ = true;
    openLocked();
    if (device_ == 0) return;
    available_ = true;
    bytesPerSecond_ = kRate * kFrameBytes;
    feeder_ = std::thread([this] { feed(); });
}

void SdlSoundPlayer::openLocked() {
    if (device_ != 0) return;
    SDL_AudioSpec want{};
    want.freq = kRate;
    want.format = AUDIO_S16SYS;
    want.channels = kChannels;
    want.samples = 1024;
    SDL_AudioSpec have{};
    device_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (device_ != 0) SDL_PauseAudioDevice(device_, 0);
}

SdlSoundPlayer::~SdlSoundPlayer() {
    {
        std::lock_guard<std::mutex> g(m_);
        quit_ = true;
    }
    cv_.notify_all();
    if (feeder_.joinable()) feeder_.join();
    if (device_ != 0) SDL_CloseAudioDevice(device_);
    if (audioInit_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

const SdlSoundPlayer::Sound& SdlSoundPlayer::load(int resource) {
    auto it = sounds_.find(resource);
    if (it != sounds_.end()) return it->second;
    // A missing or unreadable file is remembered as such: it stays silent.
    Sound& s = sounds_[resource];
    std::string path = resDir_ + std::to_string(resource) + ".wav";
    SDL_AudioSpec spec{};
    Uint8* buf = nullptr;
    Uint32 len = 0;
    if (SDL_LoadWAV(path.c_str(), &spec, &buf, &len) == nullptr) return s;
    SDL_AudioCVT cvt{};
    int need = SDL_BuildAudioCVT(&cvt, spec.format, spec.channels, spec.freq, AUDIO_S16SYS,
                                 kChannels, kRate);
    if (need >= 0) {
        std::vector<uint8_t> work(size_t(len) * size_t(std::max(cvt.len_mult, 1)));
        std::memcpy(work.data(), buf, len);
        cvt.buf = work.data();
        cvt.len = int(len);
        if (need == 0 || SDL_ConvertAudio(&cvt) == 0) {
            work.resize(need == 0 ? len : size_t(cvt.len_cvt));
            work.resize(work.size() / kFrameBytes * kFrameBytes);
            s.data = std::move(work);
            s.ok = !s.data.empty();
        }
    }
    SDL_FreeWAV(buf);
    return s;
}

void SdlSoundPlayer::queueLocked(const Sound& s) {
    if (gain_ >= 0xFFFF) {
        SDL_QueueAudio(device_, s.data.data(), Uint32(s.data.size()));
    } else {
        std::vector<int16_t> scaled(s.data.size() / 2);
        std::memcpy(scaled.data(), s.data.data(), scaled.size() * 2);
        for (auto& v : scaled) v = int16_t(int32_t(v) * int32_t(gain_) / 0xFFFF);
        SDL_QueueAudio(device_, scaled.data(), Uint32(scaled.size() * 2));
    }
    queued_ += s.data.size();
}

bool SdlSoundPlayer::playingLocked() const {
    return current_ >= 0 && device_ != 0 && (looping_ || SDL_GetQueuedAudioSize(device_) > 0);
}

void SdlSoundPlayer::play(int resource, unsigned flags) {
    if (!available_) return;
    std::lock_guard<std::mutex> g(m_);
    if ((flags & kSoundNoStop) && playingLocked()) return;
    if (device_ != 0) SDL_ClearQueuedAudio(device_);
    looping_ = false;
    current_ = -1;
    const Sound& s = load(resource);
    if (!s.ok) return;
    openLocked();
    if (device_ == 0) return;
    queueLocked(s);
    current_ = resource;
    looping_ = (flags & kSoundLoop) != 0;
    cv_.notify_all();
}

void SdlSoundPlayer::stop() {
    std::lock_guard<std::mutex> g(m_);
    if (device_ != 0) SDL_ClearQueuedAudio(device_);
    looping_ = false;
    current_ = -1;
}

void SdlSoundPlayer::setVolume(uint32_t leftRight) {
    std::lock_guard<std::mutex> g(m_);
    gain_ = std::max(leftRight & 0xFFFF, leftRight >> 16);
}

bool SdlSoundPlayer::deviceOpen() const {
    std::lock_guard<std::mutex> g(m_);
    return device_ != 0;
}

int SdlSoundPlayer::playingResource() const {
    std::lock_guard<std::mutex> g(m_);
    return playingLocked() ? current_ : -1;
}

uint64_t SdlSoundPlayer::bytesQueued() const {
    std::lock_guard<std::mutex> g(m_);
    return queued_;
}

void SdlSoundPlayer::feed() {
    std::unique_lock<std::mutex> lk(m_);
    const Uint32 ahead = Uint32(bytesPerSecond_) * kLoopAheadMs / 1000;
    while (!quit_) {
        if (device_ == 0) {
            cv_.wait(lk, [this] { return quit_ || device_ != 0; });
            continue;
        }
        if (!looping_) {
            auto sounding = [this] { return quit_ || looping_ || SDL_GetQueuedAudioSize(device_) > 0; };
            if (sounding()) {
                cv_.wait_for(lk, kFeedPeriod);
            } else if (!cv_.wait_for(lk, kCloseAfter, sounding)) {
                SDL_CloseAudioDevice(device_);
                device_ = 0;
                current_ = -1;
            }
            continue;
        }
        const Sound& s = sounds_[current_];
        // Whole copies only, so the loop never restarts mid-sound.
        while (SDL_GetQueuedAudioSize(device_) < std::max<Uint32>(ahead, Uint32(s.data.size())))
            queueLocked(s);
        cv_.wait_for(lk, kFeedPeriod);
    }
}

}  // namespace vesk
