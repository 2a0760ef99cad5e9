// One read of the module's line decoded on its own.
#include <gtest/gtest.h>

#include "net/expansion_frame.h"
#include "serial/framing.h"

namespace vesk {
namespace {

using Bytes = std::vector<uint8_t>;

std::optional<Bytes> decode(const Bytes& chunk) { return decodeModuleChunk(chunk.data(), chunk.size()); }

Bytes join(const Bytes& a, const Bytes& b) {
    Bytes out = a;
    out.insert(out.end(), b.begin(), b.end());
    return out;
}

TEST(ModuleChunk, PayloadWithFrameBytesRoundTrips) {
    const Bytes message{103, 0xC0, 0xDB, 0x00, 0xDC, 0xDD, 0xC0, 0xC0, 0xDB};
    const Bytes wire = encodeFrame(message);
    EXPECT_EQ(decode(wire), message);
    // The check byte may itself need stuffing.
    const Bytes checkIsEnd{0x60, 0x60};
    ASSERT_EQ(frameCheck(checkIsEnd.data(), 2), 0xC0);
    EXPECT_EQ(decode(encodeFrame(checkIsEnd)), checkIsEnd);
}

TEST(ModuleChunk, OnlyTheFirstFrameOfARead) {
    const Bytes first = encodeFrame(Bytes{1});
    const Bytes second = encodeFrame(Bytes{4});
    EXPECT_EQ(decode(join(first, second)), Bytes{1});
    // A single opening 0xC0 and a single closing one are enough.
    EXPECT_EQ(decode(Bytes{0xC0, 8, 90, 98, 0xC0, 0xC0, 7, 7, 0xC0}), (Bytes{8, 90}));
}

TEST(ModuleChunk, NothingIsCarriedToTheNextRead) {
    const Bytes wire = encodeFrame(Bytes{3});
    for (size_t cut = 1; cut < wire.size(); ++cut) {
        Bytes head(wire.begin(), wire.begin() + static_cast<long>(cut));
        Bytes tail(wire.begin() + static_cast<long>(cut), wire.end());
        // One 0xC0 on each side is all a frame needs.
        EXPECT_EQ(decode(head).has_value(), cut == wire.size() - 1) << "cut " << cut;
        EXPECT_EQ(decode(tail).has_value(), cut == 1) << "cut " << cut;
    }
}

TEST(ModuleChunk, BadChecksOrEscapesGiveNothing) {
    EXPECT_FALSE(decode(Bytes{0xC0, 0xC0, 1, 2, 0xC0, 0xC0}));       // check should be 1
    EXPECT_FALSE(decode(Bytes{0xC0, 0xC0, 1, 0xDB, 0x41, 1, 0xC0}));  // escape of a plain byte
    EXPECT_FALSE(decode(Bytes{0xC0, 0xC0, 1, 0xDB, 0xDB, 0xDD, 0xC0}));
    // An empty message has no code, even with a right check byte.
    EXPECT_FALSE(decode(Bytes{0xC0, 0xC0, 0, 0xC0, 0xC0}));
    EXPECT_FALSE(decode(Bytes{0xC0, 0xC0, 0xC0, 0xC0}));
}

TEST(ModuleChunk, ASpoiltFrameLetsALaterOneThrough) {
    // The bad escape drops the first frame before it completes; the walk
    // goes on and the second frame is the first complete one.
    const Bytes spoilt{0xC0, 0xC0, 5, 0xDB, 0x00};
    EXPECT_EQ(decode(join(spoilt, encodeFrame(Bytes{6}))), Bytes{6});
    // A byte outside a frame is noise.
    EXPECT_EQ(decode(join(Bytes{0x55, 0xDB, 0xDD}, encodeFrame(Bytes{7}))), Bytes{7});
}

TEST(ModuleChunk, ReadLengthLimits) {
    EXPECT_FALSE(decodeModuleChunk(nullptr, 0));
    Bytes message(125, 0x11);
    Bytes wire = encodeFrame(message);
    ASSERT_LE(wire.size(), kModuleChunkMax);
    wire.resize(kModuleChunkMax, 0xC0);  // trailing 0xC0s fill the read to 256
    EXPECT_EQ(decode(wire), message);
    wire.push_back(0xC0);
    EXPECT_FALSE(decode(wire));
}

}  // namespace
}  // namespace vesk
