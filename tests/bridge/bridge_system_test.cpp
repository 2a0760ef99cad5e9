// vesk-mqtt as a real process between a real controller (with boiler-sim on
// its serial line) and a real mosquitto broker, watched by an MQTT client.
#include <gtest/gtest.h>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <filesystem>
#include <thread>
#include <nlohmann/json.hpp>

#include "bridge/mqtt_probe.h"
#include "platform/wait_until.h"
#include "support/child_process.h"
#include "support/test_support.h"

namespace vesk::test {
namespace {

using namespace std::chrono;
using nlohmann::json;

constexpr auto kWait = seconds(30);

// One command on the simulator's control socket; its reply line.
std::string simCommand(const std::string& socketPath, const std::string& line) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un a{};
    a.sun_family = AF_UNIX;
    std::snprintf(a.sun_path, sizeof a.sun_path, "%s", socketPath.c_str());
    std::string reply;
    if (::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0) {
        const std::string l = line + "\n";
        (void)!::write(fd, l.data(), l.size());
        char c;
        while (::read(fd, &c, 1) == 1 && c != '\n') reply += c;
    }
    ::close(fd);
    return reply;
}

json parsed(const MqttMessage& m) { return json::parse(m.payload, nullptr, false); }

class BridgeSystem : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        std::filesystem::create_directories(home.file("CFG"));
        writeText(home.file("CFG/service.cfg"), "SERIAL=4711\n");
        writeText(home.file("CFG/user.cfg"), "FUEL=2\nEN_AUTOHEATER=1\nLAN_EN_LOC=1\nLAN_PWD=123456\n");
        ASSERT_TRUE(broker.start());
        const bool kestralo = std::string(GetParam()) == "KESTRALO";
        ASSERT_TRUE(sim.start(binDir() + "boiler-sim", {"--no-stdin", "--print-every", "0", "--control",
                                                        home.file("sim.sock"), "--variant",
                                                        kestralo ? "kestralo" : "orvena"}));
        const auto first = sim.readLine(kWait);
        ASSERT_TRUE(first && first->rfind("VESK_COM1=", 0) == 0);
        com1 = first->substr(10);
        startPanel();
        ASSERT_TRUE(bridge.start(binDir() + "vesk-mqtt",
                                 {"--broker", "127.0.0.1", "--broker-port", std::to_string(broker.port()), "--panel",
                                  "127.0.0.1:" + port + ",4711,123456", "--poll", "1", "--timeout", "2",
                                  "--backoff-max", "2"}));
    }
    void startPanel() {
        ASSERT_TRUE(panel.start(binDir() + GetParam(), {},
                                {{"VESK_HOME", home.path()},
                                 {"VESK_COM1", com1},
                                 {"VESK_DISPLAY", "headless"},
                                 {"VESK_NET_IFACE", "lo"},
                                 {"VESK_PORT_LOCAL", port},
                                 {"VESK_PORT_DISCOVERY", discovery}}));
    }
    // The first state after `from` for which `match` holds.
    std::optional<json> stateWhere(MqttProbe& p, const std::function<bool(const json&)>& match, size_t from = 0) {
        auto m = p.waitFor(
            [&](const MqttMessage& x) {
                if (x.topic != "vesk/4711/state") return false;
                const json j = parsed(x);
                return j.is_object() && match(j);
            },
            kWait, from);
        if (!m) return std::nullopt;
        return parsed(*m);
    }
    // Sends a command and returns its answer.
    json command(MqttProbe& p, const std::string& item, const std::string& payload) {
        const size_t from = p.seen();
        p.publish("vesk/4711/set/" + item, payload);
        auto r = p.waitForTopic("vesk/4711/result", kWait, from);
        return r ? parsed(*r) : json();
    }

    TempDir home;
    Broker broker;
    ChildProcess sim, panel, bridge;
    std::string com1;
    const std::string port = std::to_string(freeLoopbackPort(SOCK_STREAM));
    const std::string discovery = std::to_string(freeLoopbackPort(SOCK_DGRAM));
};

