// Screens own their children.
#include "ui/toolkit/screen.h"

namespace vesk {

Screen::Screen(AppFrame* frame, int x, int y, int width, int height) : Widget(frame, x, y, width, height) {}

Screen::~Screen() { deleteAllChildren(); }

}  // namespace vesk
