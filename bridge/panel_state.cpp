// The state JSON of a panel.
#include "bridge/panel_state.h"

#include <cstdio>

#include "net/client/status_fields.h"
#include "net/message.h"

namespace vesk::bridge {
namespace {

constexpr int64_t kMissing = 0x4000;

struct OutputBit {
    const char* key;
    int orvena, kestralo;  // bit of the output word, -1 absent
};
constexpr OutputBit kOutputs[] = {
    {"pump_ch", 0, 0},       {"pump_dhw", 1, 1},      {"pump_loop", 2, 2},   {"auger", 7, 7},
    {"bunker_filler", 8, -1}, {"ash_remover", 9, 9}, {"igniter", 10, -1}, {"fan", 11, 10},
    {"exhaust_fan", 12, 11},
};

// Record fields the state carries as they are; the fuel counters are
// ORVENA's only.
struct CopiedField {
    const char* key;
    const char* field;
    bool orvenaOnly;
};
constexpr CopiedField kCopied[] = {
    {"burner_state_code", "burner_state", false}, {"fuel", "FUEL", false},
    {"power", "power_percent", false},            {"water_setpoint", "TWAT_UST", false},
    {"room_setpoint", "TAIR_UST", false},         {"dhw_setpoint", "TDHW_UST", false},
    {"fuel_24h_kg", "fuel.last_24h_kg", true},    {"fuel_week_kg", "fuel.last_week_kg", true},
    {"fuel_month_kg", "fuel.last_month_kg", true}, {"fuel_own_kg", "fuel.own_kg", true},
    {"fuel_total_kg", "fuel.total_kg", true},
};

nlohmann::json ids(const std::vector<client::ActiveAlarm>& a) {
    nlohmann::json j = nlohmann::json::array();
    for (const auto& x : a) j.push_back(x.id);
    return j;
}
nlohmann::json texts(const std::vector<client::ActiveAlarm>& a) {
    nlohmann::json j = nlohmann::json::array();
    for (const auto& x : a) j.push_back(x.text);
    return j;
}

}  // namespace

bool readDeviceInfo(const std::vector<uint8_t>& d, PanelDevice& out) {
    if (d.size() < 7) return false;
    // The fourth byte is the variant's own mark: 17 ORVENA, 23 KESTRALO.
    out.variant = d[3] == 23 ? Variant::Kestralo : Variant::Orvena;
    out.boilerType = isKestralo(out.variant) ? d[0] : -1;
    out.powerKw = getU16(d.data() + 1);
    out.boardType = getU16(d.data() + 5);
    return true;
}

std::string variantName(Variant v) { return std::string(variantInfo(v).programName); }

std::string modelText(const PanelDevice& d) {
    std::string m = variantName(d.variant);
    if (d.boilerType >= 0) m += " type " + std::to_string(d.boilerType);
    return m + " " + std::to_string(d.powerKw) + " kW";
}

std::string softwareVersion(Variant v) {
    const uint8_t* sw = variantInfo(v).swVersion;
    char buf[24];
    std::snprintf(buf, sizeof buf, "%u.%u.%u", unsigned{sw[0]}, unsigned{sw[1]}, unsigned{sw[2]});
    return buf;
}

std::string firmwareText(const PanelDevice& d) {
    // ORVENA reports the type word without its last nibble.
    const unsigned w = d.boardType;
    char buf[24];
    if (isKestralo(d.variant))
        std::snprintf(buf, sizeof buf, "%u.%u.%u.%u", w >> 12 & 0xF, w >> 8 & 0xF, w >> 4 & 0xF, w & 0xF);
    else
        std::snprintf(buf, sizeof buf, "%u.%u.%u", w >> 8 & 0xF, w >> 4 & 0xF, w & 0xF);
    return buf;
}

Alarms alarmsOf(Variant v, uint16_t a, uint16_t b, uint16_t notifiedB) {
    Alarms out{client::activeFaults(a), client::activeWarnings(v, b, client::WordSource::Record)};
    if (isKestralo(v) && (notifiedB & 0x200)) {
        auto extra = client::activeWarnings(v, 0x200, client::WordSource::Notification);
        out.warnings.insert(out.warnings.end(), extra.begin(), extra.end());
    }
    return out;
}

const std::vector<ReadingKey>& readingKeys() {
    static const std::vector<ReadingKey> k = {
        {"water_temp", "reading.water", "Water"},
        {"flue_gas_temp", "reading.flue_gas", "Flue gas"},
        {"room_temp", "reading.room_air", "Room"},
        {"outdoor_temp", "reading.outdoor", "Outdoor"},
        {"return_temp", "reading.return", "Return"},
        {"ch_temp", "reading.ch_circuit", "Heating circuit"},
        {"dhw_temp", "reading.dhw", "Hot water"},
        {"valve1_temp", "reading.valve1_water", "Valve 1 water"},
        {"valve2_temp", "reading.valve2_water", "Valve 2 water"},
        {"valve_air_temp", "reading.valve_air", "Valve circuit air"},
    };
    return k;
}

const std::vector<std::string>& heatModeNames() {
    static const std::vector<std::string> n = {"heating", "dhw_priority", "parallel_pumps", "dhw_only"};
    return n;
}

std::string burnerModeName(int64_t mode) {
    static const char* const kNames[] = {"automatic", "semi-automatic", "firewood"};
    return mode >= 0 && mode < 3 ? kNames[mode] : "mode " + std::to_string(mode);
}

nlohmann::json stateJson(const PanelDevice& d, const std::vector<uint8_t>& record, const Alarms& alarms) {
    const auto m = client::statusMap(record);
    if (m.empty()) return nullptr;
    auto get = [&](const char* k) { return m.at(k); };
    nlohmann::json j;
    j["serial"] = d.serial;
    j["variant"] = variantName(d.variant);
    for (const ReadingKey& r : readingKeys()) {
        const int64_t v = get(r.field);
        j[r.key] = v >= kMissing ? nlohmann::json(nullptr) : nlohmann::json(v);
    }
    j["burner_state"] = client::burnerStateName(get("burner_state"));
    j["burner_mode"] = burnerModeName(get("BURN_MODE"));
    const int64_t heat = get("HEAT_MODE");
    j["heat_mode"] = heat >= 0 && heat < 4 ? heatModeNames()[static_cast<size_t>(heat)] : std::to_string(heat);
    for (const CopiedField& c : kCopied)
        if (!c.orvenaOnly || !isKestralo(d.variant)) j[c.key] = get(c.field);
    const int64_t outputs = get("outputs");
    for (const OutputBit& o : kOutputs) {
        const int bit = isKestralo(d.variant) ? o.kestralo : o.orvena;
        if (bit >= 0) j[o.key] = (outputs >> bit & 1) != 0;
    }
    j["faults"] = texts(alarms.faults);
    j["fault_ids"] = ids(alarms.faults);
    j["problem"] = !alarms.faults.empty();
    j["warnings"] = texts(alarms.warnings);
    j["warning_ids"] = ids(alarms.warnings);
    if (!isKestralo(d.variant)) {
        // 254: the bunker-empty sensor reports empty; 255: not known.
        const int64_t level = get("bunker_level");
        j["bunker_percent"] = level == 255 ? nlohmann::json(nullptr) : nlohmann::json(level == 254 ? 0 : level);
    }
    return j;
}

}  // namespace vesk::bridge
