// Command items and their range checks.
#include "bridge/commands.h"

#include <cmath>

#include "bridge/panel_state.h"
#include "net/message.h"

namespace vesk::bridge {
namespace {

// The limits the panel applies whatever its settings; the water set-point's
// limits are settings of the panel, so it alone judges them.
struct FixedRange {
    const char* key;
    int min, max;
    bool kestraloToo;
};
constexpr FixedRange kFixed[] = {
    {"TAIR_UST", 5, 35, true},
    {"TDHW_UST", 30, 80, false},  // KESTRALO bounds it by a setting of its own
};

bool integerOf(const nlohmann::json& v, int64_t& out) {
    if (v.is_number_integer()) {
        out = v.get<int64_t>();
        return true;
    }
    if (v.is_number_float()) {
        const double d = v.get<double>();
        if (std::isfinite(d) && d == std::floor(d) && std::fabs(d) < 1e9) {
            out = static_cast<int64_t>(d);
            return true;
        }
    }
    return false;
}

CommandPlan refuse(std::string why) {
    CommandPlan p;
    p.error = std::move(why);
    return p;
}

CommandPlan settingPlan(Variant v, const std::string& key, int64_t value, const std::map<std::string, int64_t>& current) {
    CommandPlan p;
    if (!client::buildSetRequests(v, {{key, value}}, current, p.requests, p.error)) return p;
    p.ok = true;
    return p;
}

}  // namespace

const std::vector<CommandItem>& commandItems() {
    static const std::vector<CommandItem> items = {
        {"water_setpoint", "Water set-point", CommandKind::Setpoint, "TWAT_UST", 30, 90},
        {"room_setpoint", "Room set-point", CommandKind::Setpoint, "TAIR_UST", 5, 35},
        {"dhw_setpoint", "Hot water set-point", CommandKind::Setpoint, "TDHW_UST", 30, 80},
        {"heat_mode", "Heat mode", CommandKind::HeatMode, "HEAT_MODE", 0, 3},
        {"burner", "Burner", CommandKind::Burner, nullptr, 0, 1},
        {"burner_mode", "Burner mode", CommandKind::BurnerMode, "BURN_MODE", 0, 2},
    };
    return items;
}

const CommandItem* findCommandItem(const std::string& name) {
    for (const CommandItem& i : commandItems())
        if (name == i.name) return &i;
    return nullptr;
}

bool parsePayload(const std::string& payload, ParsedPayload& out, std::string& error) {
    nlohmann::json j = nlohmann::json::parse(payload, nullptr, false);
    if (j.is_discarded()) {
        error = "malformed JSON";
        return false;
    }
    if (j.is_object()) {
        if (!j.contains("value")) {
            error = "no \"value\" in the object";
            return false;
        }
        out.value = j["value"];
        if (j.contains("id")) out.id = j["id"];
    } else {
        out.value = j;
    }
    if (!out.value.is_number() && !out.value.is_string() && !out.value.is_boolean()) {
        error = "the value must be a number, a string or a boolean";
        return false;
    }
    return true;
}

CommandPlan planCommand(const CommandItem& item, const nlohmann::json& value, Variant v,
                        const std::map<std::string, int64_t>& current) {
    switch (item.kind) {
    case CommandKind::Setpoint: {
        int64_t n = 0;
        if (!integerOf(value, n)) return refuse("a whole number of degrees is wanted");
        for (const FixedRange& r : kFixed)
            if (item.key == std::string(r.key) && (r.kestraloToo || !isKestralo(v)) && (n < r.min || n > r.max))
                return refuse("out of range " + std::to_string(r.min) + ".." + std::to_string(r.max));
        if (n < 0 || n > 255) return refuse("out of range");
        return settingPlan(v, item.key, n, current);
    }
    case CommandKind::HeatMode: {
        int64_t n = -1;
        if (value.is_string()) {
            const auto& names = heatModeNames();
            for (size_t i = 0; i < names.size(); ++i)
                if (names[i] == value.get<std::string>()) n = static_cast<int64_t>(i);
            if (n < 0) return refuse("unknown heat mode");
        } else if (!integerOf(value, n) || n < 0 || n > 3) {
            return refuse("out of range 0..3");
        }
        return settingPlan(v, item.key, n, current);
    }
    case CommandKind::Burner: {
        int start = -1;
        if (value.is_string()) {
            const std::string s = value.get<std::string>();
            if (s == "start" || s == "ON") start = 1;
            if (s == "stop" || s == "OFF") start = 0;
        } else if (value.is_boolean()) {
            start = value.get<bool>() ? 1 : 0;
        } else if (int64_t n = -1; integerOf(value, n) && (n == 0 || n == 1)) {
            start = static_cast<int>(n);
        }
        if (start < 0) return refuse("start or stop is wanted");
        CommandPlan p;
        p.ok = true;
        std::vector<uint8_t> data;
        appendU16(data, static_cast<uint16_t>(start));
        p.requests.push_back({"StartStop", static_cast<uint16_t>(client::opCode(v, client::Op::StartStop)), data});
        return p;
    }
    case CommandKind::BurnerMode:
        break;
    }
    // The panel's protocol has no command for it; it is changed on the panel.
    return refuse("the burner mode can only be changed on the panel");
}

}  // namespace vesk::bridge
