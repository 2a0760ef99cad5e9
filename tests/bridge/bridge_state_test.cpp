// What the bridge publishes, from records the panel's own code builds: the
// state JSON, the alarms and Home Assistant's discovery configs.
#include <gtest/gtest.h>

#include <set>

#include "bridge/ha_discovery.h"
#include "bridge/panel_state.h"
#include "control/faults.h"
#include "core/controller_state.h"
#include "net/status_record.h"
#include "settings/param_table.h"

namespace vesk::bridge {
namespace {

using nlohmann::json;

class StateOf : public ::testing::TestWithParam<Variant> {
protected:
    StateOf() : s(GetParam()) {
        serviceDefaults(s.settings, GetParam(), true);
        userDefaults(s.settings, GetParam(), false, 1);
        for (int i = 0; i <= kSensorValve2; ++i) s.sensors[i] = 20;
        device.serial = 4711;
        device.variant = GetParam();
    }
    json state() {
        const auto record = buildStatusRecord(s, 0, FuelReadout{12, 80, 300, 40, 5000, 57});
        const uint16_t a = statusWordA(s.faults), b = statusWordB(s, WordBUse::Record);
        return stateJson(device, record, alarmsOf(GetParam(), a, b, 0));
    }
    ControllerState s;
    PanelDevice device;
};

TEST_P(StateOf, ReadingsOutputsAndAlarms) {
    s.sensors[kSensorWater] = 63;
    s.sensors[kSensorGas] = kInvalidTemp;
    s.sensors[kSensorOutdoor] = -7;
    s.usr.TWAT_UST = 72;
    s.burnerState = kBurning;
    s.reportedBurnerState = kBurning;
    s.pumpCh = 1;
    s.fanPower = 100;
    s.faults = kFaultOverheat | kFaultWaterSensor;
    s.warnings = kWarnWentOut;
    const json j = state();
    ASSERT_TRUE(j.is_object());
    EXPECT_EQ(j["water_temp"], 63);
    EXPECT_TRUE(j["flue_gas_temp"].is_null()) << "a missing reading is null, not 16384";
    EXPECT_EQ(j["outdoor_temp"], -7);
    EXPECT_EQ(j["water_setpoint"], 72);
    EXPECT_EQ(j["burner_state"], "burning");
    EXPECT_EQ(j["burner_mode"], "automatic");
    EXPECT_EQ(j["pump_ch"], true);
    EXPECT_EQ(j["pump_dhw"], false);
    EXPECT_EQ(j["fan"], true);
    EXPECT_EQ(j["fault_ids"], json({"overheat", "water_sensor"}));
    EXPECT_EQ(j["faults"], json({"Перегрев котла", "Датчик температуры воды"})) << "the panel's own texts";
    EXPECT_EQ(j["problem"], true);
    EXPECT_EQ(j["warnings"], json({"Котел затух"}));
    if (isKestralo(GetParam())) {
        EXPECT_FALSE(j.contains("fuel_total_kg")) << "KESTRALO keeps no fuel counters";
        EXPECT_FALSE(j.contains("igniter"));
    } else {
        EXPECT_EQ(j["fuel_total_kg"], 5000);
        EXPECT_EQ(j["fuel_24h_kg"], 12);
        EXPECT_TRUE(j["bunker_percent"].is_null()) << "no bunker-full sensor: level unknown";
    }
}

TEST_P(StateOf, NoAlarmsGiveEmptyLists) {
    const json j = state();
    EXPECT_EQ(j["faults"], json::array());
    EXPECT_EQ(j["warning_ids"], json::array());
    EXPECT_EQ(j["problem"], false);
}

INSTANTIATE_TEST_SUITE_P(Variants, StateOf, ::testing::Values(Variant::Orvena, Variant::Kestralo));

TEST(Alarms, WordBBitNineByVariantAndSource) {
    // ORVENA: bunker filling failed, from either source.
    auto o = alarmsOf(Variant::Orvena, 0, 0x200, 0);
    ASSERT_EQ(o.warnings.size(), 1u);
    EXPECT_EQ(o.warnings[0].id, "bunker_fill_failed");
    // KESTRALO: the record's bit means nothing; the notification's is the
    // phasing warning, with the panel's text.
    EXPECT_TRUE(alarmsOf(Variant::Kestralo, 0, 0x200, 0).warnings.empty());
    auto k = alarmsOf(Variant::Kestralo, 0, 0, 0x200);
    ASSERT_EQ(k.warnings.size(), 1u);
    EXPECT_EQ(k.warnings[0].id, "wrong_phasing");
    EXPECT_EQ(k.warnings[0].text.rfind("Неправильная фазировка сети 220В!", 0), 0u) << k.warnings[0].text;
    // Bunker empty has no panel text: its name stands in.
    EXPECT_EQ(alarmsOf(Variant::Orvena, 0, 0x100, 0).warnings.at(0).text, "bunker empty");
}

TEST(Alarms, EveryFaultOfWordAHasItsPanelText) {
    for (int bit = 0; bit < 12; ++bit) {
        const auto f = client::activeFaults(static_cast<uint16_t>(1u << bit));
        if (bit == 2) {
            EXPECT_TRUE(f.empty());
            continue;
        }
        ASSERT_EQ(f.size(), 1u) << bit;
        EXPECT_EQ(statusWordA(f[0].code), 1u << bit) << "code is the panel's fault bit";
        EXPECT_FALSE(f[0].text.empty());
        EXPECT_NE(f[0].text.back(), '\n');
    }
}

class Discovery : public ::testing::TestWithParam<Variant> {};

TEST_P(Discovery, ConfigsAreValidWithTheRequiredFields) {
    PanelDevice d;
    d.serial = 4711;
    d.variant = GetParam();
    d.powerKw = 25;
    d.boardType = isKestralo(GetParam()) ? 0x2214 : 0x221;
    const Topics t;
    const auto configs = discoveryConfigs(t, d);
    std::set<std::string> ids, components, objects;
    for (const DiscoveryConfig& c : configs) {
        const json j = json::parse(c.payload, nullptr, false);
        ASSERT_FALSE(j.is_discarded()) << c.payload;
        // homeassistant/<component>/vesk_4711/<object>/config
        ASSERT_EQ(c.topic.rfind("homeassistant/", 0), 0u) << c.topic;
        const size_t a = c.topic.find('/', 14);
        components.insert(c.topic.substr(14, a - 14));
        EXPECT_EQ(c.topic.compare(a, 11, "/vesk_4711/"), 0) << c.topic;
        const std::string object = c.topic.substr(a + 11, c.topic.size() - a - 11 - 7);
        objects.insert(object);
        EXPECT_EQ(c.topic.substr(c.topic.size() - 7), "/config");
        EXPECT_TRUE(ids.insert(j.at("unique_id").get<std::string>()).second) << "unique_id repeats: " << c.topic;
        EXPECT_EQ(j.at("unique_id"), "vesk_4711_" + object);
        EXPECT_TRUE(j.at("name").is_string());
        const json& dev = j.at("device");
        EXPECT_EQ(dev.at("identifiers"), json({"vesk_4711"}));
        EXPECT_EQ(dev.at("serial_number"), "4711");
        EXPECT_NE(dev.at("model").get<std::string>().find(variantName(GetParam())), std::string::npos);
        EXPECT_EQ(dev.at("sw_version"), isKestralo(GetParam()) ? "4.1.7" : "4.1.1");
        EXPECT_EQ(dev.at("hw_version"), isKestralo(GetParam()) ? "2.2.1.4" : "2.2.1");
        ASSERT_EQ(j.at("availability").size(), 2u);
        EXPECT_EQ(j.at("availability")[1].at("topic"), "vesk/4711/availability");
        if (j.contains("command_topic"))
            EXPECT_EQ(j["command_topic"].get<std::string>().rfind("vesk/4711/set/", 0), 0u);
        else
            EXPECT_EQ(j.at("state_topic"), "vesk/4711/state");
    }
    EXPECT_EQ(components, (std::set<std::string>{"sensor", "binary_sensor", "number", "select", "button"}));
    for (const char* o : {"water_temp", "fault_water_sensor", "pump_ch", "water_setpoint", "room_setpoint",
                          "dhw_setpoint", "heat_mode", "start", "stop", "problem"})
        EXPECT_TRUE(objects.count(o)) << o;
    EXPECT_EQ(objects.count("fuel_total_kg"), isKestralo(GetParam()) ? 0u : 1u);
}

INSTANTIATE_TEST_SUITE_P(Variants, Discovery, ::testing::Values(Variant::Orvena, Variant::Kestralo));

}  // namespace
}  // namespace vesk::bridge
