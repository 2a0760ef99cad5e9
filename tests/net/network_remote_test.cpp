// The remote server link end to end: the network object with the real
// protocol session against remote-sim, the remote server's stand-in, as a
// separate process over TLS on loopback.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>

#include "net/network_rig.h"
#include "net/protocol_rig.h"

namespace vesk {
namespace {

using namespace std::chrono_literals;
using test::NetworkRig;
using test::PeerProcess;

std::string remoteSimPath() { return test::binDir() + "/remote-sim"; }

// Starts remote-sim; its port, or 0.
uint16_t startRemoteSim(PeerProcess& p, std::vector<std::string> args) {
    if (!p.start(remoteSimPath(), args)) return 0;
    auto line = p.waitFor("listening port=");
    return line ? static_cast<uint16_t>(std::atoi(line->c_str() + line->find('=') + 1)) : 0;
}

const char* name(Variant v) { return v == Variant::Orvena ? "orvena" : "kestralo"; }

class RemoteLinkTest : public ::testing::TestWithParam<Variant> {
protected:
    void SetUp() override {
        if (::access(remoteSimPath().c_str(), X_OK) != 0) GTEST_SKIP() << "remote-sim is not built";
    }
};

TEST_P(RemoteLinkTest, HelloLoginCommandsNotificationsAndKeepAlive) {
    test::ProtocolRig proto(GetParam());
    NetworkRig rig(proto.s, *proto.session, 30);
    rig.setAccess(static_cast<int32_t>(test::kPassword), 0, 1);

    PeerProcess sim;
    const uint16_t port = startRemoteSim(
        sim, {"--port", "0", "--variant", name(GetParam()), "--password", std::to_string(test::kPassword),
              "--poll", "0"});
    ASSERT_NE(port, 0) << sim.transcript();
    rig.config.remotePort = port;
    rig.start();

    ASSERT_TRUE(sim.waitFor("tls up suite=TLS-PSK-WITH-AES-128-CBC-SHA256")) << sim.transcript();
    ASSERT_TRUE(sim.waitFor("hello serial=" + std::to_string(test::kSerial))) << sim.transcript();
    ASSERT_TRUE(sim.waitFor("login result=0")) << sim.transcript();
    EXPECT_TRUE(test::waitUntil([&] { return rig.net->status().remoteUp; }));

    ASSERT_TRUE(sim.writeLine("set TWAT_UST 70"));
    ASSERT_TRUE(sim.waitFor("reply code=3 result=0")) << sim.transcript();
    {
        std::lock_guard<std::recursive_mutex> g(proto.s.stateLock);
        EXPECT_EQ(proto.s.usr.TWAT_UST, 70);
    }
    ASSERT_TRUE(sim.writeLine("status"));
    ASSERT_TRUE(sim.waitFor("twat_ust=70")) << sim.transcript();
    // StartStop has another code in each variant's table.
    ASSERT_TRUE(sim.writeLine("start"));
    ASSERT_TRUE(sim.waitFor(GetParam() == Variant::Orvena ? "reply code=23 result=0" : "reply code=19 result=0"))
        << sim.transcript();

    {
        std::lock_guard<std::recursive_mutex> g(proto.s.stateLock);
        proto.s.faults |= 0x001;  // fuse: word A bit 3
    }
    ASSERT_TRUE(sim.waitFor("notification a=0x0008")) << sim.transcript();

    // 30 s of panel time at thirty times the speed.
    ASSERT_TRUE(sim.waitFor("keepalive", 60s)) << sim.transcript();
    EXPECT_TRUE(rig.net->status().remoteUp);
}

TEST_P(RemoteLinkTest, ReconnectsAfterTheServerGoesAwayWithAFreshLogin) {
    test::ProtocolRig proto(GetParam());
    NetworkRig rig(proto.s, *proto.session);
    rig.setAccess(static_cast<int32_t>(test::kPassword), 0, 1);
    const uint16_t port = test::freePort();
    rig.config.remotePort = port;
    rig.config.remoteHost = "localhost";  // a name, looked up on the side
    const std::vector<std::string> args = {"--port", std::to_string(port), "--variant", name(GetParam()),
                                           "--password", std::to_string(test::kPassword), "--poll", "0"};
    {
        PeerProcess first;
        ASSERT_EQ(startRemoteSim(first, args), port) << first.transcript();
        rig.start();
        ASSERT_TRUE(first.waitFor("login result=0")) << first.transcript();
    }
    // The first server is gone; before logging in again the new one is
    // refused commands, so the link restarted unauthenticated.
    EXPECT_TRUE(test::waitUntil([&] { return !rig.net->status().remoteUp; }));
    PeerProcess second;
    ASSERT_EQ(startRemoteSim(second, {"--port", std::to_string(port), "--variant", name(GetParam()), "--no-login"}),
              port)
        << second.transcript();
    ASSERT_TRUE(second.waitFor("hello serial=")) << second.transcript();
    ASSERT_TRUE(second.writeLine("status"));
    ASSERT_TRUE(second.waitFor("reply code=1 result=3")) << second.transcript();
    ASSERT_TRUE(second.writeLine("login " + std::to_string(test::kSerial) + " " + std::to_string(test::kPassword)));
    ASSERT_TRUE(second.waitFor("login result=0")) << second.transcript();
}

TEST_P(RemoteLinkTest, WrongKeyNeverComesUpAndIsRetried) {
    test::ProtocolRig proto(GetParam());
    NetworkRig rig(proto.s, *proto.session);
    rig.setAccess(static_cast<int32_t>(test::kPassword), 0, 1);
    const Variant other = GetParam() == Variant::Orvena ? Variant::Kestralo : Variant::Orvena;
    PeerProcess sim;
    rig.config.remotePort = startRemoteSim(sim, {"--port", "0", "--variant", name(other)});
    ASSERT_NE(rig.config.remotePort, 0) << sim.transcript();
    rig.start();
    ASSERT_TRUE(sim.waitFor("tls failed")) << sim.transcript();
    ASSERT_TRUE(sim.waitFor("tls failed")) << sim.transcript();
    EXPECT_EQ(sim.transcript().find("hello"), std::string::npos);
    EXPECT_FALSE(rig.net->status().remoteUp);
}

TEST_P(RemoteLinkTest, PolledStatusThenLinkDownClosesTheRemoteConnection) {
    test::ProtocolRig proto(GetParam());
    NetworkRig rig(proto.s, *proto.session);
    rig.setAccess(static_cast<int32_t>(test::kPassword), 0, 1);
    PeerProcess sim;
    rig.config.remotePort = startRemoteSim(sim, {"--port", "0", "--variant", name(GetParam()), "--password",
                                                 std::to_string(test::kPassword), "--poll", "0.2"});
    ASSERT_NE(rig.config.remotePort, 0) << sim.transcript();
    test::FakeAdapter adapter;
    rig.start(&adapter);
    // Polled without asking once logged in.
    ASSERT_TRUE(sim.waitFor("status water=")) << sim.transcript();
    adapter.set(false, 0);
    ASSERT_TRUE(sim.waitFor("panel closed")) << sim.transcript();
    EXPECT_TRUE(test::waitUntil([&] { return !rig.net->status().remoteUp && !rig.net->status().adapterUp; }));
}

INSTANTIATE_TEST_SUITE_P(Variants, RemoteLinkTest, ::testing::Values(Variant::Orvena, Variant::Kestralo),
                         [](const auto& i) { return i.param == Variant::Orvena ? "Orvena" : "Kestralo"; });

}  // namespace
}  // namespace vesk
