// The client's side of the local protocol: a TCP connection that logs in
// and exchanges commands, and UDP discovery.
#pragma once
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

namespace vesk::client {

using Bytes = std::vector<uint8_t>;

struct Reply {
    uint16_t result = 0;
    Bytes data;
};

class ClientLink {
public:
    ClientLink() = default;
    ~ClientLink();
    ClientLink(const ClientLink&) = delete;
    ClientLink& operator=(const ClientLink&) = delete;

    bool connect(const std::string& host, uint16_t port, int timeoutMs, std::string& error);
    bool send(const Bytes& message);
    // The next whole message; false on time-out, a closed connection or a
    // header announcing more than the protocol allows.
    bool receive(Bytes& message, int timeoutMs);
    // Login result (0 accepted, 1 refused), -1 when no answer came.
    int login(uint32_t serial, uint32_t password, int timeoutMs);
    // Sends command `code` and waits for its reply.
    bool command(uint16_t code, const Bytes& data, Reply& reply, int timeoutMs);
    // The next status notification, including those that came while a
    // login or a command waited for its reply.
    bool notification(Bytes& message, int timeoutMs);
    // The panel closed the connection (or it failed).
    bool closed() const { return closed_; }
    // Notifications already received and not yet taken.
    bool notificationsPending() const { return !notifications_.empty(); }

private:
    // Reads until `n` bytes are buffered.
    bool fill(size_t n, int timeoutMs);
    // Keeps a notification met while waiting for something else.
    void keepIfNotification(const Bytes& m);
    std::deque<Bytes> notifications_;
    Bytes rx_;
    int fd_ = -1;
    bool closed_ = false;
};

struct DiscoveryAnswer {
    uint32_t serial;
    std::string address;
};

// Asks `host` (broadcast when empty) for controllers on the discovery
// port; with `serial` 0xFFFFFFFF every controller answers.
std::vector<DiscoveryAnswer> discover(const std::string& host, uint16_t port, uint32_t serial, int timeoutMs,
                                      std::string& error);

}  // namespace vesk::client
