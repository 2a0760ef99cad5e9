// Writes animation files: frame count, period, then 8-bit bottom-up DIB frames.
#include "tools/art/mbm_writer.h"

#include <fstream>
#include <unordered_map>

#include "tools/art/quantize.h"

namespace vesk::art {

namespace {
void put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}
void put32(std::vector<uint8_t>& out, uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}
}  // namespace

std::vector<uint8_t> encodeMbm(const MbmFile& file) {
    std::vector<uint8_t> out;
    put16(out, uint32_t(file.frames.size()));
    put16(out, file.periodMs);
    if (file.frames.empty()) return out;

    // One palette for the whole file keeps a colour identical in every frame.
    Histogram hist;
    for (const Surface& f : file.frames)
        for (int y = 0; y < f.height(); ++y)
            for (int x = 0; x < f.width(); ++x) {
                Rgb c = f.at(x, y);
                if (!(c == kKey)) ++hist[c.packed()];
            }
    std::vector<Rgb> palette{kKey};
    for (Rgb c : medianCut(hist, file.colours - 1)) palette.push_back(c);
    palette.resize(size_t(file.colours), kNavyDeep);  // unused entries stay harmless

    std::unordered_map<uint32_t, uint8_t> lookup;
    auto indexOf = [&](Rgb c) -> uint8_t {
        if (c == kKey) return 0;
        auto it = lookup.find(c.packed());
        if (it != lookup.end()) return it->second;
        uint8_t i = uint8_t(nearestIndex(palette, c, 1));
        lookup.emplace(c.packed(), i);
        return i;
    };

    for (const Surface& f : file.frames) {
        const int w = f.width(), h = f.height();
        const uint32_t stride = (uint32_t(w) + 3) & ~3u;
        put32(out, 40);
        put32(out, uint32_t(w));
        put32(out, uint32_t(h));  // positive: rows stored bottom-up
        put16(out, 1);
        put16(out, 8);
        put32(out, 0);
        put32(out, stride * uint32_t(h));
        put32(out, 0);
        put32(out, 0);
        put32(out, file.colours == 256 ? 0 : uint32_t(file.colours));
        put32(out, 0);
        for (Rgb c : palette) {
            out.push_back(c.b);
            out.push_back(c.g);
            out.push_back(c.r);
            out.push_back(0);
        }
        for (int y = h - 1; y >= 0; --y) {
            for (int x = 0; x < w; ++x) out.push_back(indexOf(f.at(x, y)));
            for (uint32_t p = uint32_t(w); p < stride; ++p) out.push_back(0);
        }
    }
    return out;
}

bool writeMbm(const MbmFile& file, const std::string& path) {
    std::vector<uint8_t> bytes = encodeMbm(file);
    std::ofstream os(path, std::ios::binary | std::ios::trunc);
    os.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return bool(os);
}

}  // namespace vesk::art
