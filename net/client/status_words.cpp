// Status words back to fault and warning bits.
#include "net/client/status_words.h"

#include "control/faults.h"
#include "control/messages.h"
#include "net/message.h"

namespace vesk::client {
namespace {

// Indexed by the bit of word A.
const AlarmKind kFaults[12] = {
    {"emergency_thermostat", "emergency thermostat", kFaultEmergencyThermostat},
    {"overheat", "boiler overheat", kFaultOverheat},
    {nullptr, nullptr, 0},
    {"fuse", "fuse", kFaultFuse},
    {"auger_jam", "auger jam", kFaultAugerJam},
    {"inverter_overheat", "inverter overheat", kFaultInverterOverheat},
    {"flue_gas_sensor", "flue-gas sensor", kFaultGasSensor},
    {"water_sensor", "water sensor", kFaultWaterSensor},
    {"air_sensor", "air sensor", kFaultAirSensor},
    {"ch_sensor", "CH sensor", kFaultChSensor},
    {"auger_overheat", "auger critical overheat", kFaultAugerOverheat},
    {"auger_sensor", "auger sensor", kFaultAugerSensor},
};

// Indexed by the bit of word B; bit 8 is no warning of the panel's but the
// bunker-empty input.
const AlarmKind kWarnings[10] = {
    {"low_water", "low boiler water", kWarnLowWater},
    {"went_out", "boiler went out", kWarnWentOut},
    {"high_flue_gas", "high flue gas", kWarnHighGas},
    {"dhw_sensor", "DHW sensor", kWarnDhwSensor},
    {"valve1_sensor", "valve 1 water sensor", kWarnValve1Sensor},
    {"valve2_sensor", "valve 2 water sensor", kWarnValve2Sensor},
    {"valve_air_sensor", "valve air sensor", kWarnValveAirSensor},
    {"outdoor_sensor", "outdoor sensor", kWarnOutdoorSensor},
    {"bunker_empty", "bunker empty", 0},
    {"bunker_fill_failed", "bunker filling failed", kWarnBunkerNotFilled},
};
const AlarmKind kWrongPhasing = {"wrong_phasing", "wrong mains phasing", kWarnWrongPhasing};

// The panel's line without its line break; the name where it shows none.
std::string textOf(const AlarmKind& k, const std::string& panelText) {
    std::string t = panelText;
    while (!t.empty() && t.back() == '\n') t.pop_back();
    return t.empty() ? k.name : t;
}

}  // namespace

const std::vector<AlarmKind>& faultKinds() {
    static const std::vector<AlarmKind> kinds = [] {
        std::vector<AlarmKind> k;
        for (const AlarmKind& f : kFaults)
            if (f.id) k.push_back(f);
        return k;
    }();
    return kinds;
}

std::vector<ActiveAlarm> activeFaults(uint16_t a) {
    std::vector<ActiveAlarm> out;
    for (int b = 0; b < 12; ++b)
        if ((a >> b & 1) && kFaults[b].id)
            out.push_back({kFaults[b].id, kFaults[b].code, textOf(kFaults[b], faultListText(kFaults[b].code))});
    return out;
}

std::vector<ActiveAlarm> activeWarnings(Variant v, uint16_t w, WordSource source) {
    std::vector<ActiveAlarm> out;
    for (int b = 0; b < 10; ++b) {
        if (!(w >> b & 1)) continue;
        AlarmKind k = kWarnings[b];
        if (b == 9 && isKestralo(v)) {
            // The record's bit is a flag KESTRALO never sets; the
            // notification's is the phasing warning.
            if (source == WordSource::Record) continue;
            k = kWrongPhasing;
        }
        // The valve 2 sensor line shows whatever the emergency start says:
        // the word only carries the bit when the panel raised it.
        const std::string panelText = k.code ? warningListText(v, k.code, 0) : std::string();
        out.push_back({k.id, k.code, textOf(k, panelText)});
    }
    return out;
}

std::vector<std::string> faultNames(uint16_t a) {
    std::vector<std::string> out;
    for (int b = 0; b < 12; ++b)
        if ((a >> b & 1) && kFaults[b].name) out.push_back(kFaults[b].name);
    return out;
}

std::vector<std::string> warningNames(uint16_t w) {
    std::vector<std::string> out;
    for (int b = 0; b < 10; ++b)
        if (w >> b & 1) out.push_back(kWarnings[b].name);
    return out;
}

bool decodeNotification(const std::vector<uint8_t>& m, Notification& out) {
    MessageHeader h;
    if (!readHeader(m.data(), m.size(), h) || h.group != kGroupCommand || h.kind != kKindNotify || h.len < 12 ||
        m.size() < kHeaderSize + 12)
        return false;
    const uint8_t* b = m.data() + kHeaderSize;
    out.wordA = getU16(b + 2);
    out.wordB = getU16(b + 4);
    out.second = b[6];
    out.minute = b[7];
    out.hour = b[8];
    out.day = b[9];
    out.month = b[10];
    out.year = 2000 + b[11];
    return true;
}

}  // namespace vesk::client
