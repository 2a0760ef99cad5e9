// XRGB8888 to framebuffer pixel conversion, with centring and clipping.
#include "platform/display/fb_layout.h"

#include <algorithm>
#include <cstring>

namespace vesk {

namespace {

bool channelOk(const FbChannel& c, int bpp) {
    return c.length >= 1 && c.length <= 8 && c.offset >= 0 && c.offset + c.length <= bpp;
}

bool isNativeXrgb(const FbLayout& fb) {
    return fb.bitsPerPixel == 32 && fb.red.offset == 16 && fb.red.length == 8 &&
           fb.green.offset == 8 && fb.green.length == 8 && fb.blue.offset == 0 &&
           fb.blue.length == 8;
}

uint32_t pack(uint32_t xrgb, const FbLayout& fb) {
    auto channel = [](uint32_t v8, const FbChannel& c) { return (v8 >> (8 - c.length)) << c.offset; };
    return channel((xrgb >> 16) & 0xFF, fb.red) | channel((xrgb >> 8) & 0xFF, fb.green) |
           channel(xrgb & 0xFF, fb.blue);
}

}  // namespace

bool FbLayout::supported() const {
    if (width <= 0 || height <= 0) return false;
    if (bitsPerPixel != 16 && bitsPerPixel != 24 && bitsPerPixel != 32) return false;
    if (lineLength < width * (bitsPerPixel / 8)) return false;
    return channelOk(red, bitsPerPixel) && channelOk(green, bitsPerPixel) &&
           channelOk(blue, bitsPerPixel);
}

void copyToFramebuffer(const uint32_t* src, const ScreenRect& changed, const FbLayout& fb,
                       uint8_t* dst) {
    const int ox = fb.originX(), oy = fb.originY();
    const int left = std::max(changed.left, 0);
    const int top = std::max(changed.top, 0);
    const int right = std::min({changed.right, kScreenWidth, fb.width - ox});
    const int bottom = std::min({changed.bottom, kScreenHeight, fb.height - oy});
    if (right <= left || bottom <= top) return;
    const int bytes = fb.bitsPerPixel / 8;
    const bool native = isNativeXrgb(fb);
    for (int y = top; y < bottom; ++y) {
        const uint32_t* s = src + size_t(y) * kScreenWidth + left;
        uint8_t* d = dst + size_t(y + oy) * fb.lineLength + size_t(left + ox) * bytes;
        if (native) {
            std::memcpy(d, s, size_t(right - left) * 4);
            continue;
        }
        for (int x = left; x < right; ++x, ++s, d += bytes) {
            uint32_t v = pack(*s, fb);
            // Device memory is in host byte order; go byte-wise for 24 bpp.
            if (bytes == 4) {
                std::memcpy(d, &v, 4);
            } else if (bytes == 2) {
                uint16_t h = uint16_t(v);
                std::memcpy(d, &h, 2);
            } else {
                d[0] = uint8_t(v);
                d[1] = uint8_t(v >> 8);
                d[2] = uint8_t(v >> 16);
            }
        }
    }
}

}  // namespace vesk
