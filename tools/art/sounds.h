// The panel's sounds, synthesised as 16-bit mono PCM, and their WAVE files.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace vesk::art {

constexpr int kSampleRate = 22050;

struct Sound {
    int number;
    std::vector<int16_t> samples;
};

std::vector<Sound> panelSounds();
std::vector<uint8_t> encodeWav(const std::vector<int16_t>& samples);
bool writeWav(const std::vector<int16_t>& samples, const std::string& path);

}  // namespace vesk::art
