// The drawn symbol: placement on the screen, colours, nothing on failure,
// and zbarimg reading the exact text back from what was drawn.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "net/qr/qr_draw.h"
#include "net/qr/qr_encoder.h"
#include "net/qr/qr_test_image.h"
#include "net/qr/qr_text.h"
#include "support/test_support.h"

namespace vesk::test {
namespace {

constexpr size_t kRgbBytes = size_t{kQrScreenWidth} * kQrScreenHeight * 3;

// A byte text of exactly `n` bytes that is not all one character.
std::string byteText(size_t n) {
    std::string s;
    for (size_t i = 0; i < n; ++i) s += "vesk boiler, pairing\n"[i % 21];
    return s;
}

TEST(QrDraw, ScreenBufferGetsBlackAndWhiteInsideTheSymbolOnly) {
    const std::string text = std::string(buildQrText(0, 16, 42, 0).view());
    QrSymbol symbol;
    ASSERT_EQ(encodeQr(text, symbol), QrStatus::Ok);
    const int n = symbol.side();
    std::vector<uint8_t> rgb(kRgbBytes, 0x80);
    ASSERT_TRUE(renderQrRgb(text, rgb.data(), rgb.size()));
    const int left = 160 - 2 * n, top = 92 - 2 * n;
    for (int y = 0; y < kQrScreenHeight; ++y)
        for (int x = 0; x < kQrScreenWidth; ++x) {
            const uint8_t* p = &rgb[(static_cast<size_t>(y) * kQrScreenWidth + x) * 3];
            bool inside = x >= left && x < left + 4 * n && y >= top && y < top + 4 * n;
            uint8_t want = !inside ? 0x80 : symbol.isDark((x - left) / 4, (y - top) / 4) ? 0x00 : 0xFF;
            ASSERT_TRUE(p[0] == want && p[1] == want && p[2] == want) << x << ',' << y;
        }
}

TEST(QrDraw, LargeSymbolsAreClippedToTheScreen) {
    // Version 26 is 484 pixels wide: it overhangs every edge.
    std::vector<uint8_t> rgb(kRgbBytes + 64, 0x80);
    ASSERT_TRUE(renderQrRgb(byteText(751), rgb.data(), kRgbBytes));
    for (size_t i = kRgbBytes; i < rgb.size(); ++i) ASSERT_EQ(rgb[i], 0x80);
}

TEST(QrDraw, NothingIsDrawnWhenEncodingFails) {
    RecordingCanvas canvas;
    EXPECT_FALSE(drawQr(byteText(752), canvas));
    EXPECT_TRUE(canvas.rects.empty());
    std::vector<uint8_t> rgb(kRgbBytes, 0x80);
    EXPECT_FALSE(renderQrRgb(byteText(752), rgb.data(), rgb.size()));
    EXPECT_FALSE(renderQrRgb("A", rgb.data(), rgb.size() - 1));
    EXPECT_FALSE(renderQrRgb("A", nullptr, kRgbBytes));
    for (uint8_t b : rgb) ASSERT_EQ(b, 0x80);
}

class QrDecodeTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!haveZbar()) GTEST_SKIP() << "zbarimg is not installed";
    }
    // Draws the text through the drawing function and decodes the picture.
    std::optional<std::string> drawAndDecode(const std::string& text, int expectVersion = 0) {
        RecordingCanvas canvas;
        if (!drawQr(text, canvas)) return std::nullopt;
        if (expectVersion) {
            QrSymbol s;
            encodeQr(text, s);
            EXPECT_EQ(s.version(), expectVersion);
        }
        std::string path = dir.file("symbol.pgm");
        writePgm(path, rasterise(canvas.rects, 32));
        return zbarDecode(path);
    }
    TempDir dir;
};

TEST_F(QrDecodeTest, PanelTextsOfBothVariantsOnTheScreen) {
    const std::string texts[] = {
        std::string(buildQrText(2, 200, 1234, 123456).view()),   // ORVENA
        std::string(buildQrText(3, 25, 1, 0).view()),            // ORVENA
        std::string(buildQrText(0, 16, 7654321, 999999).view()), // KESTRALO
        std::string(buildQrText(4, 150, 42, 1).view()),          // KESTRALO
        std::string(buildQrText(9, -2147483647 - 1, -2147483647 - 1, -2147483647 - 1).view()),
    };
    for (const std::string& text : texts) {
        // The screen buffer as the panel shows it, on a white page so the
        // reader finds a quiet zone.
        std::vector<uint8_t> rgb(kRgbBytes, 0xFF);
        ASSERT_TRUE(renderQrRgb(text, rgb.data(), rgb.size()));
        GreyImage page(kQrScreenWidth + 64, kQrScreenHeight + 64);
        for (int y = 0; y < kQrScreenHeight; ++y)
            for (int x = 0; x < kQrScreenWidth; ++x)
                page.pixels[static_cast<size_t>(y + 32) * page.width + x + 32] =
                    rgb[(static_cast<size_t>(y) * kQrScreenWidth + x) * 3];
        writePgm(dir.file("screen.pgm"), page);
        EXPECT_EQ(zbarDecode(dir.file("screen.pgm")), text);
    }
}

TEST_F(QrDecodeTest, EachModeAlone) {
    EXPECT_EQ(drawAndDecode("01234567"), "01234567");
    EXPECT_EQ(drawAndDecode("HELLO WORLD $%*+-./:"), "HELLO WORLD $%*+-./:");
    EXPECT_EQ(drawAndDecode("pairing code"), "pairing code");
    std::string digits;
    for (int i = 0; i < 1500; ++i) digits += static_cast<char>('0' + (i * 7 + i / 10) % 10);
    EXPECT_EQ(drawAndDecode(digits), digits);
    std::string upper;
    for (int i = 0; i < 900; ++i) upper += "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ $%*+-./:"[(i * 11) % 45];
    EXPECT_EQ(drawAndDecode(upper), upper);
}

TEST_F(QrDecodeTest, MixedTextsAcrossVersions) {
    const int versions[] = {1, 2, 6, 7, 9, 10, 14, 20, 21, 26};
    // Byte capacities at level Q of the versions above.
    const size_t bytes[] = {11, 20, 74, 86, 130, 151, 258, 482, 509, 751};
    for (size_t i = 0; i < std::size(versions); ++i) {
        std::string text = byteText(bytes[i]);
        // Digits and capitals in the middle make the encoder switch modes.
        if (text.size() > 40) text.replace(10, 20, "12345678901234ABCDEF");
        EXPECT_EQ(drawAndDecode(text, versions[i]), text) << "version " << versions[i];
    }
}

}  // namespace
}  // namespace vesk::test
