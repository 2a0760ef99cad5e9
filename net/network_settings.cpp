// Network settings logic over the registry store and the user settings.
#include "net/network_settings.h"

#include <cstdio>
#include <mutex>

#include "core/controller_state.h"
#include "platform/registry.h"
#include "settings/settings_file.h"

namespace vesk {

namespace {

bool bringTo(Registry& r, const char* key, long long required) {
    auto v = r.getInt(key);
    if (!v || *v == required) return false;
    r.setInt(key, required);
    return r.getInt(key) == required;
}

}  // namespace

bool applyDriverSettings(Registry& r) {
    const bool link = bringTo(r, kRegLinkMode, kRequiredLinkMode);
    const bool dhcp = bringTo(r, kRegEnableDhcp, kRequiredDhcp);
    return link || dhcp;
}

std::string ethernetAddress(std::string_view prefix, int32_t serial) {
    const unsigned low = static_cast<uint32_t>(serial) & 0xFFFF;
    const unsigned swapped = ((low & 0xFF) << 8) | (low >> 8);
    char suffix[8];
    std::snprintf(suffix, sizeof suffix, "%0*x", 4, swapped);
    return std::string(prefix) + suffix;
}

void writeEthernetAddress(Registry& r, std::string_view prefix, int32_t serial) {
    r.set(kRegNetworkAddress, ethernetAddress(prefix, serial));
}

bool applyNetworkAccess(ControllerState& st, bool remote, bool local, Registry& r,
                        const std::string& userCfgPath) {
    {
        std::lock_guard<std::recursive_mutex> g(st.stateLock);
        st.usr.LAN_EN_REM = remote ? 1 : 0;
        st.usr.LAN_EN_LOC = local ? 1 : 0;
        saveUserSettings(userCfgPath, st.settings, st.variant, st.settingsFileLock);
    }
    return (remote || local) && applyDriverSettings(r);
}

PasswordDigits passwordDigits(int32_t password) {
    PasswordDigits d{};
    uint32_t v = static_cast<uint32_t>(password) % 1000000;
    for (int i = 5; i >= 0; --i, v /= 10) d[i] = static_cast<int>(v % 10);
    return d;
}

int32_t passwordFromDigits(const PasswordDigits& d) {
    int32_t v = 0;
    for (int digit : d) v = v * 10 + digit;
    return v;
}

int stepDigit(int digit, int delta) { return ((digit + delta) % 10 + 10) % 10; }

void storeNetworkPassword(ControllerState& st, int32_t password, const std::string& userCfgPath) {
    std::lock_guard<std::recursive_mutex> g(st.stateLock);
    st.usr.LAN_PWD = password;
    saveUserSettings(userCfgPath, st.settings, st.variant, st.settingsFileLock);
}

void resetNetworkAfterImport(Registry& r, Settings& s, Variant v) {
    writeEthernetAddress(r, variantInfo(v).macPrefix, s.svc.SERIAL);
    s.usr.LAN_EN_LOC = 0;
    s.usr.LAN_EN_REM = 0;
    s.usr.LAN_PWD = 0;
}

}  // namespace vesk
