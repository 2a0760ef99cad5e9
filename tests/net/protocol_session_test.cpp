// The protocol as a connection speaks it: login, authentication, kinds with
// and without a reply, malformed messages, and the controller's own
// messages.
#include <gtest/gtest.h>

#include "net/protocol_rig.h"

namespace vesk::test {
namespace {

Bytes loginBody(uint32_t serial, uint32_t password, uint16_t first = 0, uint16_t second = 6) {
    return concat({le16(first), le16(second), le16(serial & 0xFFFF), le16(serial >> 16), le16(password & 0xFFFF),
                   le16(password >> 16)});
}

struct Exchange {
    MessageVerdict verdict;
    std::vector<Bytes> replies;
};

class SessionTest : public ::testing::TestWithParam<Variant> {
protected:
    Exchange send(const Bytes& m) {
        Exchange e;
        e.verdict = rig.session->handle(conn, m.data(), m.size(), e.replies);
        return e;
    }
    Bytes login(uint32_t serial, uint32_t password) {
        Exchange e = send(wire(0, 0, loginBody(serial, password)));
        EXPECT_EQ(e.verdict, MessageVerdict::Keep);
        return e.replies.size() == 1 ? e.replies[0] : Bytes{};
    }
    uint16_t waterCode() const { return 3; }  // SetWaterSetpoint in both tables

