// The bridge's broker connection through TLS with a login, against a
// mosquitto listener that demands both.
#include <gtest/gtest.h>
#include <sys/socket.h>

#include <cstdlib>

#include "bridge/mqtt_probe.h"

namespace vesk::test {
namespace {

using namespace std::chrono;

TEST(BridgeBroker, LogsInOverTlsAndIsRefusedAWrongPassword) {
    TempDir keys;
    const std::string cert = keys.file("broker.pem"), key = keys.file("broker.key");
    const std::string make = "openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj /CN=localhost -addext "
                             "subjectAltName=DNS:localhost,IP:127.0.0.1 -keyout " + key + " -out " + cert +
                             " >/dev/null 2>&1 && mosquitto_passwd -c -b " + keys.file("passwd") +
                             " panel-bridge s3cret >/dev/null 2>&1";
    ASSERT_EQ(std::system(make.c_str()), 0);
    const int tlsPort = freeLoopbackPort(SOCK_STREAM);
    // Run as root, mosquitto would drop to its own user, who cannot read
    // the test's private folder.
    Broker broker("user root\nlistener " + std::to_string(tlsPort) + " 127.0.0.1\ncertfile " + cert + "\nkeyfile " + key +
                  "\npassword_file " + keys.file("passwd") + "\nallow_anonymous false\n");
    ASSERT_TRUE(broker.start());
    MqttProbe probe(broker.port());
    ASSERT_TRUE(probe.connected());

    auto bridgeWith = [&](const std::string& password, ChildProcess& p) {
        return p.start(binDir() + "vesk-mqtt",
                       {"--broker", "127.0.0.1", "--broker-port", std::to_string(tlsPort), "--tls-ca", cert,
                        "--username", "panel-bridge", "--password", password, "--client-id",
                        "bridge-" + password, "--panel", "127.0.0.1:1,1,1"});
    };
    ChildProcess wrong;
    ASSERT_TRUE(bridgeWith("guess", wrong));
    bool refused = false;
    for (int i = 0; i < 20 && !refused; ++i) {
        auto line = wrong.readLine(seconds(2));
        refused = line && line->find("refused the connection") != std::string::npos;
    }
    EXPECT_TRUE(refused);

    ChildProcess right;
    ASSERT_TRUE(bridgeWith("s3cret", right));
    EXPECT_TRUE(probe.waitFor(
        [](const MqttMessage& m) { return m.topic == "vesk/bridge/availability" && m.payload == "online"; },
        seconds(20)));
    for (const MqttMessage& m : probe.all())
        EXPECT_FALSE(m.topic == "vesk/1/availability" && m.payload == "online") << "no panel at port 1";
}

}  // namespace
}  // namespace vesk::test
