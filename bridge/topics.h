// The bridge's MQTT topics.
#pragma once
#include <cstdint>
#include <string>

namespace vesk::bridge {

struct Topics {
    std::string prefix = "vesk";                // panel topics: <prefix>/<serial>/...
    std::string discoveryPrefix = "homeassistant";

    // The bridge's own availability, also its last will.
    std::string bridgeAvailability() const { return prefix + "/bridge/availability"; }
    std::string panel(uint32_t serial, const std::string& leaf) const {
        return prefix + "/" + std::to_string(serial) + "/" + leaf;
    }
    std::string state(uint32_t serial) const { return panel(serial, "state"); }
    std::string availability(uint32_t serial) const { return panel(serial, "availability"); }
    std::string event(uint32_t serial) const { return panel(serial, "event"); }
    std::string result(uint32_t serial) const { return panel(serial, "result"); }
    std::string command(uint32_t serial, const std::string& item) const { return panel(serial, "set/" + item); }
    // Matches every command topic.
    std::string commandFilter() const { return prefix + "/+/set/+"; }
    std::string discovery(const std::string& component, uint32_t serial, const std::string& object) const {
        return discoveryPrefix + "/" + component + "/vesk_" + std::to_string(serial) + "/" + object + "/config";
    }
};

}  // namespace vesk::bridge
