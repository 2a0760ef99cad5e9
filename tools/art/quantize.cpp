// Palette reduction for the 8-bit animation frames (median cut, deterministic).
#include "tools/art/quantize.h"

#include <algorithm>
#include <array>
#include <limits>

namespace vesk::art {

namespace {
struct Entry {
    std::array<int, 3> c;
    uint64_t n;
};

struct BoxRange {
    int channel;
    int range;
};

BoxRange widest(const std::vector<Entry>& box) {
    BoxRange best{0, -1};
    for (int ch = 0; ch < 3; ++ch) {
        int lo = 255, hi = 0;
        for (const Entry& e : box) {
            lo = std::min(lo, e.c[ch]);
            hi = std::max(hi, e.c[ch]);
        }
        if (hi - lo > best.range) best = {ch, hi - lo};
    }
    return best;
}

Rgb mean(const std::vector<Entry>& box) {
    uint64_t sum[3] = {0, 0, 0}, n = 0;
    for (const Entry& e : box) {
        for (int ch = 0; ch < 3; ++ch) sum[ch] += uint64_t(e.c[ch]) * e.n;
        n += e.n;
    }
    auto avg = [n](uint64_t s) { return uint8_t((s + n / 2) / n); };
    return {avg(sum[0]), avg(sum[1]), avg(sum[2])};
}
}  // namespace

std::vector<Rgb> medianCut(const Histogram& histogram, int maxColours) {
    std::vector<Entry> all;
    for (const auto& [packed, n] : histogram) {
        Rgb c = Rgb::fromPacked(packed);
        all.push_back({{c.r, c.g, c.b}, n});
    }
    std::vector<Rgb> out;
    if (all.empty() || maxColours <= 0) return out;
    if (int(all.size()) <= maxColours) {
        for (const Entry& e : all) out.push_back({uint8_t(e.c[0]), uint8_t(e.c[1]), uint8_t(e.c[2])});
        return out;
    }
    std::vector<std::vector<Entry>> boxes{all};
    while (int(boxes.size()) < maxColours) {
        // Split the box whose colours spread furthest, weighted by its pixels.
        int pick = -1;
        double score = 0;
        BoxRange pickRange{};
        for (size_t i = 0; i < boxes.size(); ++i) {
            if (boxes[i].size() < 2) continue;
            BoxRange r = widest(boxes[i]);
            uint64_t n = 0;
            for (const Entry& e : boxes[i]) n += e.n;
            double s = double(r.range) * double(r.range) * double(n);
            if (r.range > 0 && s > score) {
                score = s;
                pick = int(i);
                pickRange = r;
            }
        }
        if (pick < 0) break;
        std::vector<Entry>& box = boxes[size_t(pick)];
        int ch = pickRange.channel;
        std::stable_sort(box.begin(), box.end(), [ch](const Entry& a, const Entry& b) { return a.c[ch] < b.c[ch]; });
        uint64_t total = 0;
        for (const Entry& e : box) total += e.n;
        uint64_t acc = 0;
        size_t cut = 1;
        for (size_t i = 0; i + 1 < box.size(); ++i) {
            acc += box[i].n;
            cut = i + 1;
            if (acc * 2 >= total) break;
        }
        std::vector<Entry> upper(box.begin() + long(cut), box.end());
        box.resize(cut);
        boxes.push_back(std::move(upper));
    }
    for (const auto& box : boxes) out.push_back(mean(box));
    return out;
}

int nearestIndex(const std::vector<Rgb>& palette, Rgb c, int first) {
    int best = first;
    long bestD = std::numeric_limits<long>::max();
    for (int i = first; i < int(palette.size()); ++i) {
        long dr = long(c.r) - palette[size_t(i)].r, dg = long(c.g) - palette[size_t(i)].g,
             db = long(c.b) - palette[size_t(i)].b;
        // Weighted towards green as the eye is.
        long d = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
        if (d < bestD) {
            bestD = d;
            best = i;
        }
    }
    return best;
}

}  // namespace vesk::art
