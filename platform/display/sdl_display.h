// The desktop backend: an SDL window standing in for the panel's screen,
// the left mouse button as the pen. Use it only from the thread that made it.
#pragma once
#include <memory>

#include "platform/display/display.h"

namespace vesk {

// Null when SDL video cannot start or the window cannot be made; `why`
// then says what failed. `scale` < 1 means: from VESK_SDL_SCALE, default 2.
std::unique_ptr<Display> openSdlDisplay(std::string& why, int scale = 0);

}  // namespace vesk
