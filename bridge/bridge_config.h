// vesk-mqtt's settings: a KEY=value file and command-line flags (the flags
// win), checked as a whole before the bridge starts.
#pragma once
#include <string>
#include <vector>

#include "bridge/mqtt_link.h"
#include "bridge/panel_worker.h"
#include "bridge/topics.h"

namespace vesk::bridge {

struct BridgeConfig {
    BrokerOptions broker;
    Topics topics;
    WorkerTiming timing;
    std::vector<PanelAddress> panels;
    // Panels found by discovery: an address to ask ("broadcast" for the
    // local network), with the port and password they share.
    std::string discoverHost;
    uint16_t discoveryPort = 1981;
    uint16_t panelPort = 1977;
    uint32_t panelPassword = 0;
    int discoverEveryS = 60;
};

// Applies one setting (a file key or a flag without its dashes).
bool applySetting(BridgeConfig& c, const std::string& key, const std::string& value, std::string& error);
// Reads the file's settings into `c`.
bool loadConfigFile(BridgeConfig& c, const std::string& path, std::string& error);
// Flags: --config FILE first, then every --key value in order.
bool parseArguments(BridgeConfig& c, int argc, char** argv, std::string& error);
// A panel given as HOST[:PORT][,SERIAL][,PASSWORD].
bool parsePanel(const std::string& text, const BridgeConfig& c, PanelAddress& out, std::string& error);

extern const char* const kUsage;

}  // namespace vesk::bridge
