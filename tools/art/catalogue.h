// Every numbered picture of the panel: its size, how it is keyed, how it is drawn.
#pragma once
#include <functional>
#include <vector>

#include "core/variant.h"
#include "tools/art/raster.h"

namespace vesk::art {

enum class Keying {
    Own,    // keyed on its own top-left pixel
    Opaque,
    Fixed,  // keyed on kKey whatever its top-left pixel
};

struct PictureSpec {
    int number;
    int w, h;
    Keying keying;
    bool perVariant;  // drawn differently for each variant
    std::function<Surface(Variant)> draw;
};

const std::vector<PictureSpec>& pictures();
constexpr int kAppIcon = 101;

}  // namespace vesk::art
