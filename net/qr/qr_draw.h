// Drawing the pairing QR code on the 320x240 screen: 4x4 pixels a module,
// centred on (160, 92).
#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace vesk {

constexpr int kQrScreenWidth = 320;
constexpr int kQrScreenHeight = 240;
constexpr int kQrModulePixels = 4;
constexpr int kQrCentreX = 160;
constexpr int kQrCentreY = 92;

// Whatever paints the screen; net/ stays free of the UI toolkit.
class QrCanvas {
public:
    virtual ~QrCanvas() = default;
    // A rectangle in screen pixels, black when `dark`, else white. Large
    // symbols reach past the screen, so coordinates may lie outside it.
    virtual void fillRect(int x, int y, int w, int h, bool dark) = 0;
};

// Encodes `text` and paints every module, one rectangle per run of equal
// modules in a row; returns false and paints nothing when encoding fails.
bool drawQr(std::string_view text, QrCanvas& canvas);

// Screen top-left corner of a symbol with `modulesPerSide` modules.
inline int qrOriginX(int modulesPerSide) { return kQrCentreX - 2 * modulesPerSide; }
inline int qrOriginY(int modulesPerSide) { return kQrCentreY - 2 * modulesPerSide; }

// Paints into a 320x240 buffer of 3-byte RGB pixels, row by row, clipped to
// the buffer; the background is left as it is. False (and nothing painted)
// for a buffer shorter than 320 * 240 * 3 bytes or a failed encoding.
bool renderQrRgb(std::string_view text, uint8_t* rgb, size_t size);

}  // namespace vesk
