// The bridge's connection to the broker (libmosquitto): a last will on the
// bridge's availability topic, optional TLS and login, reconnects with
// back-off on its own network thread.
#pragma once
#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

struct mosquitto;
struct mosquitto_message;

namespace vesk::bridge {

struct BrokerOptions {
    std::string host = "127.0.0.1";
    int port = 1883;
    std::string username, password;
    std::string clientId = "vesk-mqtt";
    bool tls = false;
    std::string tlsCaFile;  // empty: the system's CA folder
    bool tlsInsecure = false;
    int keepAliveS = 30;
    int reconnectMinS = 1, reconnectMaxS = 30;
};

class MqttLink {
public:
    using ConnectHandler = std::function<void()>;
    using MessageHandler = std::function<void(const std::string& topic, const std::string& payload)>;

    MqttLink(BrokerOptions o, std::string willTopic);
    ~MqttLink();
    MqttLink(const MqttLink&) = delete;
    MqttLink& operator=(const MqttLink&) = delete;

    // Set before start(); run on the link's thread. `onConnect` runs after
    // every (re)connection, when the broker may have lost what it held.
    void onConnect(ConnectHandler h) { onConnect_ = std::move(h); }
    void onMessage(MessageHandler h) { onMessage_ = std::move(h); }

    // Starts connecting in the background; false only for a setup error.
    bool start(std::string& error);
    void stop();

    bool connected() const { return connected_; }
    // False while the broker is not connected: the caller republishes its
    // retained topics from onConnect.
    bool publish(const std::string& topic, const std::string& payload, bool retain);
    void subscribe(const std::string& filter);
    // Messages published since start (for the statistics).
    long published() const { return published_; }

private:
    static void connectCb(mosquitto*, void* self, int rc);
    static void disconnectCb(mosquitto*, void* self, int rc);
    static void messageCb(mosquitto*, void* self, const mosquitto_message* m);

    BrokerOptions o_;
    std::string willTopic_;
    mosquitto* m_ = nullptr;
    ConnectHandler onConnect_;
    MessageHandler onMessage_;
    std::atomic<bool> connected_{false};
    std::atomic<long> published_{0};
    bool started_ = false;
};

}  // namespace vesk::bridge
