// service.cfg and user.cfg: where they lie, reading them through the key
// tables and writing them whole.
#pragma once
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>

#include "core/variant.h"
#include "settings/params.h"

namespace vesk {

// home + "CFG/", created when missing; "" (bare file names) when it can be
// neither found nor created.
std::string settingsDir(const std::string& home);

// Feeds every line of a settings text to the family's key table.
void applyServiceText(std::string_view text, Settings& s);
void applyUserText(std::string_view text, Settings& s, Variant v);

// Factory service defaults, then the file, then the service normalisation.
// False when the file could not be read (the defaults stay).
bool loadServiceSettings(const std::string& path, Settings& s, Variant v);
// Full user defaults (installer group and network keys included), then the
// file, then the user normalisation. False when the file could not be read.
bool loadUserSettings(const std::string& path, Settings& s, Variant v, int32_t antiJamDay);

// Every key of the variant once, in its write order.
std::string formatUserFile(const Settings& s, Variant v);
// The service tool's key order.
std::string formatServiceFile(const Settings& s);

// Replace the file whole; false (file untouched) on any failure.
bool saveUserSettings(const std::string& path, const Settings& s, Variant v, std::mutex& settingsFileLock);
// Same, from the values in force under `stateLock`, which is not held
// while the file is written; the file lock is taken before it is let go,
// so a later snapshot is never overwritten by an earlier one.
bool saveUserSettingsSnapshot(const std::string& path, const Settings& s, Variant v, std::recursive_mutex& stateLock,
                              std::mutex& settingsFileLock);
bool saveServiceSettings(const std::string& path, const Settings& s);

}  // namespace vesk
