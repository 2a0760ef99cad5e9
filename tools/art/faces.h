// Buttons, tabs, plates, value fields, arrows and check boxes.
#pragma once
#include "tools/art/draw.h"
#include "tools/art/raster.h"

namespace vesk::art {

enum class Arrow { Up, Down, Left, Right };

// A plain rounded face; captions are drawn by the widgets, not baked in.
Surface buttonFace(int w, int h, double rTop, double rBottom, Face face);
// The same with colours of its own.
Surface buttonFace(int w, int h, double r, const FaceColours& colours);
// Value field: caption on the face at the left, white value box at
// (w-47 .. w-6, 6 .. 30), which the widget copies back opaquely.
Surface valueField(int w, int h, bool selected);
// Caption-and-value row plate with its value box at (w-46 .. w-4, 4 .. h-4).
Surface valueRowPlate(int w, int h);
// A face carrying a solid arrow; pressed faces are blue with a white arrow.
Surface arrowButton(int w, int h, Arrow dir, bool pressed, double arrowW, double arrowH);
Surface checkBox(bool ticked);

}  // namespace vesk::art