TEST_P(BridgeSystem, FollowsThePanelAndCommandsIt) {
    MqttProbe probe(broker.port());
    ASSERT_TRUE(probe.connected());
    ASSERT_TRUE(probe.waitFor([](const MqttMessage& m) { return m.topic == "vesk/4711/availability" && m.payload == "online"; }, kWait));
    EXPECT_TRUE(probe.waitFor([](const MqttMessage& m) { return m.topic == "vesk/bridge/availability" && m.payload == "online"; }, kWait));

    // Discovery: valid JSON, the device and a unique id on each.
    ASSERT_TRUE(probe.waitForTopic("homeassistant/number/vesk_4711/water_setpoint/config", kWait));
    int configs = 0;
    for (const MqttMessage& m : probe.all()) {
        if (m.topic.rfind("homeassistant/", 0) != 0) continue;
        ++configs;
        const json j = parsed(m);
        ASSERT_TRUE(j.is_object()) << m.topic;
        EXPECT_TRUE(j.contains("unique_id") && j.contains("device") && j.contains("availability")) << m.topic;
        EXPECT_EQ(j["device"]["serial_number"], "4711");
    }
    EXPECT_GT(configs, 20);

    // The state follows the simulated boiler.
    EXPECT_EQ(simCommand(home.file("sim.sock"), "sensor water 55").rfind("ok", 0), 0u);
    ASSERT_TRUE(stateWhere(probe, [](const json& j) { return j["water_temp"] == 55; }));
    auto r = command(probe, "burner", "\"start\"");
    EXPECT_EQ(r["result"], "done") << r;
    ASSERT_TRUE(stateWhere(probe, [](const json& j) { return j["burner_state"] == "ignition"; }));

    // A set-point reaches user.cfg.
    r = command(probe, "water_setpoint", "{\"value\": 70, \"id\": 7}");
    EXPECT_EQ(r["result"], "done") << r;
    EXPECT_EQ(r["id"], 7);
    // Remote changes are saved a moment later, gathered with any others.
    EXPECT_TRUE(waitUntil([&] { return readText(home.file("CFG/user.cfg")).find("TWAT_UST=70\n") != std::string::npos; }));

    // Bad input is answered and changes nothing.
    const std::string saved = readText(home.file("CFG/user.cfg"));
    r = command(probe, "water_setpoint", "{\"value\": ");
    EXPECT_EQ(r["result"], "invalid") << r;
    EXPECT_EQ(r["message"], "malformed JSON");
    r = command(probe, "water_setpoint", "99");
    EXPECT_EQ(r["result"], "refused") << "above TWAT_UST_LIMIT_MAX: the panel says no " << r;
    r = command(probe, "room_setpoint", "{\"value\": 99}");
    EXPECT_EQ(r["result"], "invalid") << r;
    r = command(probe, "burner_mode", "1");
    EXPECT_EQ(r["result"], "invalid") << r;
    // Longer than a gathered save takes to reach the disk.
    std::this_thread::sleep_for(seconds(2));
    EXPECT_EQ(readText(home.file("CFG/user.cfg")), saved);

    // A fault: an event, and the binary sensor's id in the state; cleared
    // again: the other event and an empty list.
    size_t from = probe.seen();
    EXPECT_EQ(simCommand(home.file("sim.sock"), "sensor water open").rfind("ok", 0), 0u);
    auto raised = probe.waitForTopic("vesk/4711/event", kWait, from);
    ASSERT_TRUE(raised);
    json e = parsed(*raised);
    EXPECT_EQ(e["event"], "raised");
    EXPECT_EQ(e["id"], "water_sensor");
    EXPECT_EQ(e["code"], 4);
    EXPECT_EQ(e["text"], "Датчик температуры воды");
    EXPECT_FALSE(raised->retained);
    EXPECT_TRUE(e.contains("time"));
    ASSERT_TRUE(stateWhere(probe, [](const json& j) { return j["fault_ids"] == json({"water_sensor"}); }, from));
    from = probe.seen();
    EXPECT_EQ(simCommand(home.file("sim.sock"), "sensor water 55").rfind("ok", 0), 0u);
    auto cleared = probe.waitFor([](const MqttMessage& m) { return m.topic == "vesk/4711/event" && m.payload.find("\"cleared\"") != std::string::npos; }, kWait, from);
    ASSERT_TRUE(cleared);
    EXPECT_EQ(parsed(*cleared)["id"], "water_sensor");
    ASSERT_TRUE(stateWhere(probe, [](const json& j) { return j["fault_ids"].empty() && j["problem"] == false; }, from));
}

