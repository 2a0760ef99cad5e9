// Framebuffer pixel conversion and placement, and the evdev touch decoding
// of the fbdev backend, checked in memory.
#include <gtest/gtest.h>
#include <linux/input.h>

#include <cstring>

#include "platform/display/fb_layout.h"
#include "platform/display/touch_decoder.h"

namespace vesk {
namespace {

std::vector<uint32_t> frame(uint32_t fill) {
    return std::vector<uint32_t>(size_t(kScreenWidth) * kScreenHeight, fill);
}

const ScreenRect kAll{0, 0, kScreenWidth, kScreenHeight};

template <typename T>
T at(const std::vector<uint8_t>& mem, const FbLayout& fb, int x, int y) {
    T v;
    std::memcpy(&v, mem.data() + size_t(y) * fb.lineLength + size_t(x) * sizeof(T), sizeof(T));
    return v;
}

TEST(FbLayout, Rgb565PacksTheTopBitsOfEachChannel) {
    FbLayout fb{kScreenWidth, kScreenHeight, 16, kScreenWidth * 2, {11, 5}, {5, 6}, {0, 5}};
    ASSERT_TRUE(fb.supported());
    std::vector<uint8_t> mem(size_t(fb.lineLength) * fb.height, 0);
    auto src = frame(0);
    src[0] = 0x00FFFFFF;
    src[1] = 0x00FF0000;
    src[2] = 0x0000FF00;
    src[3] = 0x000000FF;
    src[4] = 0x00808080;
    src[5] = 0xFF000000;  // the X byte is not a colour
    copyToFramebuffer(src.data(), kAll, fb, mem.data());
    EXPECT_EQ(at<uint16_t>(mem, fb, 0, 0), 0xFFFF);
    EXPECT_EQ(at<uint16_t>(mem, fb, 1, 0), 0xF800);
    EXPECT_EQ(at<uint16_t>(mem, fb, 2, 0), 0x07E0);
    EXPECT_EQ(at<uint16_t>(mem, fb, 3, 0), 0x001F);
    EXPECT_EQ(at<uint16_t>(mem, fb, 4, 0), (0x10 << 11) | (0x20 << 5) | 0x10);
    EXPECT_EQ(at<uint16_t>(mem, fb, 5, 0), 0);
}

TEST(FbLayout, ThirtyTwoAndTwentyFourBits) {
    auto src = frame(0x00123456);
    FbLayout xbgr{kScreenWidth, kScreenHeight, 32, kScreenWidth * 4 + 64, {0, 8}, {8, 8}, {16, 8}};
    std::vector<uint8_t> mem(size_t(xbgr.lineLength) * xbgr.height, 0);  // padded rows
    copyToFramebuffer(src.data(), kAll, xbgr, mem.data());
    EXPECT_EQ(at<uint32_t>(mem, xbgr, 319, 239), 0x563412u);

    FbLayout rgb24{kScreenWidth, kScreenHeight, 24, kScreenWidth * 3};
    std::vector<uint8_t> mem24(size_t(rgb24.lineLength) * rgb24.height, 0xEE);
    copyToFramebuffer(src.data(), {1, 0, 2, 1}, rgb24, mem24.data());
    EXPECT_EQ(mem24[3], 0x56);
    EXPECT_EQ(mem24[4], 0x34);
    EXPECT_EQ(mem24[5], 0x12);
    EXPECT_EQ(mem24[2], 0xEE);  // outside the changed rectangle
    EXPECT_EQ(mem24[6], 0xEE);
}

TEST(FbLayout, LargerScreenCentresSmallerClips) {
    FbLayout big{480, 272, 32, 480 * 4};
    EXPECT_EQ(big.originX(), 80);
    EXPECT_EQ(big.originY(), 16);
    std::vector<uint8_t> mem(size_t(big.lineLength) * big.height, 0);
    auto src = frame(0x00FFFFFF);
    copyToFramebuffer(src.data(), kAll, big, mem.data());
    EXPECT_EQ(at<uint32_t>(mem, big, 79, 16), 0u);
    EXPECT_EQ(at<uint32_t>(mem, big, 80, 16), 0x00FFFFFFu);
    EXPECT_EQ(at<uint32_t>(mem, big, 399, 255), 0x00FFFFFFu);
    EXPECT_EQ(at<uint32_t>(mem, big, 400, 255), 0u);
    EXPECT_EQ(at<uint32_t>(mem, big, 200, 256), 0u);

    FbLayout small{240, 160, 16, 240 * 2, {11, 5}, {5, 6}, {0, 5}};
    EXPECT_EQ(small.originX(), 0);
    std::vector<uint8_t> exact(size_t(small.lineLength) * small.height, 0);
    copyToFramebuffer(src.data(), kAll, small, exact.data());  // no write past the end
    EXPECT_EQ(at<uint16_t>(exact, small, 239, 159), 0xFFFF);
    // A change entirely beyond the small screen touches nothing.
    std::fill(exact.begin(), exact.end(), 0);
    copyToFramebuffer(src.data(), {250, 170, 320, 240}, small, exact.data());
    EXPECT_EQ(std::count(exact.begin(), exact.end(), 0), long(exact.size()));
}

// Feeds one report: position, touch state, SYN_REPORT.
std::vector<PenEvent> report(TouchDecoder& d, int x, int y, int touch = -1) {
    std::vector<PenEvent> out;
    d.feed(EV_ABS, ABS_X, x, out);
    d.feed(EV_ABS, ABS_Y, y, out);
    if (touch >= 0) d.feed(EV_KEY, BTN_TOUCH, touch, out);
    d.feed(EV_SYN, SYN_REPORT, 0, out);
    return out;
}

TEST(TouchDecoder, DownMoveUpScaledToThePanel) {
    TouchDecoder d({0, 4095, 0, 4095}, kScreenWidth, kScreenHeight);
    auto ev = report(d, 0, 0, 1);
    ASSERT_EQ(ev.size(), 1u);
    EXPECT_EQ(ev[0].kind, PenEvent::Kind::Down);
    EXPECT_EQ(ev[0].x, 0);
    EXPECT_EQ(ev[0].y, 0);
    ev = report(d, 4095, 4095);
    ASSERT_EQ(ev.size(), 1u);
    EXPECT_EQ(ev[0].kind, PenEvent::Kind::Move);
    EXPECT_EQ(ev[0].x, 319);
    EXPECT_EQ(ev[0].y, 239);
    EXPECT_TRUE(report(d, 4094, 4094).empty());  // same pixel
    ev = report(d, 2048, 2048, 0);
    ASSERT_EQ(ev.size(), 1u);
    EXPECT_EQ(ev[0].kind, PenEvent::Kind::Up);
    EXPECT_EQ(ev[0].x, 160);
    EXPECT_TRUE(report(d, 100, 100).empty());  // hovering reports no pen
}

TEST(TouchDecoder, MirroredAndOffsetRangesAndCentredPanel) {
    // X runs right to left; Y starts at 200; the screen is 480x272 with the
    // panel centred at (80, 16).
    TouchDecoder d({1000, 0, 200, 3800}, 480, 272, 80, 16);
    auto ev = report(d, 1000, 200, 1);  // the screen's top-left corner: off the panel
    ASSERT_EQ(ev.size(), 1u);
    EXPECT_EQ(ev[0].x, 0);
    EXPECT_EQ(ev[0].y, 0);
    ev = report(d, 500, 2000);  // the middle of the screen is the middle of the panel
    ASSERT_EQ(ev.size(), 1u);
    EXPECT_NEAR(ev[0].x, 160, 1);
    EXPECT_NEAR(ev[0].y, 120, 1);
    ev = report(d, -50, 9000);  // beyond the calibrated range
    EXPECT_EQ(ev[0].x, 319);
    EXPECT_EQ(ev[0].y, 239);
}

TEST(TouchDecoder, DroppedEventsWaitForAResync) {
    TouchDecoder d({0, 319, 0, 239}, kScreenWidth, kScreenHeight);
    report(d, 10, 10, 1);
    std::vector<PenEvent> out;
    d.feed(EV_SYN, SYN_DROPPED, 0, out);
    EXPECT_TRUE(d.needsResync());
    // The release was lost; what still trickles in is not trusted.
    EXPECT_TRUE(report(d, 50, 50).empty());
    d.resync(false, 60, 70, out);
    EXPECT_FALSE(d.needsResync());
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0].kind, PenEvent::Kind::Up);
    EXPECT_EQ(out[0].x, 60);
    EXPECT_EQ(report(d, 5, 5, 1).at(0).kind, PenEvent::Kind::Down);
}

}  // namespace
}  // namespace vesk