    ProtocolRig rig{GetParam()};
    ConnectionContext conn;
};

TEST_P(SessionTest, LoginNeedsBothIdentifierAndPassword) {
    EXPECT_EQ(login(kSerial + 1, kPassword), wire(0, 1, {0, 0, 1, 0}));
    EXPECT_FALSE(conn.authenticated);
    EXPECT_EQ(login(kSerial, kPassword + 1), wire(0, 1, {0, 0, 1, 0}));
    EXPECT_FALSE(conn.authenticated);
    Exchange badHead = send(wire(0, 0, loginBody(kSerial, kPassword, 0, 7)));
    EXPECT_EQ(badHead.replies.at(0), wire(0, 1, {0, 0, 1, 0}));
    // The reply echoes the request's first field.
    Exchange badFirst = send(wire(0, 0, loginBody(kSerial, kPassword, 5)));
    EXPECT_EQ(badFirst.replies.at(0), wire(0, 1, {5, 0, 1, 0}));

    EXPECT_EQ(login(kSerial, kPassword), wire(0, 1, {0, 0, 0, 0}));
    EXPECT_TRUE(conn.authenticated);
    // A later refused attempt ends the login.
    login(kSerial, 0);
    EXPECT_FALSE(conn.authenticated);
}

TEST_P(SessionTest, NothingRunsBeforeLogin) {
    const int32_t before = rig.s.usr.TWAT_UST;
    Exchange asked = send(wire(1, 0, concat({le16(waterCode()), le16(70)})));
    EXPECT_EQ(asked.replies.at(0), wire(1, 1, concat({le16(waterCode()), le16(3)})));
    // Without a reply wanted it is refused just the same, silently.
    Exchange silent = send(wire(1, 2, concat({le16(waterCode()), le16(70)})));
    EXPECT_EQ(silent.verdict, MessageVerdict::Keep);
    EXPECT_TRUE(silent.replies.empty());
    EXPECT_EQ(rig.s.usr.TWAT_UST, before);
    EXPECT_NE(before, 70);
    EXPECT_FALSE(rig.userSaved());

    login(kSerial, kPassword);
    Exchange after = send(wire(1, 2, concat({le16(waterCode()), le16(70)})));
    EXPECT_TRUE(after.replies.empty());
    EXPECT_EQ(rig.s.usr.TWAT_UST, 70);
    EXPECT_TRUE(rig.userSaved());
}

TEST_P(SessionTest, RepliesAndUnknownCodes) {
    login(kSerial, kPassword);
    EXPECT_EQ(send(wire(1, 0, le16(128))).replies.at(0), wire(1, 1, concat({le16(128), le16(0), le16(2)})));
    EXPECT_TRUE(send(wire(1, 2, le16(128))).replies.empty());
    const uint16_t firstUnknown = isKestralo(GetParam()) ? 20 : 24;
    for (uint16_t code : {firstUnknown, uint16_t(127), uint16_t(129), uint16_t(0xFFFF)})
        EXPECT_EQ(send(wire(1, 0, le16(code))).replies.at(0), wire(1, 1, concat({le16(code), le16(2)})));
    // A wrong data length is refused, not closed.
    EXPECT_EQ(send(wire(1, 0, concat({le16(waterCode()), {70}}))).replies.at(0),
              wire(1, 1, concat({le16(waterCode()), le16(1)})));
}

TEST_P(SessionTest, MalformedMessagesClose) {
    auto closes = [&](const Bytes& m) {
        Exchange e = send(m);
        return e.verdict == MessageVerdict::Close && e.replies.empty();
    };
    Bytes good = wire(0, 0, loginBody(kSerial, kPassword));
    EXPECT_TRUE(closes(Bytes(good.begin(), good.end() - 1)));  // truncated body
    EXPECT_TRUE(closes(concat({good, {0}})));                  // more than the header announces
    EXPECT_TRUE(closes(Bytes(good.begin(), good.begin() + 5)));
    EXPECT_TRUE(closes(wire(0, 0, Bytes(11, 0))));
    EXPECT_TRUE(closes(wire(0, 0, Bytes(13, 0))));
    EXPECT_TRUE(closes(wire(1, 0, {})));
    EXPECT_TRUE(closes(wire(1, 2, {1})));
    EXPECT_TRUE(closes(wire(1, 0, Bytes(251, 0))));
    for (auto [group, kind] : {std::pair{0, 1}, {0, 2}, {0, 4}, {1, 1}, {1, 3}, {2, 0}, {2, 2}, {3, 0}})
        EXPECT_TRUE(closes(wire(group, kind, le16(1)))) << group << "/" << kind;

    for (int group : {1, 2}) {
        Exchange e = send(wire(group, 4, {}));
        EXPECT_EQ(e.verdict, MessageVerdict::Keep);
        EXPECT_TRUE(e.replies.empty());
    }
    // The largest body is accepted.
    login(kSerial, kPassword);
    EXPECT_EQ(send(wire(1, 0, concat({le16(1), Bytes(248, 0)}))).verdict, MessageVerdict::Keep);
}

TEST_P(SessionTest, StatusNotificationFollowsTheWords) {
    Bytes n;
    EXPECT_FALSE(rig.session->statusChanged(n));
    rig.s.faults = 0x040;  // emergency thermostat: word A bit 0
    ASSERT_TRUE(rig.session->statusChanged(n));
    EXPECT_EQ(n, wire(1, 3, {0, 0, 0x01, 0, 0, 0, 15, 30, 12, 10, 3, 26}));
    EXPECT_FALSE(rig.session->statusChanged(n));
    rig.s.warnings = 0x100;  // bunker not filled / wrong phasing: word B bit 9
    ASSERT_TRUE(rig.session->statusChanged(n));
    EXPECT_EQ(Bytes(n.begin() + 8, n.begin() + 12), (Bytes{0x01, 0, 0, 0x02}));
    rig.s.faults = rig.s.warnings = 0;
    EXPECT_TRUE(rig.session->statusChanged(n));
    EXPECT_FALSE(rig.session->statusChanged(n));
}

TEST_P(SessionTest, HelloAndKeepAlive) {
    EXPECT_EQ(rig.session->remoteHello(), wire(2, 2, {0, 0, 6, 0, 0x40, 0xE2, 0x01, 0x00}));
    EXPECT_EQ(rig.session->keepAlive(), wire(2, 4, {}));
}

INSTANTIATE_TEST_SUITE_P(Variants, SessionTest, ::testing::Values(Variant::Orvena, Variant::Kestralo));

}  // namespace
}  // namespace vesk::test
