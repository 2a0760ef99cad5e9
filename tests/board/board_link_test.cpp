#include <gtest/gtest.h>
#include <unistd.h>

#include "board/board_link.h"
#include "board_frames.h"
#include "board_peer.h"
#include "platform/manual_clock.h"
#include "support/probe_clock.h"
#include "support/test_support.h"

namespace vesk {
namespace {

using test::BoardPeer;
using test::waitFor;

std::vector<uint8_t> reading(uint16_t version, int water) {
    const size_t size = readingPayloadSize(version);
    test::ReadingPayload p(version, size ? size : 67);
    p.put(version >= 0x2200 ? 18 : 5, water);
    return p.bytes;
}

// The link itself is the same for both variants.
struct BoardLinkTest : ::testing::Test {
    BoardLinkTest() : state(Variant::Orvena), link(state, Variant::Orvena, clock, refresh), peer(pty.master) {
        state.usr.GAS_TEMP_SENSOR_ENABLE = 1;
    }
    int linkOk() {
        std::lock_guard<std::recursive_mutex> g(state.stateLock);
        return state.linkOk;
    }
    uint16_t version() {
        std::lock_guard<std::recursive_mutex> g(state.stateLock);
        return state.boardVersion;
    }
    void startLink() { ASSERT_TRUE(link.start(pty.slavePath)); }
    // Sends a good frame and waits until the link has taken it.
    void bringUp() {
        const int before = refresh.count;
        peer.send(reading(0x1100, 240));
        ASSERT_TRUE(waitFor([&] { return refresh.count == before + 1; }));
        ASSERT_EQ(linkOk(), 1);
    }

