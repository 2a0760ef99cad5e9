// Pixel layout of a Linux framebuffer and the copy of the panel's XRGB8888
// frame into it: kept apart from the device so it can be checked in memory.
#pragma once
#include <cstdint>

#include "platform/display/display.h"

namespace vesk {

struct FbChannel {
    int offset = 0;  // bit position of the channel's lowest bit
    int length = 8;  // bits
};

struct FbLayout {
    int width = 0;           // visible pixels
    int height = 0;
    int bitsPerPixel = 32;   // 16, 24 or 32
    int lineLength = 0;      // bytes per row
    FbChannel red{16, 8}, green{8, 8}, blue{0, 8};

    // Where the panel's top-left pixel lands: centred on a larger screen,
    // at the corner (clipped right and bottom) on a smaller one.
    int originX() const { return width > kScreenWidth ? (width - kScreenWidth) / 2 : 0; }
    int originY() const { return height > kScreenHeight ? (height - kScreenHeight) / 2 : 0; }
    bool supported() const;
};

// Copies `changed` of the 320x240 frame `src` into the device memory `dst`
// (the first visible byte), converting to the device's pixel format.
void copyToFramebuffer(const uint32_t* src, const ScreenRect& changed, const FbLayout& fb,
                       uint8_t* dst);

}  // namespace vesk
