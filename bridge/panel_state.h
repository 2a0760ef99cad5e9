// What the bridge knows of one panel and publishes as its state: the device
// (from GetDeviceInfo) and the state JSON built from a status record.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "core/variant.h"
#include "net/client/status_words.h"

namespace vesk::bridge {

struct PanelDevice {
    uint32_t serial = 0;
    Variant variant = Variant::Orvena;
    int powerKw = 0;
    int boilerType = -1;     // KESTRALO reports it; -1 unknown
    uint16_t boardType = 0;  // the power board's type word as reported
    int protocolVersion = 0;
};

// Reads GetDeviceInfo's reply data; false when it is too short.
bool readDeviceInfo(const std::vector<uint8_t>& data, PanelDevice& out);

std::string variantName(Variant v);
std::string modelText(const PanelDevice& d);
// The panel's software version ("4.1.1") and the board's firmware.
std::string softwareVersion(Variant v);
std::string firmwareText(const PanelDevice& d);

// The alarms in force: the record's words, with the phasing warning that
// only KESTRALO's notifications carry.
struct Alarms {
    std::vector<client::ActiveAlarm> faults;
    std::vector<client::ActiveAlarm> warnings;
};
Alarms alarmsOf(Variant v, uint16_t recordWordA, uint16_t recordWordB, uint16_t lastNotifiedWordB);

// The state JSON of a status record; null when the record has an unknown
// length.
nlohmann::json stateJson(const PanelDevice& d, const std::vector<uint8_t>& record, const Alarms& alarms);

// Readings the state carries: JSON key, status field, display name.
struct ReadingKey {
    const char* key;
    const char* field;
    const char* name;
};
const std::vector<ReadingKey>& readingKeys();

// Names of BURN_MODE and HEAT_MODE values in the state and the commands.
const std::vector<std::string>& heatModeNames();
std::string burnerModeName(int64_t mode);

}  // namespace vesk::bridge
