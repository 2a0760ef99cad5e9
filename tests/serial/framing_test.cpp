#include <gtest/gtest.h>

#include <numeric>

#include "serial/framing.h"

namespace vesk {
namespace {

std::vector<std::vector<uint8_t>> decodeAll(FrameDecoder& d, const std::vector<uint8_t>& wire) {
    std::vector<std::vector<uint8_t>> out;
    for (uint8_t b : wire)
        if (auto f = d.feed(b)) out.push_back(*f);
    return out;
}

TEST(Framing, EveryByteValueRoundTrips) {
    std::vector<uint8_t> payload(256);
    std::iota(payload.begin(), payload.end(), 0);
    // Split into frames that fit the receive limit.
    for (size_t start = 0; start < payload.size(); start += 60) {
        std::vector<uint8_t> part(payload.begin() + start,
                                  payload.begin() + std::min(payload.size(), start + 60));
        auto wire = encodeFrame(part);
        EXPECT_LE(wire.size(), 2 * part.size() + 6);
        FrameDecoder d;
        auto frames = decodeAll(d, wire);
        ASSERT_EQ(frames.size(), 1u);
        EXPECT_EQ(frames[0], part);
    }
}

TEST(Framing, EscapesEndAndEscInPayloadAndCheck) {
    // 0xC0 in the payload, and a check byte of 0xDB.
    std::vector<uint8_t> p{0xC0, 0x1B};
    auto wire = encodeFrame(p);
    std::vector<uint8_t> want{0xC0, 0xC0, 0xDB, 0xDC, 0x1B, 0xDB, 0xDD, 0xC0, 0xC0};
    EXPECT_EQ(wire, want);
}

TEST(Framing, StreamSplitAtEveryPositionDecodesSameFrames) {
    std::vector<uint8_t> a{0x15, 0x22, 0xC0, 0xDB, 0x00, 0xFF};
    std::vector<uint8_t> b{0x00, 0x10, 0x7F};
    auto wire = encodeFrame(a);
    auto wb = encodeFrame(b);
    wire.insert(wire.end(), wb.begin(), wb.end());
    for (size_t cut = 0; cut <= wire.size(); ++cut) {
        FrameDecoder d;
        std::vector<uint8_t> first(wire.begin(), wire.begin() + cut);
        std::vector<uint8_t> second(wire.begin() + cut, wire.end());
        auto f1 = decodeAll(d, first);
        auto f2 = decodeAll(d, second);
        f1.insert(f1.end(), f2.begin(), f2.end());
        ASSERT_EQ(f1.size(), 2u) << "cut " << cut;
        EXPECT_EQ(f1[0], a);
        EXPECT_EQ(f1[1], b);
    }
}

TEST(Framing, BadFramesAreDroppedAndDecoderRecovers) {
    FrameDecoder d;
    std::vector<uint8_t> good{1, 2, 3};
    // Wrong check byte.
    std::vector<uint8_t> badCheck{0xC0, 0xC0, 1, 2, 3, 7, 0xC0, 0xC0};
    EXPECT_TRUE(decodeAll(d, badCheck).empty());
    // Bad escape.
    std::vector<uint8_t> badEsc{0xC0, 0xC0, 1, 0xDB, 0x01, 2, 0xC0, 0xC0};
    EXPECT_TRUE(decodeAll(d, badEsc).empty());
    // Overlong: 69 stored bytes.
    std::vector<uint8_t> longPayload(68, 0x01);
    EXPECT_TRUE(decodeAll(d, encodeFrame(longPayload)).empty());
    // 68 stored bytes (67 payload + check) is still fine.
    std::vector<uint8_t> maxPayload(67, 0x01);
    auto ok = decodeAll(d, encodeFrame(maxPayload));
    ASSERT_EQ(ok.size(), 1u);
    // Garbage outside a frame is ignored.
    std::vector<uint8_t> noise{0x55, 0xDB, 0xAA};
    EXPECT_TRUE(decodeAll(d, noise).empty());
    auto frames = decodeAll(d, encodeFrame(good));
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0], good);
}

TEST(Framing, ResetDropsPartialFrame) {
    FrameDecoder d;
    std::vector<uint8_t> partial{0xC0, 0xC0, 1, 2};
    decodeAll(d, partial);
    EXPECT_TRUE(d.inFrame());
    d.reset();
    // The rest of the old frame is noise now; its end opens an empty frame.
    std::vector<uint8_t> rest{3, 6, 0xC0};
    EXPECT_TRUE(decodeAll(d, rest).empty());
}

}  // namespace
}  // namespace vesk
