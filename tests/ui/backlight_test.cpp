// Backlight: the level table at its edges, the registry values, and a
// sysfs backlight device driven in proportion to its own range.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/backlight.h"
#include "platform/registry.h"
#include "support/test_support.h"

namespace vesk {
namespace {

TEST(Backlight, LevelTableEdges) {
    struct Case {
        int level, value;
    } cases[] = {{0, 1},    {5, 1},    {9, 1},     {10, 84},  {55, 325}, {59, 325},
                 {90, 824}, {99, 824}, {100, 999}, {150, 999}, {-20, 1}, {2147483647, 999}};
    for (const auto& c : cases) EXPECT_EQ(backlightDriverValue(c.level), c.value) << c.level;
}

TEST(Backlight, RegistryValuesForLevelAndIdleDimming) {
    test::TempDir dir;
    Registry reg(dir.file("registry.cfg"));
    const std::string noDevices = dir.file("none");
    applyBacklightLevel(reg, 55, noDevices);
    EXPECT_EQ(reg.getInt("Backlight.ACHighLevel"), 325);
    applyBacklightLevel(reg, 150, noDevices);
    EXPECT_EQ(reg.getInt("Backlight.ACHighLevel"), 999);
    applyIdleDimming(reg, true);
    EXPECT_EQ(reg.getInt("Backlight.ACTimeout"), 60);
    applyIdleDimming(reg, false);
    EXPECT_EQ(reg.getInt("Backlight.ACTimeout"), 0);
    // The values are in the store file, where the backlight side reads them.
    Registry again(dir.file("registry.cfg"));
    EXPECT_EQ(again.getInt("Backlight.ACHighLevel"), 999);
    EXPECT_EQ(again.getInt("Backlight.ACTimeout"), 0);
}

class SysfsBacklight : public ::testing::Test {
protected:
    void addDevice(const std::string& name, const std::string& max) {
        std::filesystem::create_directories(root + name);
        test::writeText(root + name + "/max_brightness", max);
        test::writeText(root + name + "/brightness", "7\n");
    }
    int brightness(const std::string& name) {
        return std::stoi(test::readText(root + name + "/brightness"));
    }
    test::TempDir dir;
    std::string root = dir.file("backlight/");
    Registry reg{""};
};

TEST_F(SysfsBacklight, BrightnessFollowsTheTableInEachDevicesRange) {
    EXPECT_FALSE(backlightAvailable(root));  // no folder at all
    addDevice("broken", "0\n");
    EXPECT_FALSE(backlightAvailable(root));
    addDevice("panel", "255\n");
    addDevice("wide", "100000\n");
    addDevice("onoff", "1\n");
    EXPECT_TRUE(backlightAvailable(root));
    applyBacklightLevel(reg, 100, root);
    EXPECT_EQ(brightness("panel"), 255);
    EXPECT_EQ(brightness("wide"), 100000);
    EXPECT_EQ(brightness("broken"), 7);  // left alone
    applyBacklightLevel(reg, 55, root);
    EXPECT_EQ(brightness("panel"), 83);  // 325/999 of 255, rounded
    EXPECT_EQ(brightness("wide"), 32533);
    EXPECT_EQ(brightness("onoff"), 1);
    // The lowest level dims; it never switches the panel off.
    applyBacklightLevel(reg, 0, root);
    EXPECT_EQ(brightness("panel"), 1);
    EXPECT_EQ(brightness("wide"), 100);
    EXPECT_EQ(brightness("onoff"), 1);
}

}  // namespace
}  // namespace vesk
