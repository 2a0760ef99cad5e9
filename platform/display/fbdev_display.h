// The embedded-panel backend: the Linux framebuffer for output and an
// evdev touch screen for the pen.
#pragma once
#include <memory>
#include <string>

#include "platform/display/display.h"

namespace vesk {

// Null when the framebuffer cannot be opened, mapped or has a pixel format
// that is not handled; `why` then says so. `touchPath` empty: VESK_TOUCH,
// else the first /dev/input/event* with ABS_X, ABS_Y and BTN_TOUCH. No touch
// device is not an error: the screen then only shows.
std::unique_ptr<Display> openFbdevDisplay(const std::string& fbPath, const std::string& touchPath,
                                          std::string& why);

}  // namespace vesk
