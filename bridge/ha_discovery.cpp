// Sensors, binary sensors, set-point numbers, the heat-mode select and the
// start/stop buttons of a panel, as Home Assistant discovers them.
#include "bridge/ha_discovery.h"

#include "bridge/commands.h"

namespace vesk::bridge {
namespace {

using nlohmann::json;

class Builder {
public:
    Builder(const Topics& t, const PanelDevice& d) : t_(t), d_(d) {
        const std::string id = "vesk_" + std::to_string(d.serial);
        device_ = {{"identifiers", json::array({id})},
                   {"name", "Vesk " + variantName(d.variant) + " " + std::to_string(d.serial)},
                   {"manufacturer", "Vesk"},
                   {"model", modelText(d)},
                   {"serial_number", std::to_string(d.serial)},
                   {"sw_version", softwareVersion(d.variant)},
                   {"hw_version", firmwareText(d)}};
    }

    // The fields every entity has; the entity reads the panel's state.
    json base(const std::string& object, const std::string& name) const {
        const std::string s = std::to_string(d_.serial);
        return {{"name", name},
                {"unique_id", "vesk_" + s + "_" + object},
                {"object_id", "vesk_" + s + "_" + object},
                {"device", device_},
                {"state_topic", t_.state(d_.serial)},
                {"availability",
                 json::array({{{"topic", t_.bridgeAvailability()}}, {{"topic", t_.availability(d_.serial)}}})},
                {"availability_mode", "all"}};
    }
    void add(const std::string& component, const std::string& object, json config) {
        out_.push_back({t_.discovery(component, d_.serial, object), config.dump()});
    }
    void commandable(json& c, const std::string& item, const std::string& commandTemplate) const {
        c["command_topic"] = t_.command(d_.serial, item);
        if (!commandTemplate.empty()) c["command_template"] = commandTemplate;
    }
    std::vector<DiscoveryConfig> take() { return std::move(out_); }

private:
    const Topics& t_;
    const PanelDevice& d_;
    json device_;
    std::vector<DiscoveryConfig> out_;
};

std::string valueOf(const std::string& key) { return "{{ value_json." + key + " }}"; }

}  // namespace

std::vector<DiscoveryConfig> discoveryConfigs(const Topics& t, const PanelDevice& d) {
    Builder b(t, d);
    for (const ReadingKey& r : readingKeys()) {
        json c = b.base(r.key, r.name);
        c["device_class"] = "temperature";
        c["unit_of_measurement"] = "°C";
        c["state_class"] = "measurement";
        c["value_template"] = valueOf(r.key);
        b.add("sensor", r.key, c);
    }
    json power = b.base("power", "Power");
    power["unit_of_measurement"] = "%";
    power["state_class"] = "measurement";
    power["value_template"] = valueOf("power");
    b.add("sensor", "power", power);
    for (const char* key : {"burner_state", "burner_mode"}) {
        json c = b.base(key, key == std::string("burner_state") ? "Burner state" : "Burner mode");
        c["value_template"] = valueOf(key);
        b.add("sensor", key, c);
    }
    for (const char* key : {"faults", "warnings"}) {
        json c = b.base(key, key == std::string("faults") ? "Faults" : "Warnings");
        // A sensor's state holds at most 255 characters.
        c["value_template"] = "{{ (value_json." + std::string(key) + " | join('; ') or 'none')[:250] }}";
        b.add("sensor", key, c);
    }
    if (!isKestralo(d.variant)) {
        for (const char* key : {"fuel_24h_kg", "fuel_week_kg", "fuel_month_kg", "fuel_own_kg", "fuel_total_kg"}) {
            json c = b.base(key, std::string("Fuel ") + (key + 5));
            c["unit_of_measurement"] = "kg";
            c["device_class"] = "weight";
            c["state_class"] = key == std::string("fuel_total_kg") ? "total_increasing" : "measurement";
            c["value_template"] = valueOf(key);
            b.add("sensor", key, c);
        }
        json bunker = b.base("bunker_percent", "Bunker");
        bunker["unit_of_measurement"] = "%";
        bunker["value_template"] = "{{ value_json.bunker_percent if value_json.bunker_percent is not none else 'unknown' }}";
        b.add("sensor", "bunker_percent", bunker);
    }

    json problem = b.base("problem", "Fault");
    problem["device_class"] = "problem";
    problem["value_template"] = "{{ 'ON' if value_json.problem else 'OFF' }}";
    b.add("binary_sensor", "problem", problem);
    for (const client::AlarmKind& k : client::faultKinds()) {
        const std::string object = std::string("fault_") + k.id;
        json c = b.base(object, std::string("Fault: ") + k.name);
        c["device_class"] = "problem";
        c["value_template"] = std::string("{{ 'ON' if '") + k.id + "' in value_json.fault_ids else 'OFF' }}";
        b.add("binary_sensor", object, c);
    }
    const bool kestralo = isKestralo(d.variant);
    for (const char* key : {"pump_ch", "pump_dhw", "pump_loop", "fan", "auger", "igniter"}) {
        if (kestralo && key == std::string("igniter")) continue;
        json c = b.base(key, key);
        c["device_class"] = "running";
        c["value_template"] = std::string("{{ 'ON' if value_json.") + key + " else 'OFF' }}";
        b.add("binary_sensor", key, c);
    }

    for (const CommandItem& item : commandItems()) {
        if (item.kind != CommandKind::Setpoint) continue;
        json c = b.base(item.name, item.title);
        c["value_template"] = valueOf(item.name);
        c["min"] = item.displayMin;
        c["max"] = item.displayMax;
        c["step"] = 1;
        c["unit_of_measurement"] = "°C";
        c["mode"] = "box";
        b.commandable(c, item.name, "{\"value\": {{ value | int }}}");
        b.add("number", item.name, c);
    }
    json heat = b.base("heat_mode", "Heat mode");
    heat["options"] = heatModeNames();
    heat["value_template"] = valueOf("heat_mode");
    b.commandable(heat, "heat_mode", "{\"value\": \"{{ value }}\"}");
    b.add("select", "heat_mode", heat);
    for (const char* action : {"start", "stop"}) {
        json c = b.base(action, action == std::string("start") ? "Start" : "Stop");
        c.erase("state_topic");
        b.commandable(c, "burner", "");
        c["payload_press"] = std::string("{\"value\": \"") + action + "\"}";
        b.add("button", action, c);
    }
    return b.take();
}

}  // namespace vesk::bridge
