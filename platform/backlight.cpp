// Backlight level table and the sysfs backlight devices.
#include "platform/backlight.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <vector>

#include "platform/registry.h"

namespace vesk {

namespace {

constexpr int kLevelTable[11] = {1, 84, 125, 178, 244, 325, 422, 536, 670, 824, 999};

namespace fs = std::filesystem;

// Device folders with a usable max_brightness, in name order.
std::vector<std::pair<fs::path, long>> backlightDevices(const std::string& root) {
    std::vector<std::pair<fs::path, long>> out;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(root, ec)) {
        std::ifstream in(entry.path() / "max_brightness");
        long max = 0;
        if (in >> max && max > 0) out.emplace_back(entry.path(), max);
    }
    std::sort(out.begin(), out.end());
    return out;
}

}  // namespace

int backlightDriverValue(int level) {
    return kLevelTable[std::clamp(level, 0, 100) / 10];
}

void applyBacklightLevel(Registry& registry, int level, const std::string& sysfsRoot) {
    const int value = backlightDriverValue(level);
    registry.setInt(kBacklightLevelKey, value);
    for (const auto& [dir, max] : backlightDevices(sysfsRoot)) {
        // Never 0: the lowest level dims the panel, it does not switch it off.
        long brightness = long(((long long)value * max + kBacklightDriverMax / 2) / kBacklightDriverMax);
        brightness = std::clamp(brightness, 1L, max);
        std::ofstream out(dir / "brightness");
        out << brightness << '\n';
    }
}

void applyIdleDimming(Registry& registry, bool enabled) {
    registry.setInt(kBacklightTimeoutKey, enabled ? 60 : 0);
}

bool backlightAvailable(const std::string& sysfsRoot) {
    return !backlightDevices(sysfsRoot).empty();
}

}  // namespace vesk
