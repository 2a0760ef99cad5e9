// Turning the module matrix into screen rectangles.
#include "net/qr/qr_draw.h"

#include <algorithm>
#include <cstring>

#include "net/qr/qr_encoder.h"

namespace vesk {

namespace {

class RgbCanvas : public QrCanvas {
public:
    explicit RgbCanvas(uint8_t* rgb) : rgb_(rgb) {}
    void fillRect(int x, int y, int w, int h, bool dark) override {
        const int x0 = std::max(x, 0), x1 = std::min(x + w, kQrScreenWidth);
        const int y0 = std::max(y, 0), y1 = std::min(y + h, kQrScreenHeight);
        if (x0 >= x1) return;
        for (int row = y0; row < y1; ++row)
            std::memset(rgb_ + (static_cast<size_t>(row) * kQrScreenWidth + x0) * 3, dark ? 0x00 : 0xFF,
                        static_cast<size_t>(x1 - x0) * 3);
    }

private:
    uint8_t* rgb_;
};

}  // namespace

bool drawQr(std::string_view text, QrCanvas& canvas) {
    QrSymbol symbol;
    if (encodeQr(text, symbol) != QrStatus::Ok) return false;
    const int n = symbol.side();
    const int left = qrOriginX(n), top = qrOriginY(n);
    for (int y = 0; y < n; ++y) {
        int start = 0;
        for (int x = 1; x <= n; ++x) {
            if (x < n && symbol.isDark(x, y) == symbol.isDark(start, y)) continue;
            canvas.fillRect(left + start * kQrModulePixels, top + y * kQrModulePixels,
                            (x - start) * kQrModulePixels, kQrModulePixels, symbol.isDark(start, y));
            start = x;
        }
    }
    return true;
}

bool renderQrRgb(std::string_view text, uint8_t* rgb, size_t size) {
    if (!rgb || size < static_cast<size_t>(kQrScreenWidth) * kQrScreenHeight * 3) return false;
    RgbCanvas canvas(rgb);
    return drawQr(text, canvas);
}

}  // namespace vesk
