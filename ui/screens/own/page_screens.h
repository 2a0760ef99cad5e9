// Screens built as pages of big buttons: the settings copy to and from the
// SD card ("КОНФИГУРАЦИЯ", holding its key stream while open) and the fuel
// counter reset of ORVENA.
#pragma once
#include "ui/screens/screen_context.h"

namespace vesk {

class AppFrame;
class Widget;

Widget* makeSettingsCopyScreen(AppFrame& frame, ScreenContext& ctx);
Widget* makeFuelResetScreen(AppFrame& frame, ScreenContext& ctx);

}  // namespace vesk
