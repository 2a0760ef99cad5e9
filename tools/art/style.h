// Colours and measures of the panel's one look, shared by every drawing.
#pragma once
#include <cstdint>

namespace vesk::art {

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
    constexpr uint32_t packed() const { return (uint32_t(r) << 16) | (uint32_t(g) << 8) | b; }
    static constexpr Rgb fromPacked(uint32_t v) {
        return {uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)};
    }
    friend constexpr bool operator==(Rgb a, Rgb b) { return a.packed() == b.packed(); }
};

constexpr Rgb hex(uint32_t v) { return Rgb::fromPacked(v); }

// Every keyed picture is transparent where it holds exactly this colour, so
// no visible pixel anywhere may carry it.
constexpr Rgb kKey = hex(0xFF00FF);

// The light page field of the home, menu and editor backgrounds: keyed
// pictures smooth their outer edge against it.
constexpr Rgb kField = hex(0xE8EEF4);
constexpr Rgb kTitleBand = hex(0xCCDDEE);
constexpr Rgb kRule = hex(0xB8C7D6);

constexpr Rgb kNavy = hex(0x1B365D);
constexpr Rgb kNavyDeep = hex(0x0E213D);
constexpr Rgb kNavyLight = hex(0x2C5080);
constexpr Rgb kBlue = hex(0x007CC3);       // the blue captions' colour
constexpr Rgb kBlueDeep = hex(0x005A94);
constexpr Rgb kSky = hex(0x5BB4E8);
constexpr Rgb kWhite = hex(0xFFFFFF);
constexpr Rgb kLightFace = hex(0xF6F9FC);
constexpr Rgb kLightFaceLow = hex(0xDDE6EF);
constexpr Rgb kLightBorder = hex(0x7F99B5);
constexpr Rgb kPlateBorder = hex(0xA3B5C8);
constexpr Rgb kGrey = hex(0x9AA4AF);
constexpr Rgb kGreyDark = hex(0x6B7580);
constexpr Rgb kGreyLight = hex(0xC9D0D8);
constexpr Rgb kAmber = hex(0xE0900E);
constexpr Rgb kAmberDeep = hex(0xB86A00);
constexpr Rgb kRed = hex(0xD32F2F);
constexpr Rgb kRedDeep = hex(0x9E1515);
constexpr Rgb kGreen = hex(0x4CC15C);
constexpr Rgb kFlame = hex(0xFF8A1C);
constexpr Rgb kFlameCore = hex(0xFFD84A);

}  // namespace vesk::art
