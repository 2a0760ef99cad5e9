// Saving the user settings from a screen.
#include "ui/screens/screen_context.h"

#include <mutex>

#include "settings/settings_file.h"

namespace vesk {

void ScreenContext::saveUserSettings() const {
    ControllerState& s = state();
    std::lock_guard<std::recursive_mutex> g(s.stateLock);
    vesk::saveUserSettings(settingsDir + "user.cfg", s.settings, s.variant, s.settingsFileLock);
}

}  // namespace vesk
