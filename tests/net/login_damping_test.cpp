// Password-guess damping and the login deadline over real loopback
// sockets: a held login answers with the designed bytes once its turn
// comes while others are served meanwhile; silent peers give their places
// back within the deadline; accepted sockets carry keep-alive.
#include <gtest/gtest.h>

#include "net/login_guard.h"
#include "net/network_rig.h"
#include "net/protocol_session.h"
#include "settings/param_table.h"
#include "settings/schedule.h"
#include "support/test_support.h"

namespace vesk::test {
namespace {

using namespace std::chrono_literals;

Bytes login(uint32_t serial, uint32_t password) {
    Bytes b = {0, 0, 6, 0};
    for (uint32_t v : {serial, password})
        for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
    return message(0, 0, b);
}
const Bytes kAccepted = message(0, 1, {0, 0, 0, 0});
const Bytes kRefusedReply = message(0, 1, {0, 0, 1, 0});
const Bytes kGetStatus = message(1, 0, {1, 0});

// The status reply's code and result.
uint16_t statusResult(const std::optional<Bytes>& reply) {
    if (!reply || reply->size() < 10 || (*reply)[0] != 1 || (*reply)[2] != 1) return 0xFFFF;
    return static_cast<uint16_t>((*reply)[8] | (*reply)[9] << 8);
}

struct DampedPanel {
    explicit DampedPanel(Variant v) : rig(v, 20) {
        ControllerState& s = rig.state;
        serviceDefaults(s.settings, v, true);
        userDefaults(s.settings, v, false, 1);
        s.svc.SERIAL = kRigSerial;
        s.usr.LAN_PWD = kRigPassword;
        s.usr.LAN_EN_LOC = 1;
        DispatcherServices d{s, schedule, rig.clock, dir.path()};
        d.loginGuard = &guard;
        session = std::make_unique<ProtocolSession>(d);
        rig.use = session.get();
        rig.start();
    }
    ~DampedPanel() { rig.stop(); }

    // Empties the shared bucket as ten guessers elsewhere would.
    void drainBucket() {
        for (uint32_t i = 0; i < LoginGuard::kBurst; ++i) guard.record(0x0A000001 + i, false, rig.clock.nowMs());
    }

    NetworkRig rig;
    TempDir dir;
    ScheduleStore schedule;
    LoginGuard guard;
    std::unique_ptr<ProtocolSession> session;
};

TEST(LoginDamping, AHeldLoginAnswersWithItsDesignedBytesWhileOthersAreServed) {
    for (Variant v : {Variant::Orvena, Variant::Kestralo}) {
        DampedPanel p(v);
        TestClient owner, guesser, late;
        ASSERT_TRUE(waitUntil([&] { return owner.connect(p.rig.config.portLocal); }));
        ASSERT_TRUE(owner.sendBytes(login(kRigSerial, kRigPassword)));
        ASSERT_EQ(owner.readMessage(), kAccepted);
        ASSERT_TRUE(guesser.connect(p.rig.config.portLocal));
        p.drainBucket();

        // A wrong guess and a request behind it: neither is answered yet.
        Bytes both = login(kRigSerial, 111111);
        both.insert(both.end(), kGetStatus.begin(), kGetStatus.end());
        ASSERT_TRUE(guesser.sendBytes(both));
        EXPECT_FALSE(guesser.readMessage(300ms));
        // The logged-in client is served at once meanwhile.
        for (int i = 0; i < 5; ++i) {
            ASSERT_TRUE(owner.sendBytes(kGetStatus));
            EXPECT_EQ(statusResult(owner.readMessage(2s)), kDone);
        }
        // At its turn the guess is refused as designed, before anything
        // behind it; its login deadline passed while it waited, so the
        // connection then goes.
        EXPECT_EQ(guesser.readMessage(), kRefusedReply);
        EXPECT_TRUE(guesser.closedByPeer());

        // The right password waits for its turn too, then gets in.
        ASSERT_TRUE(late.connect(p.rig.config.portLocal));
        ASSERT_TRUE(late.sendBytes(login(kRigSerial, kRigPassword)));
        EXPECT_FALSE(late.readMessage(300ms));
        EXPECT_EQ(late.readMessage(), kAccepted);
        ASSERT_TRUE(late.sendBytes(kGetStatus));
        EXPECT_EQ(statusResult(late.readMessage()), kDone);
    }
}

TEST(LoginDeadline, ThirtyTwoSilentPeersGiveWayAndARealClientIsServed) {
    // Thirty panel seconds are one real second here.
    NetworkRig rig(Variant::Orvena, 30);
    rig.start();
    TestClient loggedIn;
    ASSERT_TRUE(waitUntil([&] { return loggedIn.connect(rig.config.portLocal); }));
    ASSERT_TRUE(loggedIn.sendBytes(message(0, 0, Bytes(12, 0))));
    ASSERT_TRUE(loggedIn.readMessage());
    std::vector<TestClient> silent(31);
    for (auto& c : silent) ASSERT_TRUE(c.connect(rig.config.portLocal));
    ASSERT_TRUE(rig.connections(32));
    ASSERT_TRUE(waitUntil([&] { return !rig.net->status().listening; }));

    // Once the deadline has passed every silent peer is dropped, and the
    // client that logged in stays.
    for (auto& c : silent) EXPECT_TRUE(c.closedByPeer());
    EXPECT_TRUE(rig.connections(1));
    TestClient real;
    ASSERT_TRUE(waitUntil([&] { return real.connect(rig.config.portLocal); }));
    ASSERT_TRUE(real.sendBytes(message(1, 0, {0x17, 0, 9})));
    EXPECT_EQ(real.readMessage(), message(1, 1, {0x17, 0, 9}));
    ASSERT_TRUE(loggedIn.sendBytes(message(1, 0, {0x17, 0, 1})));
    EXPECT_EQ(loggedIn.readMessage(), message(1, 1, {0x17, 0, 1}));
}

TEST(LoginDeadline, AcceptedSocketsCarryKeepAliveAndThePeerAddress) {
    Socket listener = openTcpListener(0);
    ASSERT_TRUE(listener.isOpen());
    TestClient c;
    ASSERT_TRUE(c.connect(boundPort(listener)));
    Endpoint peer;
    Socket s;
    ASSERT_TRUE(waitUntil([&] { return (s = acceptConnection(listener, &peer)).isOpen(); }));
    EXPECT_TRUE(keepAliveSet(s));
    EXPECT_EQ(peer.address, 0x7F000001u);
}

}  // namespace
}  // namespace vesk::test
