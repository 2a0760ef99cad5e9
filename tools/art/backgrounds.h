// The three full-screen backgrounds: home, list menu, editor and message.
#pragma once
#include "tools/art/raster.h"

namespace vesk::art {

Surface homeBackground();
Surface menuBackground();
Surface editorBackground();

}  // namespace vesk::art
