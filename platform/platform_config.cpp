// Platform settings: environment first, then platform.cfg, then defaults.
#include "platform/platform_config.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <optional>

#include "platform/atomic_file.h"
#include "platform/key_value_text.h"

extern char** environ;

namespace vesk {

namespace {

constexpr const char* kCfgName = "platform.cfg";
constexpr const char* kRemotePort = "1978";

std::string withSlash(std::string folder) {
    if (!folder.empty() && folder.back() != '/') folder += '/';
    return folder;
}

std::string trimmed(const std::string& s) {
    const char* ws = " \t";
    size_t b = s.find_first_not_of(ws);
    if (b == std::string::npos) return {};
    return s.substr(b, s.find_last_not_of(ws) - b + 1);
}

std::map<std::string, std::string> readCfg(const std::string& folder) {
    std::map<std::string, std::string> out;
    std::string text;
    if (folder.empty() || !readWholeFile(folder + kCfgName, text)) return out;
    for (const auto& [key, value] : parseKeyValueText(text)) out[trimmed(key)] = trimmed(value);
    return out;
}

// Looks a key up through the layers, first hit wins; an empty value counts
// as not given.
class Layers {
public:
    void add(const std::map<std::string, std::string>* layer) { layers_[count_++] = layer; }
    std::optional<std::string> get(const char* key) const {
        for (int i = 0; i < count_; ++i) {
            auto it = layers_[i]->find(key);
            if (it != layers_[i]->end() && !it->second.empty()) return it->second;
        }
        return std::nullopt;
    }
    std::string get(const char* key, const std::string& dflt) const { return get(key).value_or(dflt); }

private:
    const std::map<std::string, std::string>* layers_[3] = {};
    int count_ = 0;
};

double parseScale(const std::optional<std::string>& v) {
    if (!v) return 1.0;
    errno = 0;
    char* end = nullptr;
    double d = std::strtod(v->c_str(), &end);
    if (errno != 0 || end == v->c_str() || *end != '\0' || !std::isfinite(d) || d <= 0) return 1.0;
    return d;
}

int parsePort(const std::optional<std::string>& v, int dflt) {
    if (!v) return dflt;
    errno = 0;
    char* end = nullptr;
    long n = std::strtol(v->c_str(), &end, 10);
    if (errno != 0 || end == v->c_str() || *end != '\0' || n < 1 || n > 65535) return dflt;
    return static_cast<int>(n);
}

// "host" and "[v6]" get the default port; "host:port" stays as it is.
std::string withRemotePort(std::string remote) {
    size_t colon = remote.rfind(':');
    size_t bracket = remote.rfind(']');
    bool hasPort = colon != std::string::npos && (bracket == std::string::npos || colon > bracket);
    if (!hasPort) return remote + ":" + kRemotePort;
    if (colon + 1 == remote.size()) return remote + kRemotePort;
    return remote;
}

}  // namespace

PlatformConfig loadPlatformConfig(const std::string& exeFolder) {
    std::map<std::string, std::string> env;
    for (char** e = environ; e && *e; ++e) {
        std::string entry = *e;
        size_t eq = entry.find('=');
        if (eq != std::string::npos && entry.compare(0, 5, "VESK_") == 0)
            env[entry.substr(0, eq)] = entry.substr(eq + 1);
    }
    return loadPlatformConfig(exeFolder, env);
}

PlatformConfig loadPlatformConfig(const std::string& exeFolder,
                                  const std::map<std::string, std::string>& env) {
    const std::string exeDir = withSlash(exeFolder);
    const auto exeCfg = readCfg(exeDir);

    Layers homeLayers;
    homeLayers.add(&env);
    homeLayers.add(&exeCfg);
    PlatformConfig c;
    c.home = withSlash(homeLayers.get("VESK_HOME", exeDir));

    // A home of its own may carry its own platform.cfg, which then speaks
    // for that home before the program folder's does.
    std::map<std::string, std::string> homeCfg;
    if (c.home != exeDir) {
        homeCfg = readCfg(c.home);
        homeCfg.erase("VESK_HOME");
    }
    Layers l;
    l.add(&env);
    l.add(&homeCfg);
    l.add(&exeCfg);

    c.com1 = l.get("VESK_COM1", "/dev/ttyS0");
    c.com4 = l.get("VESK_COM4", "/dev/ttyS3");
    c.i2c0 = l.get("VESK_I2C0", c.home + "eeprom.bin");
    c.sdcard = withSlash(l.get("VESK_SDCARD", "/media/sdcard"));
    c.registry = l.get("VESK_REGISTRY", c.home + "registry.cfg");
    c.display = l.get("VESK_DISPLAY", "");
    c.automation = l.get("VESK_AUTOMATION", "");
    c.timeScale = parseScale(l.get("VESK_TIME_SCALE"));
    c.netIface = l.get("VESK_NET_IFACE", "");
    c.portLocal = parsePort(l.get("VESK_PORT_LOCAL"), 1977);
    c.portDiscovery = parsePort(l.get("VESK_PORT_DISCOVERY"), 1981);
    c.remote = withRemotePort(l.get("VESK_REMOTE", "remote.vesk-panel.net"));
    c.restartCmd = l.get("VESK_RESTART_CMD", "");
    c.serviceLine1 = l.get("VESK_SERVICE_LINE1", "");
    c.serviceLine2 = l.get("VESK_SERVICE_LINE2", "");
    c.launcherExec = l.get("VESK_LAUNCHER_EXEC", "0") == "1";
    return c;
}

}  // namespace vesk
