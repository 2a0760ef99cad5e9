// The expansion link over a real pseudo-terminal, in manual panel time.
#include <gtest/gtest.h>
#include <poll.h>
#include <unistd.h>

#include "board/board_peer.h"
#include "expansion_rig.h"
#include "net/expansion_link.h"
#include "net/status_record.h"
#include "serial/framing.h"
#include "support/probe_clock.h"

namespace vesk::test {
namespace {

struct ExpansionLinkTest : ::testing::Test {
    ExpansionLinkTest() : link(rig.services(), probe) {}

    void SetUp() override {
        link.setDeviceControl([this](uint32_t code) { controlCodes.push_back(code); });
        ASSERT_TRUE(link.start(pty.slavePath));
    }

    int connected() {
        std::lock_guard<std::recursive_mutex> g(rig.p.s.stateLock);
        return rig.p.s.expansionConnected;
    }

    // Writes `wire` as the module would and moves panel time on until the
    // link has read and served it (the 50 ms gap ends a read). Returns the
    // raw reply bytes, empty when the panel sent none.
    Bytes exchange(const Bytes& wire, bool replyExpected = true) {
        const uint64_t served = link.chunksServed();
        EXPECT_EQ(::write(pty.master, wire.data(), wire.size()), static_cast<ssize_t>(wire.size()));
        EXPECT_TRUE(waitFor([&] {
            if (link.chunksServed() > served) return true;
            rig.p.clock.advance(10);
            return false;
        }));
        return takeReply(replyExpected);
    }
    Bytes exchangeMessage(const Bytes& message) { return exchange(encodeFrame(message)); }

    // Waits until the link has begun the read after the last one it served
    // (no read has timed out before), so that its 20 s count from now.
    void awaitNextRead() {
        ASSERT_TRUE(waitFor([&] { return link.waitsBegun() == link.chunksServed() + 1; }));
    }

    // What the panel wrote: waits for a whole reply frame when one is due.
    Bytes takeReply(bool replyExpected) {
        Bytes got;
        auto complete = [&] {
            return got.size() >= 6 && got[got.size() - 1] == kFrameEnd && got[got.size() - 2] == kFrameEnd;
        };
        const int patience = replyExpected ? kPatienceMs : 0;
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(patience);
        while (!complete()) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                                  until - std::chrono::steady_clock::now()).count();
            pollfd p{pty.master, POLLIN, 0};
            if (::poll(&p, 1, static_cast<int>(std::max<int64_t>(left, 0))) <= 0) break;
            uint8_t buf[600];
            const ssize_t r = ::read(pty.master, buf, sizeof buf);
            if (r <= 0) break;
            got.insert(got.end(), buf, buf + r);
        }
        return got;
    }

    // The reply message (check byte removed) of a raw reply.
    static std::optional<Bytes> message(const Bytes& raw) {
        FrameDecoder d(600);
        for (uint8_t b : raw)
            if (auto m = d.feed(b)) return m;
        return std::nullopt;
    }
    std::optional<Bytes> ask(const Bytes& m) { return message(exchangeMessage(m)); }

    ExpansionRig rig;
    // The link's clock: panel time of the rig, with the link's readings counted.
    ProbeClock probe{rig.p.clock};
    Pty pty;
    ExpansionLink link;
    std::vector<uint32_t> controlCodes;
};

TEST_F(ExpansionLinkTest, FrameBytesInRequestAndReplyRoundTrip) {
    rig.p.s.svc.SERIAL = 0xDBC0;  // the identity reply carries C0 DB
    const Bytes raw = exchangeMessage({100});
    EXPECT_EQ(controlCodes, std::vector<uint32_t>{0x1016000});
    const Bytes reply{0, 0, 6, 0, 0xC0, 0xDB, 0, 0};
    EXPECT_EQ(raw, encodeFrame(reply));
    EXPECT_EQ(raw.front(), 0xC0);
    EXPECT_EQ(raw[1], 0xC0);

    // Request with the frame bytes in its code and data: SetAirSetpoint 0xDB04.
    EXPECT_EQ(ask({103, 0x04, 0xDB, 21, 0}), (Bytes{0, 0}));
    EXPECT_EQ(rig.p.s.usr.TAIR_UST, 21);
    EXPECT_EQ(ask({8, 0xC0}), Bytes{100});
    EXPECT_EQ(rig.p.s.expansionSignal, 0);
}

TEST_F(ExpansionLinkTest, OnlyTheFirstFrameOfAReadIsServed) {
    Bytes both = encodeFrame(Bytes{4});
    const Bytes second = encodeFrame(Bytes{8, 60});
    both.insert(both.end(), second.begin(), second.end());
    const Bytes raw = exchange(both);
    EXPECT_EQ(message(raw), (Bytes{static_cast<uint8_t>(rig.p.s.usr.POW_UST),
                                   static_cast<uint8_t>(rig.p.s.usr.TWAT_UST),
                                   static_cast<uint8_t>(rig.p.s.usr.TAIR_UST)}));
    EXPECT_EQ(raw.size(), encodeFrame(Bytes{0, 0, 0}).size());  // one reply only
    EXPECT_EQ(rig.p.s.expansionSignal, 255);
    EXPECT_TRUE(rig.activity());
}

