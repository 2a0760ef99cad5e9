// Test helpers for the QR code: a canvas that records what is painted, a
// greyscale image writer and the zbarimg decoder.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "net/qr/qr_draw.h"

namespace vesk::test {

struct QrRect {
    int x, y, w, h;
    bool dark;
};

class RecordingCanvas : public QrCanvas {
public:
    void fillRect(int x, int y, int w, int h, bool dark) override { rects.push_back({x, y, w, h, dark}); }
    std::vector<QrRect> rects;
};

// 8-bit grey image, 0 black, 255 white.
struct GreyImage {
    int width = 0, height = 0;
    std::vector<unsigned char> pixels;
    GreyImage(int w, int h) : width(w), height(h), pixels(static_cast<size_t>(w) * h, 255) {}
    unsigned char at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// The recorded rectangles on white, shifted so that their union sits
// `margin` pixels from every edge.
GreyImage rasterise(const std::vector<QrRect>& rects, int margin);
void writePgm(const std::string& path, const GreyImage& image);

// Whether zbarimg can be run here.
bool haveZbar();
// The text zbarimg reads from the image file, without the line end it
// appends; nothing when it finds no symbol.
std::optional<std::string> zbarDecode(const std::string& path);

}  // namespace vesk::test
