// The network object: one thread with one socket wait loop that watches
// the adapter, serves local clients and discovery, and keeps the TLS link
// to the remote server.
#pragma once
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "core/variant.h"
#include "net/buffer_pool.h"
#include "net/message_handler.h"
#include "platform/socket.h"

namespace vesk {

class Clock;
class TimerService;
class NetworkAdapter;
struct ControllerState;
struct PlatformConfig;
class LocalServer;
class RemoteLink;
class DiscoverySocket;

struct NetworkConfig {
    Variant variant = Variant::Orvena;
    uint16_t portLocal = 1977;
    uint16_t portDiscovery = 1981;
    std::string remoteHost;
    uint16_t remotePort = 1978;
};

// Ports and the remote "host:port" of the platform settings.
NetworkConfig networkConfig(const PlatformConfig& p, Variant v);

struct NetworkStatus {
    bool adapterUp = false;
    uint32_t address = 0;  // first octet in the top byte; 0 = none
    unsigned localConnections = 0;
    bool remoteUp = false;  // connected, handshake done, hello sent
    bool listening = false; // the local server accepts clients
    uint64_t passes = 0;    // loop passes so far (for tests and watchers)
};

class Network {
public:
    static constexpr int64_t kPassMs = 1000;
    static constexpr int64_t kKeepAliveMs = 30000;
    static constexpr int64_t kKeepAliveFailPauseMs = 2000;

    Network(ControllerState& state, MessageHandler& handler, NetworkAdapter& adapter, const Clock& clock,
            TimerService& timers, NetworkConfig config);
    ~Network();
    Network(const Network&) = delete;
    Network& operator=(const Network&) = delete;

    void start();
    // Ends the thread and closes every socket.
    void stop();

    // Safe from any thread.
    NetworkStatus status() const;
    const std::string& remoteHost() const { return config_.remoteHost; }
    // Shared with the expansion link.
    BufferPool& bufferPool() { return pool_; }

private:
    struct Access {
        uint32_t password = 0;
        bool local = false;
        bool remote = false;
        uint32_t serial = 0;
    };

    void run();
    // One pass of the loop.
    void pass();
    Access readAccess();
    void publish(const NetworkStatus& s);
    // Sleeps in panel time; cut short by stop().
    void pause(int64_t ms);
    void closeAll();

    ControllerState& state_;
    MessageHandler& handler_;
    NetworkAdapter& adapter_;
    const Clock& clock_;
    TimerService& timers_;
    const NetworkConfig config_;

    BufferPool pool_;
    std::unique_ptr<LocalServer> local_;
    std::unique_ptr<RemoteLink> remote_;
    std::unique_ptr<DiscoverySocket> discovery_;

    WakeSignal wake_;
    std::atomic<bool> stopping_{false};
    std::shared_ptr<std::atomic<bool>> keepAliveDue_ = std::make_shared<std::atomic<bool>>(false);
    int keepAliveTimer_ = 0;
    std::thread thread_;

    mutable std::mutex statusLock_;
    NetworkStatus status_;
    uint64_t passes_ = 0;  // network thread only
};

}  // namespace vesk
