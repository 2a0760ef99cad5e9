// Screen brightness and idle dimming: the driver values are kept in the
// registry store, and a Linux backlight device, when there is one, is set
// to the same brightness at once.
#pragma once
#include <string>

namespace vesk {

class Registry;

constexpr const char* kBacklightSysfsRoot = "/sys/class/backlight";
constexpr const char* kBacklightLevelKey = "Backlight.ACHighLevel";
constexpr const char* kBacklightTimeoutKey = "Backlight.ACTimeout";
constexpr int kBacklightDriverMax = 999;

// Driver brightness (1..999) for a `BL_LEVEL` percentage; above 100 counts
// as 100, below 0 as 0.
int backlightDriverValue(int level);

void applyBacklightLevel(Registry& registry, int level,
                         const std::string& sysfsRoot = kBacklightSysfsRoot);
// Idle time before the driver dims: 60 s when enabled, never otherwise.
void applyIdleDimming(Registry& registry, bool enabled);
// Whether there is a backlight the brightness setting can drive.
bool backlightAvailable(const std::string& sysfsRoot = kBacklightSysfsRoot);

}  // namespace vesk
