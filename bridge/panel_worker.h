// One panel served by the bridge on a thread of its own, so that a dead or
// slow panel never holds up the others: connect and log in with back-off,
// follow the notifications, poll the status, publish state, availability
// and alarm events, and run the commands that come in from the broker.
#pragma once
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "bridge/panel_state.h"
#include "bridge/topics.h"

namespace vesk::client {
class ClientLink;
}

namespace vesk::bridge {

// Where the workers' messages go (the broker, or a test's list).
class Publisher {
public:
    virtual ~Publisher() = default;
    // Retained topics are republished from the workers' caches after a
    // reconnection; events are kept by the publisher until then.
    virtual void publish(const std::string& topic, const std::string& payload, bool retain) = 0;
    virtual void publishEvent(const std::string& topic, const std::string& payload) = 0;
};

struct PanelAddress {
    std::string host;
    uint16_t port = 1977;
    uint16_t discoveryPort = 1981;
    std::optional<uint32_t> serial;  // asked by discovery when not given
    uint32_t password = 0;
};

struct WorkerTiming {
    std::chrono::milliseconds poll{10000};
    std::chrono::milliseconds answer{3000};       // connect, login and command time-out
    std::chrono::milliseconds backoffMin{1000}, backoffMax{30000};
};

class PanelWorker {
public:
    PanelWorker(PanelAddress a, const Topics& t, WorkerTiming timing, Publisher& out);
    ~PanelWorker();
    PanelWorker(const PanelWorker&) = delete;
    PanelWorker& operator=(const PanelWorker&) = delete;

    void start();
    void stop();

    // The serial once known (configured or learnt by discovery), else 0.
    uint32_t serial() const { return serial_; }
    const PanelAddress& address() const { return address_; }

    // A command from a set-topic; answered on the result topic.
    void submit(const std::string& item, const std::string& payload);
    // Publishes discovery, availability and state again (broker reconnected).
    void republish();

private:
    struct Command {
        std::string item, payload;
    };
    void run();
    bool connect(client::ClientLink& link);
    void serve(client::ClientLink& link);
    bool refreshStatus(client::ClientLink& link);
    void runCommand(client::ClientLink& link, const Command& c);
    void noteNotification(const std::vector<uint8_t>& m);
    void publishEvents(const Alarms& before, const Alarms& now, const std::string& panelTime);
    void setAvailable(bool online);
    void answerQueued(const std::string& result, const std::string& message);
    void answer(const Command& c, const std::string& result, const std::string& message, const nlohmann::json& id,
                const nlohmann::json& value);
    // Waits for `d` or until stopped; false when stopped.
    bool pause(std::chrono::milliseconds d);

    PanelAddress address_;
    const Topics& topics_;
    WorkerTiming timing_;
    Publisher& out_;
    std::atomic<uint32_t> serial_{0};

    std::thread thread_;
    std::atomic<bool> running_{false};
    std::mutex lock_;  // guards what follows, shared with the MQTT thread
    std::condition_variable wake_;
    std::deque<Command> commands_;
    bool online_ = false;
    bool availabilityKnown_ = false;
    std::optional<PanelDevice> device_;
    std::string lastState_;
    // Alarms as last published (the baseline for events) and the phasing bit
    // that only notifications carry.
    std::optional<Alarms> alarms_;
    uint16_t notifiedWordB_ = 0;
    std::string pendingPanelTime_;
    std::vector<uint8_t> lastRecord_;
};

}  // namespace vesk::bridge
