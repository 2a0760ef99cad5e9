// vesk-mqtt's core: the broker link, one worker per panel, panels found by
// discovery, and commands routed from the set-topics to their panel.
#pragma once
#include <atomic>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "bridge/bridge_config.h"
#include "bridge/mqtt_link.h"
#include "bridge/panel_worker.h"

namespace vesk::bridge {

class Bridge : public Publisher {
public:
    explicit Bridge(BridgeConfig c);
    ~Bridge() override;

    bool start(std::string& error);
    void stop();

    void publish(const std::string& topic, const std::string& payload, bool retain) override;
    void publishEvent(const std::string& topic, const std::string& payload) override;

    size_t panelCount();
    long published() const { return mqtt_.published(); }

private:
    void onConnect();
    void onMessage(const std::string& topic, const std::string& payload);
    void addPanel(const PanelAddress& a);
    void discoveryLoop();

    BridgeConfig config_;
    MqttLink mqtt_;
    // Workers take eventsLock_ (through publishEvent) under their own lock;
    // lock_ is taken before a worker's, never under it.
    std::mutex lock_;  // guards the workers
    std::vector<std::unique_ptr<PanelWorker>> workers_;
    std::mutex eventsLock_;
    std::deque<std::pair<std::string, std::string>> keptEvents_;
    std::thread discovery_;
    std::atomic<bool> running_{false};
};

}  // namespace vesk::bridge
