// Platform settings precedence: environment, then platform.cfg, then defaults.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/platform_config.h"
#include "support/test_support.h"

namespace vesk {
namespace {

using Env = std::map<std::string, std::string>;

TEST(PlatformConfig, DefaultsFollowTheProgramFolder) {
    test::TempDir exe;
    std::string folder = exe.path();
    folder.pop_back();  // given without the trailing slash
    PlatformConfig c = loadPlatformConfig(folder, Env{});
    EXPECT_EQ(c.home, exe.path());
    EXPECT_EQ(c.cfgDir(), exe.path() + "CFG/");
    EXPECT_EQ(c.com1, "/dev/ttyS0");
    EXPECT_EQ(c.com4, "/dev/ttyS3");
    EXPECT_EQ(c.i2c0, exe.path() + "eeprom.bin");
    EXPECT_EQ(c.sdcard, "/media/sdcard/");
    EXPECT_EQ(c.registry, exe.path() + "registry.cfg");
    EXPECT_EQ(c.display, "");
    EXPECT_EQ(c.automation, "");
    EXPECT_EQ(c.timeScale, 1.0);
    EXPECT_EQ(c.netIface, "");
    EXPECT_EQ(c.portLocal, 1977);
    EXPECT_EQ(c.portDiscovery, 1981);
    EXPECT_EQ(c.remote, "remote.vesk-panel.net:1978");
    EXPECT_EQ(c.restartCmd, "");
    EXPECT_EQ(c.serviceLine1, "");
    EXPECT_EQ(c.serviceLine2, "");
}

TEST(PlatformConfig, ServiceContactLinesFromFileAndEnvironment) {
    test::TempDir exe;
    test::writeText(exe.file("platform.cfg"),
                    "VESK_SERVICE_LINE1 = Сервис: +7 495 100-20-30 \n"
                    "VESK_SERVICE_LINE2=www.vesk-service.example\n");
    PlatformConfig c = loadPlatformConfig(exe.path(), Env{});
    EXPECT_EQ(c.serviceLine1, "Сервис: +7 495 100-20-30");
    EXPECT_EQ(c.serviceLine2, "www.vesk-service.example");
    c = loadPlatformConfig(exe.path(), Env{{"VESK_SERVICE_LINE2", "Горячая линия 8 800 100-00-01"}});
    EXPECT_EQ(c.serviceLine2, "Горячая линия 8 800 100-00-01");
}

TEST(PlatformConfig, EnvironmentBeatsFileBeatsDefault) {
    test::TempDir exe;
    test::writeText(exe.file("platform.cfg"),
                    "# bench panel\n"
                    "VESK_COM1=/dev/ttyUSB0\n"
                    "VESK_COM4 = /dev/ttyUSB1 \r\n"
                    "VESK_PORT_LOCAL=2977\n"
                    "VESK_SDCARD=/mnt/card\n"
                    "broken line\n");
    PlatformConfig c = loadPlatformConfig(exe.path(), Env{{"VESK_COM1", "/dev/pts/9"}, {"OTHER", "x"}});
    EXPECT_EQ(c.com1, "/dev/pts/9");
    EXPECT_EQ(c.com4, "/dev/ttyUSB1");
    EXPECT_EQ(c.portLocal, 2977);
    EXPECT_EQ(c.portDiscovery, 1981);
    EXPECT_EQ(c.sdcard, "/mnt/card/");
}

TEST(PlatformConfig, HomeMovesTheFilesAndBringsItsOwnPlatformCfg) {
    test::TempDir exe, home;
    test::writeText(exe.file("platform.cfg"), "VESK_COM1=/dev/exe1\nVESK_COM4=/dev/exe4\nVESK_DISPLAY=sdl\n");
    test::writeText(home.file("platform.cfg"), "VESK_COM1=/dev/home1\nVESK_HOME=/elsewhere\n");
    std::string homeNoSlash = home.path();
    homeNoSlash.pop_back();
    PlatformConfig c = loadPlatformConfig(exe.path(), Env{{"VESK_HOME", homeNoSlash}, {"VESK_DISPLAY", "headless"}});
    EXPECT_EQ(c.home, home.path());
    EXPECT_EQ(c.i2c0, home.path() + "eeprom.bin");
    EXPECT_EQ(c.registry, home.path() + "registry.cfg");
    EXPECT_EQ(c.com1, "/dev/home1");  // the home's file speaks first
    EXPECT_EQ(c.com4, "/dev/exe4");   // then the program folder's
    EXPECT_EQ(c.display, "headless"); // the environment above both
}

TEST(PlatformConfig, HomeFromTheProgramFoldersFile) {
    test::TempDir exe, home;
    test::writeText(exe.file("platform.cfg"), "VESK_HOME=" + home.path() + "\n");
    test::writeText(home.file("platform.cfg"), "VESK_I2C0=/dev/i2c-1\n");
    PlatformConfig c = loadPlatformConfig(exe.path(), Env{});
    EXPECT_EQ(c.home, home.path());
    EXPECT_EQ(c.i2c0, "/dev/i2c-1");
}

TEST(PlatformConfig, BadNumbersFallBackToDefaults) {
    test::TempDir exe;
    for (const char* bad : {"abc", "0", "-2", "inf", "nan", "5x", ""}) {
        PlatformConfig c = loadPlatformConfig(exe.path(), Env{{"VESK_TIME_SCALE", bad}});
        EXPECT_EQ(c.timeScale, 1.0) << bad;
    }
    EXPECT_EQ(loadPlatformConfig(exe.path(), Env{{"VESK_TIME_SCALE", "50"}}).timeScale, 50.0);
    EXPECT_EQ(loadPlatformConfig(exe.path(), Env{{"VESK_TIME_SCALE", "0.5"}}).timeScale, 0.5);
    for (const char* bad : {"0", "65536", "-1", "12ab", "http"}) {
        PlatformConfig c = loadPlatformConfig(exe.path(), Env{{"VESK_PORT_LOCAL", bad}, {"VESK_PORT_DISCOVERY", bad}});
        EXPECT_EQ(c.portLocal, 1977) << bad;
        EXPECT_EQ(c.portDiscovery, 1981) << bad;
    }
    EXPECT_EQ(loadPlatformConfig(exe.path(), Env{{"VESK_PORT_LOCAL", "65535"}}).portLocal, 65535);
}

TEST(PlatformConfig, RemoteGetsTheDefaultPortWhenNoneIsGiven) {
    test::TempDir exe;
    const std::pair<const char*, const char*> cases[] = {
        {"localhost", "localhost:1978"},
        {"127.0.0.1:2978", "127.0.0.1:2978"},
        {"host:", "host:1978"},
        {"[::1]", "[::1]:1978"},
        {"[::1]:9000", "[::1]:9000"},
    };
    for (const auto& [given, expected] : cases)
        EXPECT_EQ(loadPlatformConfig(exe.path(), Env{{"VESK_REMOTE", given}}).remote, expected);
}

TEST(PlatformConfig, ReadsTheProcessEnvironment) {
    test::TempDir exe;
    ::setenv("VESK_COM4", "/dev/pts/77", 1);
    PlatformConfig c = loadPlatformConfig(exe.path());
    ::unsetenv("VESK_COM4");
    EXPECT_EQ(c.com4, "/dev/pts/77");
}

}  // namespace
}  // namespace vesk
