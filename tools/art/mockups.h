// Mock-up screens composed from the generated files at the layouts' positions,
// with sample captions, to judge the artwork as the panel will show it.
#pragma once
#include <cairo.h>

#include <functional>
#include <string>
#include <vector>

#include "tools/art/gallery.h"

namespace vesk::art {

struct MockScreen {
    std::string name;
    std::function<void(cairo_t*, const Gallery&)> draw;  // a 320 x 240 screen at the origin
};

std::vector<MockScreen> mockScreens();

}  // namespace vesk::art
