// Colours are GDI values 0x00BBGGRR; the framebuffer holds 0x00RRGGBB pixels.
#pragma once
#include <cstdint>

namespace vesk {

using Color = uint32_t;

constexpr Color kBlack = 0x000000;
constexpr Color kWhite = 0xFFFFFF;
constexpr Color kRed = 0x0000FF;

constexpr Color rgb(uint8_t r, uint8_t g, uint8_t b) { return Color(r) | Color(g) << 8 | Color(b) << 16; }
constexpr uint8_t redOf(Color c) { return c & 0xFF; }
constexpr uint8_t greenOf(Color c) { return (c >> 8) & 0xFF; }
constexpr uint8_t blueOf(Color c) { return (c >> 16) & 0xFF; }

// Between GDI colours and the framebuffer's XRGB pixel values.
constexpr uint32_t toPixel(Color c) { return uint32_t(redOf(c)) << 16 | uint32_t(greenOf(c)) << 8 | blueOf(c); }
constexpr Color fromPixel(uint32_t p) { return rgb((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF); }

}  // namespace vesk
