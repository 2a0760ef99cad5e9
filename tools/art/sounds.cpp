// The panel's sounds, synthesised as 16-bit mono PCM, and their WAVE files.
#include "tools/art/sounds.h"

#include <algorithm>
#include <cmath>
#include <fstream>

namespace vesk::art {

namespace {
constexpr double kPi = 3.14159265358979323846;

int samplesFor(double ms) { return int(std::lround(ms * kSampleRate / 1000.0)); }
double dbfs(double db) { return std::pow(10.0, db / 20.0); }

struct Tone {
    double startMs, lengthMs, hz, level;
    double fadeMs = 4;
    double decayMs = 0;  // exponential decay time constant; 0 = steady
    double attackMs = 0;  // defaults to fadeMs
};

// Tones are mixed in floating point and rounded once, so nothing wraps.
std::vector<int16_t> render(double totalMs, const std::vector<Tone>& tones) {
    std::vector<double> mixBuf(size_t(samplesFor(totalMs)), 0.0);
    for (const Tone& t : tones) {
        int start = samplesFor(t.startMs), n = samplesFor(t.lengthMs);
        double attack = samplesFor(t.attackMs > 0 ? t.attackMs : t.fadeMs);
        double fade = samplesFor(t.fadeMs);
        for (int i = 0; i < n && start + i < int(mixBuf.size()); ++i) {
            double env = 1.0;
            if (i < attack) env = i / attack;
            if (n - 1 - i < fade) env = std::min(env, (n - 1 - i) / fade);
            if (t.decayMs > 0 && i > attack)
                env *= std::exp(-((i - attack) / double(kSampleRate)) * 1000.0 / t.decayMs);
            double ph = 2 * kPi * t.hz * i / kSampleRate;
            // A touch of second harmonic softens the pure sine.
            double v = std::sin(ph) + 0.12 * std::sin(2 * ph);
            mixBuf[size_t(start + i)] += t.level * env * v / 1.12;
        }
    }
    std::vector<int16_t> out(mixBuf.size());
    for (size_t i = 0; i < mixBuf.size(); ++i)
        out[i] = int16_t(std::lround(std::clamp(mixBuf[i], -1.0, 1.0) * 32767));
    return out;
}

void put16(std::vector<uint8_t>& o, uint32_t v) {
    o.push_back(uint8_t(v));
    o.push_back(uint8_t(v >> 8));
}
void put32(std::vector<uint8_t>& o, uint32_t v) {
    put16(o, v & 0xFFFF);
    put16(o, v >> 16);
}
void putTag(std::vector<uint8_t>& o, const char* t) {
    for (int i = 0; i < 4; ++i) o.push_back(uint8_t(t[i]));
}
}  // namespace

std::vector<Sound> panelSounds() {
    const double beep = dbfs(-9);
    return {
        // Touch click: short, bright and quiet enough to repeat.
        {132, render(20, {{0, 20, 2400, dbfs(-6), 3, 4, 2}})},
        // Bunker empty: three falling beeps.
        {238, render(520, {{0, 120, 1200, beep}, {200, 120, 1000, beep}, {400, 120, 800, beep}})},
        // Module event: two rising notes.
        {240, render(220, {{0, 80, 1000, beep}, {100, 120, 1500, beep}})},
        // Fault alarm: silent at both ends, so the loop joins cleanly.
        {245, render(800, {{0, 300, 880, dbfs(-6)}, {400, 300, 660, dbfs(-6)}})},
        {298, render(300, {{0, 300, 1000, beep, 5}})},
    };
}

std::vector<uint8_t> encodeWav(const std::vector<int16_t>& samples) {
    std::vector<uint8_t> o;
    const uint32_t data = uint32_t(samples.size() * 2);
    putTag(o, "RIFF");
    put32(o, 36 + data);
    putTag(o, "WAVE");
    putTag(o, "fmt ");
    put32(o, 16);
    put16(o, 1);  // PCM
    put16(o, 1);  // mono
    put32(o, kSampleRate);
    put32(o, kSampleRate * 2);
    put16(o, 2);
    put16(o, 16);
    putTag(o, "data");
    put32(o, data);
    for (int16_t s : samples) put16(o, uint16_t(s));
    return o;
}

bool writeWav(const std::vector<int16_t>& samples, const std::string& path) {
    std::vector<uint8_t> bytes = encodeWav(samples);
    std::ofstream os(path, std::ios::binary | std::ios::trunc);
    os.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return bool(os);
}

}  // namespace vesk::art
