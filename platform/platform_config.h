// The environment contract: each setting from the environment, else from a
// KEY=value line of platform.cfg in the program folder, else its default.
#pragma once
#include <map>
#include <string>

namespace vesk {

struct PlatformConfig {
    std::string home;         // VESK_HOME, with a trailing '/'
    std::string com1;         // VESK_COM1
    std::string com4;         // VESK_COM4
    std::string i2c0;         // VESK_I2C0
    std::string sdcard;       // VESK_SDCARD, with a trailing '/'
    std::string registry;     // VESK_REGISTRY
    std::string display;      // VESK_DISPLAY ("" = choose)
    std::string automation;   // VESK_AUTOMATION ("" = off)
    double timeScale = 1.0;   // VESK_TIME_SCALE
    std::string netIface;     // VESK_NET_IFACE
    int portLocal = 1977;     // VESK_PORT_LOCAL
    int portDiscovery = 1981; // VESK_PORT_DISCOVERY
    std::string remote;       // VESK_REMOTE host:port
    std::string restartCmd;   // VESK_RESTART_CMD
    // VESK_SERVICE_LINE1, VESK_SERVICE_LINE2: the maker's service contacts
    // at the end of the information text ("" = not shown).
    std::string serviceLine1;
    std::string serviceLine2;
    bool launcherExec = false; // VESK_LAUNCHER_EXEC=1: the launcher becomes the controller (service manager)

    // The settings folder: home + "CFG/".
    std::string cfgDir() const { return home + "CFG/"; }
};

// `env` stands in for the process environment in tests; by default the
// real environment is read. `exeFolder` is where platform.cfg is looked for
// and the default home.
PlatformConfig loadPlatformConfig(const std::string& exeFolder);
PlatformConfig loadPlatformConfig(const std::string& exeFolder,
                                  const std::map<std::string, std::string>& env);

}  // namespace vesk