TEST_F(ExpansionLinkTest, BadFramesGetNoReplyAndDoNotConnect) {
    const Bytes badCheck{0xC0, 0xC0, 1, 2, 0xC0, 0xC0};
    EXPECT_TRUE(exchange(badCheck, false).empty());
    EXPECT_TRUE(exchange(Bytes{0xC0, 0xC0, 1, 0xDB, 0x00, 1, 0xC0, 0xC0}, false).empty());
    EXPECT_TRUE(exchange(encodeFrame(Bytes{2}), false).empty());  // unknown code
    EXPECT_EQ(connected(), 0);
    EXPECT_EQ(rig.p.refresh.count, 0);
    // The next good request gets its own reply and nothing left over.
    EXPECT_EQ(exchangeMessage({6}), encodeFrame(Bytes{101}));
    EXPECT_EQ(connected(), 1);
}

TEST_F(ExpansionLinkTest, SetRequestAcceptsAndSaves) {
    EXPECT_EQ(ask({5, 0x08, 36}), Bytes{0});
    EXPECT_FALSE(rig.p.userSaved());
    EXPECT_EQ(ask({5, 0x08, 21}), Bytes{0x08});
    EXPECT_TRUE(rig.p.userSaved());
    EXPECT_EQ(rig.p.s.usr.TAIR_UST, 21);
}

TEST_F(ExpansionLinkTest, SignalBoundaryKeepsThePreviousLevel) {
    EXPECT_EQ(ask({8, 100}), Bytes{100});
    EXPECT_EQ(rig.p.s.expansionSignal, 2);
    EXPECT_EQ(ask({8, 85}), Bytes{100});
    EXPECT_EQ(rig.p.s.expansionSignal, 2);
}

TEST_F(ExpansionLinkTest, LoginAndRelayedCommands) {
    auto login = [&](uint16_t first, uint32_t password) {
        Bytes m{102};
        appendU16(m, first);
        appendU16(m, 6);
        appendU32(m, kSerial);
        appendU32(m, password);
        return ask(m);
    };
    EXPECT_EQ(login(0, kPassword), (Bytes{0, 0}));
    EXPECT_EQ(login(0, kPassword + 1), (Bytes{1, 0}));
    EXPECT_EQ(login(3, kPassword), (Bytes{2, 0}));

    // The status record's frame is longer than any read the panel takes.
    const auto status = ask({103, 1, 0});
    ASSERT_TRUE(status);
    ASSERT_EQ(status->size(), 2 + kStatusRecordSizeOrvena);
    EXPECT_EQ(getU16(status->data()), 0);
    EXPECT_EQ((*status)[2 + 137] & 0x08, 0x08);  // it reports the module connected

    EXPECT_EQ(ask({103, 3, 0, 70, 0}), (Bytes{0, 0}));
    EXPECT_EQ(rig.p.s.usr.TWAT_UST, 70);
    EXPECT_EQ(ask({103, 3, 0, 75}), (Bytes{1, 0}));  // one byte short of the set-point
    EXPECT_EQ(rig.p.s.usr.TWAT_UST, 70);
}

TEST_F(ExpansionLinkTest, TwentySecondsOfSilenceDisconnect) {
    EXPECT_EQ(ask({1}), (Bytes{2, 0}));
    EXPECT_EQ(connected(), 1);
    EXPECT_EQ(rig.p.refresh.count, 1);

    awaitNextRead();
    probe.advance(19999);
    // The link thread has looked at the new time (twice: a check that
    // merely raced the advance does not count) and kept the module.
    ASSERT_TRUE(waitFor([&] { return probe.readingsOfNow() >= 2; }));
    EXPECT_EQ(connected(), 1) << "connected after 19 999 ms of silence";
    probe.advance(1);
    ASSERT_TRUE(waitFor([&] { return connected() == 0; })) << "disconnected at 20 000 ms";
    EXPECT_EQ(rig.p.refresh.count, 2);

    // The next handled message connects again.
    EXPECT_EQ(ask({8, 70}), Bytes{100});
    EXPECT_EQ(connected(), 1);
}

// Bytes that make no message still count as traffic.
TEST_F(ExpansionLinkTest, NoiseKeepsTheModuleConnected) {
    EXPECT_EQ(ask({1}), (Bytes{2, 0}));
    awaitNextRead();
    rig.p.clock.advance(19900);
    EXPECT_TRUE(exchange(Bytes{0x55, 0xAA}, false).empty());
    awaitNextRead();
    probe.advance(19900);
    ASSERT_TRUE(waitFor([&] { return probe.readingsOfNow() >= 2; }));
    EXPECT_EQ(connected(), 1) << "39.8 s after the last message, 19.9 s after the noise";
}

TEST(ExpansionLinkStart, MissingDeviceServesNoModule) {
    ExpansionRig rig;
    ExpansionLink link(rig.services(), rig.p.clock);
    bool called = false;
    link.setDeviceControl([&](uint32_t) { called = true; });
    EXPECT_FALSE(link.start("/dev/vesk-no-such-line"));
    EXPECT_FALSE(link.running());
    EXPECT_FALSE(called);
}

}  // namespace
}  // namespace vesk::test
