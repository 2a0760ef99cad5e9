// Rasterising recorded rectangles and running zbarimg on the result.
#include "net/qr/qr_test_image.h"

#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace vesk::test {

GreyImage rasterise(const std::vector<QrRect>& rects, int margin) {
    int left = INT_MAX, top = INT_MAX, right = INT_MIN, bottom = INT_MIN;
    for (const QrRect& r : rects) {
        left = std::min(left, r.x);
        top = std::min(top, r.y);
        right = std::max(right, r.x + r.w);
        bottom = std::max(bottom, r.y + r.h);
    }
    if (rects.empty()) left = top = right = bottom = 0;
    GreyImage img(right - left + 2 * margin, bottom - top + 2 * margin);
    for (const QrRect& r : rects)
        for (int y = 0; y < r.h; ++y)
            for (int x = 0; x < r.w; ++x)
                img.pixels[static_cast<size_t>(r.y - top + margin + y) * img.width + (r.x - left + margin + x)] =
                    r.dark ? 0 : 255;
    return img;
}

void writePgm(const std::string& path, const GreyImage& image) {
    std::ofstream f(path, std::ios::binary);
    f << "P5\n" << image.width << ' ' << image.height << "\n255\n";
    f.write(reinterpret_cast<const char*>(image.pixels.data()), static_cast<std::streamsize>(image.pixels.size()));
}

bool haveZbar() {
    const char* path = std::getenv("PATH");
    std::stringstream dirs(path ? path : "/usr/bin:/bin");
    std::string dir;
    while (std::getline(dirs, dir, ':'))
        if (!dir.empty() && ::access((dir + "/zbarimg").c_str(), X_OK) == 0) return true;
    return false;
}

std::optional<std::string> zbarDecode(const std::string& path) {
    std::string cmd = "zbarimg -q --raw '" + path + "' 2>/dev/null";
    FILE* p = ::popen(cmd.c_str(), "r");
    if (!p) return std::nullopt;
    std::string out;
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
    int status = ::pclose(p);
    if (status != 0 || out.empty()) return std::nullopt;
    if (out.back() == '\n') out.pop_back();
    return out;
}

}  // namespace vesk::test
