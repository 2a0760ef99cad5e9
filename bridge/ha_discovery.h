// Home Assistant's MQTT discovery: one retained config per entity of a panel.
#pragma once
#include <string>
#include <vector>

#include "bridge/panel_state.h"
#include "bridge/topics.h"

namespace vesk::bridge {

struct DiscoveryConfig {
    std::string topic;
    std::string payload;  // JSON
};

std::vector<DiscoveryConfig> discoveryConfigs(const Topics& t, const PanelDevice& d);

}  // namespace vesk::bridge
