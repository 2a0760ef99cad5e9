// The remote server's TLS client against openssl s_server, a real peer
// written by others: both variants' keys and hello extensions, a wrong key,
// and a server that offers a certificate instead of the key.
#include <gtest/gtest.h>
#include <poll.h>

#include <chrono>
#include <string>

#include "net/network_test_support.h"
#include "support/test_support.h"
#include "net/tls_session.h"
#include "platform/socket.h"

namespace vesk {
namespace {

using namespace std::chrono_literals;
using test::PeerProcess;

struct Client {
    Socket socket;
    std::unique_ptr<TlsSession> tls;
};

bool waitFd(int fd, short events) {
    pollfd p{fd, events, 0};
    return ::poll(&p, 1, 20000) > 0;
}

// Connects and runs the handshake to its end; the step result.
TlsStep connectAndHandshake(Client& c, uint16_t port, Variant v) {
    c.tls = TlsSession::remoteClient(v);
    EXPECT_TRUE(c.tls->usable());
    ConnectResult r = connectTcp({0x7F000001, port});
    if (r.status == ConnectStatus::Failed) return TlsStep::Failed;
    c.socket = std::move(r.socket);
    if (r.status == ConnectStatus::InProgress && (!waitFd(c.socket.fd(), POLLOUT) || !connectSucceeded(c.socket)))
        return TlsStep::Failed;
    c.tls->attach(c.socket.fd());
    for (;;) {
        TlsStep s = c.tls->handshakeStep();
        if (s == TlsStep::Done || s == TlsStep::Failed) return s;
        if (!waitFd(c.socket.fd(), s == TlsStep::WantRead ? POLLIN : POLLOUT)) return TlsStep::Failed;
    }
}

std::string readText(Client& c, size_t n) {
    std::string got;
    while (got.size() < n) {
        uint8_t buf[64];
        IoResult r = c.tls->read(buf, sizeof buf);
        if (r.status == IoStatus::WouldBlock) {
            if (!c.tls->pending() && !waitFd(c.socket.fd(), POLLIN)) break;
            continue;
        }
        if (r.status != IoStatus::Ok) break;
        got.append(reinterpret_cast<char*>(buf), r.n);
    }
    return got;
}

std::vector<std::string> pskServerArgs(Variant v) {
    const auto& info = variantInfo(v);
    return {"-nocert", "-psk", std::string(info.pskKeyHex), "-psk_identity", std::string(info.pskIdentity),
            "-tls1_2", "-cipher", "PSK-AES128-CBC-SHA256", "-naccept", "1"};
}

class TlsAgainstOpenssl : public ::testing::TestWithParam<Variant> {
protected:
    void SetUp() override {
        if (test::opensslPath().empty()) GTEST_SKIP() << "openssl is not installed";
    }
};

TEST_P(TlsAgainstOpenssl, HandshakeWithTheVariantKeyAndEchoThroughIt) {
    PeerProcess server;
    auto args = pskServerArgs(GetParam());
    args.push_back("-rev");
    uint16_t port = test::startOpensslServer(server, args);
    ASSERT_NE(port, 0) << server.transcript();

    Client c;
    ASSERT_EQ(connectAndHandshake(c, port, GetParam()), TlsStep::Done) << server.transcript();
    EXPECT_EQ(c.tls->cipherSuite(), "TLS-PSK-WITH-AES-128-CBC-SHA256");
    const std::string line = "panel\n";
    IoResult w = c.tls->write(reinterpret_cast<const uint8_t*>(line.data()), line.size());
    ASSERT_EQ(w.status, IoStatus::Ok);
    ASSERT_EQ(w.n, line.size());
    EXPECT_EQ(readText(c, 6), "lenap\n");
}

// ORVENA's configuration starts empty: no encrypt-then-MAC (22) and no
// extended master secret (23); KESTRALO's library defaults send both.
// Both ask for 512-byte fragments (1).
TEST_P(TlsAgainstOpenssl, HelloExtensionsFollowTheVariant) {
    PeerProcess server;
    auto args = pskServerArgs(GetParam());
    args.push_back("-tlsextdebug");
    uint16_t port = test::startOpensslServer(server, args);
    ASSERT_NE(port, 0) << server.transcript();

    Client c;
    ASSERT_EQ(connectAndHandshake(c, port, GetParam()), TlsStep::Done) << server.transcript();
    const std::string hello = "x";
    c.tls->write(reinterpret_cast<const uint8_t*>(hello.data()), hello.size());
    ASSERT_TRUE(server.waitFor("CIPHER is")) << server.transcript();
    const std::string& t = server.transcript();
    const bool kestralo = GetParam() == Variant::Kestralo;
    EXPECT_EQ(t.find("(id=22)") != std::string::npos, kestralo) << t;
    EXPECT_EQ(t.find("(id=23)") != std::string::npos, kestralo) << t;
    EXPECT_NE(t.find("max fragment length\" (id=1)"), std::string::npos) << t;
}

TEST_P(TlsAgainstOpenssl, AnotherKeyFailsTheHandshake) {
    PeerProcess server;
    const Variant other = GetParam() == Variant::Orvena ? Variant::Kestralo : Variant::Orvena;
    auto args = pskServerArgs(GetParam());
    args[2] = std::string(variantInfo(other).pskKeyHex);
    uint16_t port = test::startOpensslServer(server, args);
    ASSERT_NE(port, 0) << server.transcript();

    Client c;
    EXPECT_EQ(connectAndHandshake(c, port, GetParam()), TlsStep::Failed);
}

// Every suite is offered, so a server could choose one that authenticates
// itself by certificate; without a trust anchor such a server is refused.
TEST_P(TlsAgainstOpenssl, ServerWithACertificateInsteadOfTheKeyIsRefused) {
    test::TempDir dir;
    PeerProcess gen;
    ASSERT_TRUE(gen.start(test::opensslPath(),
                          {"req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes",
                           "-subj", "/CN=impostor", "-days", "1", "-keyout", dir.file("k.pem"), "-out",
                           dir.file("c.pem")}));
    ASSERT_EQ(gen.wait(), 0);
    PeerProcess server;
    uint16_t port = test::startOpensslServer(
        server, {"-cert", dir.file("c.pem"), "-key", dir.file("k.pem"), "-tls1_2", "-naccept", "1"});
    ASSERT_NE(port, 0) << server.transcript();

    Client c;
    EXPECT_EQ(connectAndHandshake(c, port, GetParam()), TlsStep::Failed);
}

INSTANTIATE_TEST_SUITE_P(Variants, TlsAgainstOpenssl, ::testing::Values(Variant::Orvena, Variant::Kestralo),
                         [](const auto& i) { return i.param == Variant::Orvena ? "Orvena" : "Kestralo"; });

TEST(TlsKey, HexTextToBytes) {
    EXPECT_EQ(bytesFromHex("00aF10"), (std::vector<uint8_t>{0x00, 0xAF, 0x10}));
    EXPECT_TRUE(bytesFromHex("0").empty());
    EXPECT_TRUE(bytesFromHex("zz").empty());
    TlsPsk k = variantPsk(Variant::Kestralo);
    EXPECT_EQ(k.identity, "Kestralo key");
    ASSERT_EQ(k.key.size(), 32u);
    EXPECT_EQ(k.key[0], 0x5B);
    EXPECT_EQ(k.key[31], 0xB5);
    EXPECT_EQ(variantPsk(Variant::Orvena).identity.size(), 10u);
}

}  // namespace
}  // namespace vesk
