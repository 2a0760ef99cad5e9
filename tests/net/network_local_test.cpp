// The local server and discovery over real loopback sockets: the 32-client
// limit, oversized bodies, abrupt peers, notifications to every client,
// the password that keeps everything off, and no descriptor or buffer left
// behind.
#include <gtest/gtest.h>
#include <poll.h>

#include <vector>

#include "net/network_rig.h"

namespace vesk {
namespace {

using namespace std::chrono_literals;
using test::Bytes;
using test::message;
using test::NetworkRig;
using test::TestClient;

// An echo through the fake handler proves the server serves this client.
bool echoes(TestClient& c, uint8_t tag) {
    const Bytes body = {0x17, 0x00, tag};
    if (!c.sendBytes(message(1, 0, body))) return false;
    auto reply = c.readMessage();
    return reply && *reply == message(1, 1, body);
}

TEST(LocalServer, ServesSplitMessagesAndBodiesUpToTheLimit) {
    NetworkRig rig;
    rig.start();
    TestClient c;
    ASSERT_TRUE(test::waitUntil([&] { return c.connect(rig.config.portLocal); }));
    EXPECT_TRUE(echoes(c, 1));

    // Header and body in pieces, as a slow peer sends them.
    const Bytes body(250, 0xA5);
    const Bytes m = message(1, 0, body);
    for (size_t at = 0; at < m.size(); at += 97) {
        Bytes piece(m.begin() + at, m.begin() + std::min(m.size(), at + 97));
        ASSERT_TRUE(c.sendBytes(piece));
    }
    auto reply = c.readMessage();
    ASSERT_TRUE(reply);
    EXPECT_EQ(*reply, message(1, 1, body));

    // Two messages in one segment both get their answer.
    Bytes two = message(1, 0, {1, 0});
    Bytes second = message(1, 0, {2, 0});
    two.insert(two.end(), second.begin(), second.end());
    ASSERT_TRUE(c.sendBytes(two));
    EXPECT_EQ(c.readMessage(), message(1, 1, {1, 0}));
    EXPECT_EQ(c.readMessage(), message(1, 1, {2, 0}));
}

TEST(LocalServer, BodyOver250OrAHandlerVerdictClosesOnlyThatConnection) {
    NetworkRig rig;
    rig.start();
    TestClient keeper, big, bye;
    ASSERT_TRUE(test::waitUntil([&] { return keeper.connect(rig.config.portLocal); }));
    ASSERT_TRUE(big.connect(rig.config.portLocal));
    ASSERT_TRUE(bye.connect(rig.config.portLocal));
    ASSERT_TRUE(rig.connections(3));

    ASSERT_TRUE(big.sendBytes({1, 0, 0, 0, 251, 0}));
    EXPECT_TRUE(big.closedByPeer());
    ASSERT_TRUE(bye.sendBytes(message(9, 0)));
    EXPECT_TRUE(bye.closedByPeer());
    EXPECT_TRUE(rig.connections(1));
    EXPECT_TRUE(echoes(keeper, 3));
}

TEST(LocalServer, The33rdClientWaitsUntilOneLeaves) {
    // In real time, so that the silent clients stay within their login
    // deadline.
    NetworkRig rig(Variant::Orvena, 1);
    rig.start();
    std::vector<TestClient> clients(32);
    ASSERT_TRUE(test::waitUntil([&] { return clients[0].connect(rig.config.portLocal); }));
    for (size_t i = 1; i < clients.size(); ++i) ASSERT_TRUE(clients[i].connect(rig.config.portLocal)) << i;
    ASSERT_TRUE(rig.connections(32));
    ASSERT_TRUE(test::waitUntil([&] { return !rig.net->status().listening; }));

    TestClient extra;
    // Refused outright, or reset if it slipped into the backlog before the
    // listener closed; never served.
    if (extra.connect(rig.config.portLocal)) {
        extra.sendBytes(message(1, 0, {0x17, 0, 33}));
        EXPECT_TRUE(extra.closedByPeer());
    }
    EXPECT_EQ(rig.net->status().localConnections, 32u);
    EXPECT_TRUE(echoes(clients[31], 31));

    clients[5].close();
    ASSERT_TRUE(rig.connections(31));
    ASSERT_TRUE(test::waitUntil([&] { return extra.connect(rig.config.portLocal); }));
    EXPECT_TRUE(echoes(extra, 33));
    EXPECT_TRUE(rig.connections(32));
}

TEST(LocalServer, AbruptAndHalfFinishedPeersGiveTheirBuffersBack) {
    NetworkRig rig;
    rig.start();
    BufferPool& pool = rig.net->bufferPool();
    {
        TestClient reset, half, quiet, stuck;
        ASSERT_TRUE(test::waitUntil([&] { return reset.connect(rig.config.portLocal); }));
        ASSERT_TRUE(half.connect(rig.config.portLocal));
        ASSERT_TRUE(quiet.connect(rig.config.portLocal));
        ASSERT_TRUE(stuck.connect(rig.config.portLocal));
        ASSERT_TRUE(rig.connections(4));
        // Each holds a receive buffer with part of a message in it.
        ASSERT_TRUE(reset.sendBytes({1, 0, 0}));
        ASSERT_TRUE(half.sendBytes({1, 0, 0, 0, 10, 0, 1, 2}));
        ASSERT_TRUE(stuck.sendBytes({1, 0}));
        ASSERT_TRUE(test::waitUntil([&] { return pool.inUse() >= 3; }));
        reset.abort();
        half.close();
        ASSERT_TRUE(rig.connections(2));
        // The last two go down with the network.
    }
    ASSERT_TRUE(rig.connections(0));
    EXPECT_EQ(pool.inUse(), 0u);
    EXPECT_LE(pool.freeCount(), BufferPool::kMaxFree);
}

TEST(LocalServer, NotificationsReachEveryClientLoggedInOrNot) {
    NetworkRig rig;
    rig.start();
    TestClient a, b;
    ASSERT_TRUE(test::waitUntil([&] { return a.connect(rig.config.portLocal); }));
    ASSERT_TRUE(b.connect(rig.config.portLocal));
    ASSERT_TRUE(rig.connections(2));
    ASSERT_TRUE(a.sendBytes(message(0, 0, Bytes(12, 0))));
    ASSERT_TRUE(a.readMessage());

    const Bytes note = message(1, 3, {0, 0, 1, 0, 0, 0, 5, 4, 3, 2, 1, 26});
    rig.handler.queueNotification(note);
    EXPECT_EQ(a.readMessage(), note);
    EXPECT_EQ(b.readMessage(), note);
}

TEST(LocalServer, AClientThatNeverReadsIsDroppedNotBuffered) {
    NetworkRig rig;
    rig.start();
    TestClient lazy;
    ASSERT_TRUE(test::waitUntil([&] { return lazy.connect(rig.config.portLocal); }));
    ASSERT_TRUE(rig.connections(1));
    // Requests keep coming, replies fill the socket buffers and then pile
    // up on the panel's side (far fewer than this many fit).
    const Bytes request = message(1, 0, Bytes(250, 1));
    for (int i = 0; i < 200000; ++i)
        if (!lazy.sendBytes(request) || (i % 256 == 0 && rig.net->status().localConnections == 0)) break;
    EXPECT_TRUE(rig.connections(0));
    EXPECT_TRUE(test::waitUntil([&] { return rig.net->bufferPool().inUse() == 0; }));
}

TEST(LocalAccess, PasswordZeroKeepsServerDiscoveryAndRemoteOff) {
    NetworkRig rig;
    Socket remote = openTcpListener(0);
    rig.config.remotePort = boundPort(remote);
    rig.setAccess(0, 1, 1);
    rig.start();
    ASSERT_TRUE(rig.passes(3));
    NetworkStatus st = rig.net->status();
    EXPECT_TRUE(st.adapterUp);
    EXPECT_EQ(st.address, 0x7F000001u);
    EXPECT_FALSE(st.listening);
    TestClient c;
    EXPECT_FALSE(c.connect(rig.config.portLocal));
    pollfd p{remote.fd(), POLLIN, 0};
    EXPECT_EQ(::poll(&p, 1, 0), 0) << "the remote server was called";

    // The password takes effect on the next pass.
    rig.setAccess(1, 1, 1);
    ASSERT_TRUE(test::waitUntil([&] { return c.connect(rig.config.portLocal); }));
    EXPECT_EQ(::poll(&p, 1, 20000), 1);
    EXPECT_TRUE(echoes(c, 7));

    // Local access off again closes the server and its clients.
    rig.setAccess(1, 0, 0);
    EXPECT_TRUE(c.closedByPeer());
    EXPECT_TRUE(test::waitUntil([&] { return !rig.net->status().listening; }));
}

TEST(LocalAccess, AdapterWithoutLinkOrAddressRunsNothing) {
    NetworkRig rig;
    test::FakeAdapter adapter;
    adapter.set(false, 0);
    rig.start(&adapter);
    ASSERT_TRUE(rig.passes(2));
    EXPECT_FALSE(rig.net->status().adapterUp);
    EXPECT_FALSE(rig.net->status().listening);

    adapter.set(true, 0);  // waiting for an address
    ASSERT_TRUE(rig.passes(2));
    EXPECT_TRUE(rig.net->status().adapterUp);
    EXPECT_FALSE(rig.net->status().listening);

    adapter.set(true, 0xC0A80105);
    TestClient c;
    ASSERT_TRUE(test::waitUntil([&] { return c.connect(rig.config.portLocal); }));
    // The listener may take clients before the pass publishes its status.
    EXPECT_TRUE(test::waitUntil([&] { return rig.net->status().address == 0xC0A80105u; }));
}

// The answer to a question, if the panel gave one: a second socket's valid
// question is answered after it, so by then any answer to the first has
// arrived.
std::optional<Bytes> answerTo(uint16_t port, const Bytes& question) {
    Socket asker = openUdpSocket(0);
    Endpoint panel{0x7F000001, port};
    sendDatagram(asker.fd(), question.data(), question.size(), panel);
    auto sentinel = test::askDiscovery(port, {1, 6, 0, 0xFF, 0xFF, 0xFF, 0xFF}, 20s);
    EXPECT_TRUE(sentinel);
    uint8_t buf[64];
    Endpoint from;
    IoResult r = receiveDatagram(asker.fd(), buf, sizeof buf, from);
    if (r.status != IoStatus::Ok) return std::nullopt;
    return Bytes(buf, buf + r.n);
}

TEST(Discovery, AnswersSevenByteQuestionsForThisPanelOrAny) {
    NetworkRig rig;
    rig.start();
    const uint16_t port = rig.config.portDiscovery;
    const Bytes answer = {2, 6, 0, 0x92, 0x10, 0, 0};  // serial 4242
    ASSERT_TRUE(test::waitUntil([&] { return test::askDiscovery(port, {1, 6, 0, 0x92, 0x10, 0, 0}, 200ms); }));
    EXPECT_EQ(answerTo(port, {1, 6, 0, 0x92, 0x10, 0, 0}), answer);
    EXPECT_EQ(answerTo(port, {1, 6, 0, 0xFF, 0xFF, 0xFF, 0xFF}), answer);
    EXPECT_EQ(answerTo(port, {1, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}), answer);

    EXPECT_EQ(answerTo(port, {1, 6, 0, 0x92, 0x10, 0}), std::nullopt);
    EXPECT_EQ(answerTo(port, {1, 6, 0, 0x92, 0x10, 0, 0, 0}), std::nullopt);
    EXPECT_EQ(answerTo(port, {1, 6, 0, 0x93, 0x10, 0, 0}), std::nullopt);
    EXPECT_EQ(answerTo(port, {1, 0xFF, 0xFF, 0x92, 0x10, 0, 0}), std::nullopt);
    EXPECT_EQ(answerTo(port, {2, 6, 0, 0xFF, 0xFF, 0xFF, 0xFF}), std::nullopt);
    EXPECT_EQ(answerTo(port, {1, 5, 0, 0xFF, 0xFF, 0xFF, 0xFF}), std::nullopt);
}

TEST(Network, LeavesNoDescriptorOrBufferBehind) {
    const size_t before = openDescriptorCount();
    {
        NetworkRig rig;
        Socket remote = openTcpListener(0);
        rig.config.remotePort = boundPort(remote);
        rig.setAccess(test::kRigPassword, 1, 1);
        rig.start();
        for (int round = 0; round < 3; ++round) {
            std::vector<TestClient> clients(5);
            ASSERT_TRUE(test::waitUntil([&] { return clients[0].connect(rig.config.portLocal); }));
            for (size_t i = 1; i < clients.size(); ++i) ASSERT_TRUE(clients[i].connect(rig.config.portLocal));
            ASSERT_TRUE(clients[1].sendBytes({1, 0, 0}));
            ASSERT_TRUE(echoes(clients[2], 2));
            clients[3].abort();
            ASSERT_TRUE(test::askDiscovery(rig.config.portDiscovery, {1, 6, 0, 0xFF, 0xFF, 0xFF, 0xFF}, 20s));
        }
        // The remote server is called, then hangs up during the handshake.
        pollfd p{remote.fd(), POLLIN, 0};
        ASSERT_EQ(::poll(&p, 1, 20000), 1);
        Socket accepted = acceptConnection(remote);
        accepted.close();
        rig.stop();
        EXPECT_EQ(rig.net->bufferPool().inUse(), 0u);
    }
    EXPECT_EQ(openDescriptorCount(), before);
}

}  // namespace
}  // namespace vesk
