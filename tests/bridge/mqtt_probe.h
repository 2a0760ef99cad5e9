// Real MQTT parts for the bridge's tests: a mosquitto broker on a free
// loopback port, and a client that records every message it sees.
#pragma once
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "support/child_process.h"
#include "support/test_support.h"

struct mosquitto;
struct mosquitto_message;

namespace vesk::test {

class Broker {
public:
    // Picks a free port once; start() after stop() reuses it. `extra` adds
    // to the configuration (further listeners, TLS, logins).
    explicit Broker(const std::string& extra = "");
    const TempDir& dir() const { return dir_; }
    bool start();
    void stop() { process_.kill(); }
    int port() const { return port_; }

private:
    TempDir dir_;
    int port_;
    ChildProcess process_;
};

struct MqttMessage {
    std::string topic, payload;
    bool retained = false;
    std::chrono::steady_clock::time_point at;  // when it arrived
};

class MqttProbe {
public:
    explicit MqttProbe(int port, const std::string& filter = "#");
    ~MqttProbe();
    bool connected() const { return connected_; }
    void publish(const std::string& topic, const std::string& payload);
    // The first message since `from` (an index into what was seen) for
    // which `match` holds, waiting up to `timeout` for it.
    std::optional<MqttMessage> waitFor(const std::function<bool(const MqttMessage&)>& match,
                                       std::chrono::milliseconds timeout, size_t from = 0);
    std::optional<MqttMessage> waitForTopic(const std::string& topic, std::chrono::milliseconds timeout,
                                            size_t from = 0);
    size_t seen();
    std::vector<MqttMessage> all();

private:
    static void onMessage(mosquitto*, void* self, const mosquitto_message* m);
    static void onConnect(mosquitto*, void* self, int rc);
    mosquitto* m_ = nullptr;
    std::string filter_;
    bool connected_ = false;
    bool subscribed_ = false;
    std::mutex lock_;
    std::condition_variable changed_;
    std::vector<MqttMessage> messages_;
};

}  // namespace vesk::test
