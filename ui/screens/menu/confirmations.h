// The reset confirmations of the user and installer menus.
#pragma once
#include "ui/screens/screen_context.h"

namespace vesk {

class AppFrame;

// "ВЫ ДЕЙСТВИТЕЛЬНО ХОТИТЕ СБРОСИТЬ ВСЕ НАСТРОЙКИ НА ЗАВОДСКИЕ?": "ОК" puts
// the user settings (not the installer's, the network keys or the service
// parameters) back to their defaults, saves user.cfg and applies the
// backlight level and idle dimming at once.
void confirmFactoryReset(AppFrame& frame, ScreenContext& ctx);
// "... НАСТРОЙКИ МОНТАЖНИКА ...": "ОК" puts the installer settings back to
// their defaults and saves user.cfg.
void confirmInstallerReset(AppFrame& frame, ScreenContext& ctx);

}  // namespace vesk