    test::Pty pty;
    ManualClock clock;
    ControllerState state;
    CountingRefreshSink refresh;
    BoardLink link;
    BoardPeer peer;
};

TEST_F(BoardLinkTest, SendsTheLayoutOfTheFirmwareItHears) {
    startLink();
    auto first = peer.nextFrame();  // leaves at once, before any reply
    ASSERT_TRUE(first);
    EXPECT_EQ(first->size(), 7u);

    peer.send(reading(0x2214, 240));
    ASSERT_TRUE(waitFor([&] { return refresh.count == 1; }));
    EXPECT_EQ(linkOk(), 1);
    EXPECT_EQ(version(), 0x2214);

    // Panel time stands still: only sendNow can make this frame leave.
    link.sendNow();
    auto now = peer.nextFrame();
    ASSERT_TRUE(now);
    EXPECT_EQ(now->size(), 22u);

    peer.send(reading(0x2200, 240));
    ASSERT_TRUE(waitFor([&] { return version() == 0x2200; }));
    link.sendNow();
    // Frames sent before the board changed may still be on their way.
    std::optional<std::vector<uint8_t>> eight;
    for (int i = 0; i < 5 && !(eight && eight->size() == 8u); ++i) eight = peer.nextFrame();
    ASSERT_TRUE(eight);
    EXPECT_EQ(eight->size(), 8u);
}

// Without a request the next frame leaves 500 panel ms after the last: not
// at 499 ms, at 500 ms.
TEST_F(BoardLinkTest, FrameEveryFiveHundredMillisecondsWithoutARequest) {
    // The sender waits on a probe of panel time; the receiver reads on the
    // plain clock, so every reading the probe counts is the sender's.
    test::ProbeClock probe(clock);
    BoardLink paced(state, Variant::Orvena, probe, refresh);
    auto port = std::make_unique<TermiosSerialPort>(clock);
    ASSERT_TRUE(port->open(pty.slavePath, BoardLink::kBaud));
    ASSERT_TRUE(paced.start(std::move(port)));
    ASSERT_TRUE(peer.nextFrame()) << "the first frame leaves at once";
    // The wait for the first frame read the time once; more readings mean
    // the sender waits for the next one, its 500 ms counted from now.
    probe.advance(0);
    ASSERT_TRUE(waitFor([&] { return probe.readingsOfNow() >= 3; }));
    for (int period = 0; period < 2; ++period) {
        probe.advance(499);
        ASSERT_TRUE(waitFor([&] { return probe.readingsOfNow() >= 2; }));
        EXPECT_FALSE(peer.nextFrame(50)) << "nothing at 499 ms";
        probe.advance(1);
        EXPECT_TRUE(peer.nextFrame()) << "a frame at 500 ms";
        probe.advance(0);
        ASSERT_TRUE(waitFor([&] { return probe.readingsOfNow() >= 3; }));
    }
    paced.stop();
}

TEST_F(BoardLinkTest, CommandFrameCarriesTheOutputs) {
    state.fanPower = 64;
    state.pumpCh = 1;
    state.augerStopPulse = 1;
    state.boardVersion = 0x2215;
    startLink();
    auto f = peer.nextFrame();
    ASSERT_TRUE(f);
    ASSERT_EQ(f->size(), 22u);
    EXPECT_EQ((*f)[0], 12);
    EXPECT_EQ((*f)[15], 64);
    EXPECT_EQ((*f)[16], 100);
    link.sendNow();
    f = peer.nextFrame();
    ASSERT_TRUE(f);
    EXPECT_EQ((*f)[0], 5);
}

// A frame is one picture of the outputs: it is not built while another
// thread holds the state to change it.
TEST_F(BoardLinkTest, FramesWaitForTheStateLock) {
    state.boardVersion = 0x2214;
    startLink();
    ASSERT_TRUE(peer.nextFrame());
    {
        std::lock_guard<std::recursive_mutex> g(state.stateLock);
        state.pumpCh = 1;
        link.sendNow();
        EXPECT_FALSE(peer.nextFrame(300)) << "no frame from a state being changed";
        state.pumpCh = 0;
        state.fanPower = 40;
    }
    auto f = peer.nextFrame();
    ASSERT_TRUE(f);
    EXPECT_EQ((*f)[13] & 0x01, 0) << "the pump the change took back";
    EXPECT_EQ((*f)[15], 40);
}

TEST_F(BoardLinkTest, BadCheckByteChangesNothingAndPostsNothing) {
    startLink();
    auto bad = encodeFrame(reading(0x2200, 400));
    bad[bad.size() - 3] ^= 0x01;  // the check byte
    peer.sendRaw(bad);
    peer.send(reading(0x1100, 240));
    ASSERT_TRUE(waitFor([&] { return version() == 0x1100; }));
    // The refresh follows the stored reading; only the good frame posts one.
    ASSERT_TRUE(waitFor([&] { return refresh.count.load() >= 1; }));
    EXPECT_EQ(refresh.count.load(), 1);
    std::lock_guard<std::recursive_mutex> g(state.stateLock);
    EXPECT_EQ(state.sensors[kSensorWater], 60);
}

TEST_F(BoardLinkTest, UnknownFirmwarePostsRefreshButLeavesLinkState) {
    startLink();
    peer.send(reading(0x3000, 240));
    ASSERT_TRUE(waitFor([&] { return refresh.count == 1; }));
    EXPECT_EQ(version(), 0x3000);
    EXPECT_EQ(linkOk(), 0);
}

TEST_F(BoardLinkTest, FifteenSecondsOfSilenceTakeTheLinkDownAndAGoodFrameBringsItBack) {
    // The receiver reads panel time through its own probe, so the test sees
    // when it has started waiting and when it has looked at a new time.
    test::ProbeClock probe(clock);
    auto port = std::make_unique<TermiosSerialPort>(probe);
    ASSERT_TRUE(port->open(pty.slavePath, BoardLink::kBaud));
    ASSERT_TRUE(link.start(std::move(port)));
    bringUp();
    const int up = refresh.count;
    // Half a frame, then silence: the half must not join what follows.
    auto half = encodeFrame(reading(0x2200, 400));
    const size_t cut = half.size() / 2;
    peer.sendRaw(std::vector<uint8_t>(half.begin(), half.begin() + cut));

    // Every byte read restarts the wait; the reads of the bytes still on
    // the line (the half and a frame end) count at most once each, so more
    // readings than that mean the receiver waits with its window from now.
    probe.advance(0);
    ASSERT_TRUE(waitFor([&] { return probe.readingsOfNow() >= static_cast<int>(cut) + 4; }));

    probe.advance(14999);
    ASSERT_TRUE(waitFor([&] { return probe.readingsOfNow() >= 2; }));
    EXPECT_EQ(linkOk(), 1) << "still up after 14 999 ms of silence";
    probe.advance(1);
    EXPECT_TRUE(waitFor([&] { return linkOk() == 0; })) << "down at 15 000 ms";
    EXPECT_TRUE(waitFor([&] { return refresh.count == up + 1; })) << "the screen hears of the loss";

    const int before = refresh.count;
    peer.sendRaw(std::vector<uint8_t>(half.begin() + cut, half.end()));
    peer.send(reading(0x1000, 61));
    ASSERT_TRUE(waitFor([&] { return version() == 0x1000; }));
    EXPECT_EQ(linkOk(), 1);
    EXPECT_EQ(refresh.count.load(), before + 1);
}

TEST_F(BoardLinkTest, HangUpTakesTheLinkDownAndStopStillEnds) {
    startLink();
    bringUp();
    ::close(pty.master);
    pty.master = -1;
    EXPECT_TRUE(waitFor([&] { return linkOk() == 0; }));
    link.stop();
    EXPECT_FALSE(link.running());
}

TEST_F(BoardLinkTest, MissingDeviceLeavesTheLinkDown) {
    EXPECT_FALSE(link.start("/nonexistent/ttyBOARD"));
    EXPECT_FALSE(link.running());
    EXPECT_EQ(linkOk(), 0);
    link.stop();
}

}  // namespace
}  // namespace vesk
