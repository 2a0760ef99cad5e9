// Commands from the set-topics: payloads, range checks and the protocol
// requests they become; the bridge's settings.
#include <gtest/gtest.h>

#include "bridge/bridge_config.h"
#include "bridge/commands.h"
#include "support/test_support.h"

namespace vesk::bridge {
namespace {

using nlohmann::json;

const std::map<std::string, int64_t> kCurrent = {
    {"FUEL", 2}, {"HEAT_MODE", 1}, {"USE_HYDROSEP", 0}, {"PUMPS_IDLE_MODE", 0},
    {"TPUMPS_ON", 40}, {"TPUMPS_ON_HSEP", 45}, {"TDHW_UST", 50}};

CommandPlan plan(const char* item, const std::string& payload, Variant v = Variant::Orvena) {
    ParsedPayload p;
    std::string error;
    if (!parsePayload(payload, p, error)) {
        CommandPlan failed;
        failed.error = error;
        return failed;
    }
    return planCommand(*findCommandItem(item), p.value, v, kCurrent);
}

TEST(BridgeCommands, BadPayloadsAreRefusedBeforeAnythingIsSent) {
    for (const char* bad : {"{\"value\": ", "seventy", "", "{\"val\": 70}", "[70]", "{\"value\": null}"}) {
        const CommandPlan p = plan("water_setpoint", bad);
        EXPECT_FALSE(p.ok) << bad;
        EXPECT_FALSE(p.error.empty()) << bad;
        EXPECT_TRUE(p.requests.empty()) << bad;
    }
    EXPECT_EQ(plan("water_setpoint", "{\"value\": ").error, "malformed JSON");
    for (const char* bad : {"70.5", "-1", "300", "\"hot\""}) EXPECT_FALSE(plan("water_setpoint", bad).ok) << bad;
    for (const char* bad : {"4", "36", "99"}) EXPECT_FALSE(plan("room_setpoint", bad).ok) << bad;
    EXPECT_FALSE(plan("heat_mode", "\"turbo\"").ok);
    EXPECT_FALSE(plan("burner", "\"maybe\"").ok);
    const CommandPlan mode = plan("burner_mode", "1");
    EXPECT_FALSE(mode.ok) << "the protocol cannot change BURN_MODE";
    EXPECT_NE(mode.error.find("panel"), std::string::npos);
}

TEST(BridgeCommands, RangesAtTheirLimits) {
    EXPECT_TRUE(plan("room_setpoint", "5").ok);
    EXPECT_TRUE(plan("room_setpoint", "35").ok);
    EXPECT_FALSE(plan("room_setpoint", "36").ok);
    EXPECT_TRUE(plan("dhw_setpoint", "80").ok);
    EXPECT_FALSE(plan("dhw_setpoint", "81").ok);
    // KESTRALO bounds hot water by a setting the bridge cannot see: the
    // panel judges.
    EXPECT_TRUE(plan("dhw_setpoint", "81", Variant::Kestralo).ok);
    EXPECT_FALSE(plan("heat_mode", "4").ok);
    EXPECT_TRUE(plan("heat_mode", "3").ok);
}

TEST(BridgeCommands, RequestsCarryTheOtherFieldsAsTheyAre) {
    CommandPlan p = plan("water_setpoint", "{\"value\": 70.0, \"id\": \"x\"}");
    ASSERT_TRUE(p.ok) << p.error;
    ASSERT_EQ(p.requests.size(), 1u);
    EXPECT_EQ(p.requests[0].code, 3);
    EXPECT_EQ(p.requests[0].data, (std::vector<uint8_t>{70, 0}));

    p = plan("dhw_setpoint", "55");
    ASSERT_TRUE(p.ok) << p.error;
    EXPECT_EQ(p.requests[0].command, "SetPumps");
    EXPECT_EQ(p.requests[0].data, (std::vector<uint8_t>{0, 40, 45, 55}));

    p = plan("heat_mode", "\"dhw_only\"", Variant::Kestralo);
    ASSERT_TRUE(p.ok) << p.error;
    EXPECT_EQ(p.requests[0].code, 11) << "KESTRALO's SetFuelAndHeatMode";
    EXPECT_EQ(p.requests[0].data, (std::vector<uint8_t>{2, 3, 0}));

    for (Variant v : {Variant::Orvena, Variant::Kestralo}) {
        p = plan("burner", "{\"value\": \"stop\"}", v);
        ASSERT_TRUE(p.ok);
        EXPECT_EQ(p.requests[0].code, isKestralo(v) ? 19 : 23);
        EXPECT_EQ(p.requests[0].data, (std::vector<uint8_t>{0, 0}));
        EXPECT_EQ(plan("burner", "\"start\"", v).requests.at(0).data, (std::vector<uint8_t>{1, 0}));
    }
}

TEST(BridgeConfig, FileThenFlagsAndPanelsWithTheirPasswords) {
    test::TempDir dir;
    test::writeText(dir.file("vesk-mqtt.conf"),
                    "# bridge\nbroker=mqtt.local\nbroker-port=8883\ntls=1\npanel=10.0.0.5,4711\n"
                    "panel=10.0.0.6:2000,4712,99\npanel-password=123456\npoll=5\n");
    std::vector<std::string> args = {"vesk-mqtt", "--config", dir.file("vesk-mqtt.conf"), "--broker", "127.0.0.1",
                                     "--panel", "127.0.0.9"};
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    BridgeConfig c;
    std::string error;
    ASSERT_TRUE(parseArguments(c, static_cast<int>(argv.size()), argv.data(), error)) << error;
    EXPECT_EQ(c.broker.host, "127.0.0.1") << "flags win";
    EXPECT_EQ(c.broker.port, 8883);
    EXPECT_TRUE(c.broker.tls);
    EXPECT_EQ(c.timing.poll, std::chrono::seconds(5));
    ASSERT_EQ(c.panels.size(), 3u);
    EXPECT_EQ(c.panels[0].host, "10.0.0.5");
    EXPECT_EQ(*c.panels[0].serial, 4711u);
    EXPECT_EQ(c.panels[0].password, 123456u) << "panel-password applies wherever it stands";
    EXPECT_EQ(c.panels[1].port, 2000);
    EXPECT_EQ(c.panels[1].password, 99u);
    EXPECT_FALSE(c.panels[2].serial) << "asked by discovery";

    for (std::vector<std::string> bad : {std::vector<std::string>{"vesk-mqtt", "--broker-port", "0", "--panel", "h"},
                                         {"vesk-mqtt", "--panel", "h:x"},
                                         {"vesk-mqtt", "--frobnicate", "1", "--panel", "h"},
                                         {"vesk-mqtt", "--broker", "h"}}) {
        std::vector<char*> v;
        for (auto& a : bad) v.push_back(a.data());
        BridgeConfig b;
        EXPECT_FALSE(parseArguments(b, static_cast<int>(v.size()), v.data(), error)) << bad[1];
    }
}

}  // namespace
}  // namespace vesk::bridge
