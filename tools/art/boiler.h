// The boiler picture per variant, the temperature panel and their small parts.
#pragma once
#include "core/variant.h"
#include "tools/art/raster.h"

namespace vesk::art {

struct Box {
    int x, y, w, h;
};

// Where the boiler picture's children sit, relative to the picture.
struct BoilerLayout {
    Box fire, label, plate, fan, auger;
    bool augerKeyed;
};
constexpr Box kFuelWindow{39, 121, 36, 14};
constexpr int kBoilerW = 184, kBoilerH = 176;
constexpr int kBoilerMargin = 10;  // columns left free for a label reaching in

BoilerLayout boilerLayout(Variant v);
Surface boilerPicture(Variant v);
Surface temperaturePanel();
Surface fluePlate();
// The power bar, keyed on the fixed key: top and bottom outline, fill across
// every column, corner pixels keyed.
Surface powerBar(bool full);

}  // namespace vesk::art
