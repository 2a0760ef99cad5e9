// Reading and writing service.cfg and user.cfg.
#include "settings/settings_file.h"


#include "platform/atomic_file.h"
#include "platform/files.h"
#include "settings/line_parser.h"
#include "settings/service_table.h"
#include "settings/user_table.h"

namespace vesk {
namespace {

void appendLine(std::string& out, std::string_view key, const int32_t* values, int count) {
    out.append(key);
    out.push_back('=');
    for (int i = 0; i < count; ++i) {
        out.append(std::to_string(values[i]));
        out.push_back(i + 1 < count ? ',' : '\n');
    }
}

template <typename Apply>
void forEachSetting(std::string_view text, Apply apply) {
    for (std::string_view line : splitLines(text)) {
        SettingsLine parsed;
        if (parseSettingsLine(line, parsed)) apply(parsed);
    }
}

}  // namespace

std::string settingsDir(const std::string& home) {
    std::string dir = home;
    if (!dir.empty() && dir.back() != '/') dir.push_back('/');
    dir += "CFG/";
    return ensureDirectory(dir) ? dir : "";
}

void applyServiceText(std::string_view text, Settings& s) {
    forEachSetting(text, [&](const SettingsLine& l) { applyServiceValue(s, l.key, l.values, l.count); });
}

void applyUserText(std::string_view text, Settings& s, Variant v) {
    forEachSetting(text, [&](const SettingsLine& l) { applyUserValue(s, v, l.key, l.values, l.count); });
}

bool loadServiceSettings(const std::string& path, Settings& s, Variant v) {
    serviceDefaults(s, v, true);
    std::string text;
    if (!readWholeFile(path, text)) return false;
    applyServiceText(text, s);
    normaliseService(s);
    return true;
}

bool loadUserSettings(const std::string& path, Settings& s, Variant v, int32_t antiJamDay) {
    userDefaults(s, v, false, antiJamDay);
    std::string text;
    if (!readWholeFile(path, text)) return false;
    applyUserText(text, s, v);
    normaliseUser(s);
    return true;
}

std::string formatUserFile(const Settings& s, Variant v) {
    std::string out;
    int32_t values[kFuelCount];
    for (const UserKey& k : userKeys()) {
        if (!k.in(v)) continue;
        const int n = k.field.count();
        for (int i = 0; i < n; ++i) values[i] = k.field.get(s.usr, i);
        appendLine(out, k.key, values, n);
    }
    return out;
}

std::string formatServiceFile(const Settings& s) {
    std::string out;
    int32_t values[kFuelCount];
    for (const ServiceKey& k : serviceKeys()) {
        const int n = k.field.count();
        for (int i = 0; i < n; ++i) values[i] = k.field.get(s.svc, i);
        appendLine(out, k.key, values, n);
    }
    return out;
}

bool saveUserSettings(const std::string& path, const Settings& s, Variant v, std::mutex& settingsFileLock) {
    const std::string text = formatUserFile(s, v);
    std::lock_guard<std::mutex> g(settingsFileLock);
    return writeFileAtomically(path, text);
}

bool saveUserSettingsSnapshot(const std::string& path, const Settings& s, Variant v, std::recursive_mutex& stateLock,
                              std::mutex& settingsFileLock) {
    std::unique_lock<std::recursive_mutex> state(stateLock);
    const std::string text = formatUserFile(s, v);
    std::lock_guard<std::mutex> g(settingsFileLock);
    state.unlock();
    return writeFileAtomically(path, text);
}

bool saveServiceSettings(const std::string& path, const Settings& s) {
    return writeFileAtomically(path, formatServiceFile(s));
}

}  // namespace vesk