TEST_P(BridgeSystem, RepublishesToARestartedBrokerAndTellsWhenThePanelIsGone) {
    {
        MqttProbe probe(broker.port());
        ASSERT_TRUE(probe.waitFor([](const MqttMessage& m) { return m.topic == "vesk/4711/availability" && m.payload == "online"; }, kWait));
    }
    // A broker without persistence comes back empty: whatever it holds
    // afterwards the bridge has published again.
    broker.stop();
    ASSERT_TRUE(broker.start());
    MqttProbe probe(broker.port());
    ASSERT_TRUE(probe.connected());
    EXPECT_TRUE(probe.waitForTopic("homeassistant/sensor/vesk_4711/water_temp/config", kWait));
    EXPECT_TRUE(probe.waitForTopic("vesk/4711/state", kWait));
    EXPECT_TRUE(probe.waitFor([](const MqttMessage& m) { return m.topic == "vesk/4711/availability" && m.payload == "online"; }, kWait));

    size_t from = probe.seen();
    panel.kill();
    EXPECT_TRUE(probe.waitFor([](const MqttMessage& m) { return m.topic == "vesk/4711/availability" && m.payload == "offline"; }, kWait, from));
    EXPECT_TRUE(bridge.running()) << "a dead panel does not end the bridge";
    // A command meanwhile is answered, not kept for ever.
    from = probe.seen();
    probe.publish("vesk/4711/set/water_setpoint", "70");
    auto r = probe.waitForTopic("vesk/4711/result", kWait, from);
    ASSERT_TRUE(r);
    EXPECT_EQ(parsed(*r)["result"], "offline");

    from = probe.seen();
    startPanel();
    EXPECT_TRUE(probe.waitFor([](const MqttMessage& m) { return m.topic == "vesk/4711/availability" && m.payload == "online"; }, kWait, from));
}

// Panels found by discovery, next to a panel that takes connections and
// never answers: the silent one holds up nothing.
TEST_P(BridgeSystem, FindsPanelsByDiscoveryAndWaitsOnNoDeadOne) {
    bridge.kill();
    const int silent = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof a;
    ASSERT_EQ(::bind(silent, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
    ASSERT_EQ(::listen(silent, 8), 0);
    ::getsockname(silent, reinterpret_cast<sockaddr*>(&a), &len);
    MqttProbe probe(broker.port());
    ASSERT_TRUE(bridge.start(binDir() + "vesk-mqtt",
                             {"--broker-port", std::to_string(broker.port()), "--panel",
                              "127.0.0.1:" + std::to_string(ntohs(a.sin_port)) + ",999,1", "--discover", "127.0.0.1",
                              "--discovery-port", discovery, "--panel-port", port, "--panel-password", "123456",
                              "--timeout", "10"}));
    EXPECT_TRUE(probe.waitFor([](const MqttMessage& m) { return m.topic == "vesk/4711/availability" && m.payload == "online"; }, kWait));
    EXPECT_TRUE(probe.waitForTopic("vesk/4711/state", kWait));
    for (const MqttMessage& m : probe.all())
        EXPECT_FALSE(m.topic == "vesk/999/availability" && m.payload == "online");
    ::close(silent);
}

INSTANTIATE_TEST_SUITE_P(BothVariants, BridgeSystem, ::testing::Values("ORVENA", "KESTRALO"));

}  // namespace
}  // namespace vesk::test
