// Helpers for the connection tests: a scriptable message handler, blocking
// test clients, free ports, and peer programs with a pipe to their input.
#pragma once
#include <sys/types.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "net/message_handler.h"
#include "platform/network_adapter.h"

namespace vesk::test {

using Bytes = std::vector<uint8_t>;

Bytes message(uint16_t group, uint16_t kind, const Bytes& body = {});

// Answers group 1 kind 0 with kind 1 and the same body, logs in on group 0
// (reply 0, 0), closes on group 9; the status notification is whatever the
// test queues.
class FakeHandler : public MessageHandler {
public:
    explicit FakeHandler(uint32_t serial = 4242) : serial_(serial) {}
    MessageVerdict handle(ConnectionContext& c, const uint8_t* msg, size_t n,
                          std::vector<std::vector<uint8_t>>& replies) override;
    bool statusChanged(std::vector<uint8_t>& notification) override;
    std::vector<uint8_t> remoteHello() override;
    std::vector<uint8_t> keepAlive() override;

    void queueNotification(const Bytes& n);
    int handled() const { return handled_; }
    int keepAlives() const { return keepAlives_; }

private:
    uint32_t serial_;
    std::atomic<int> handled_{0};
    std::atomic<int> keepAlives_{0};
    std::mutex m_;
    std::optional<Bytes> notification_;
};

// An adapter the test switches.
class FakeAdapter : public NetworkAdapter {
public:
    AdapterState query() override {
        std::lock_guard<std::mutex> g(m_);
        return state_;
    }
    void set(bool up, uint32_t address) {
        std::lock_guard<std::mutex> g(m_);
        state_ = {up, address};
    }

private:
    std::mutex m_;
    AdapterState state_{true, 0x7F000001};
};

// A free port for TCP and UDP at once (bound then released).
uint16_t freePort();

// A blocking loopback client with time-outs.
class TestClient {
public:
    TestClient() = default;
    ~TestClient();
    TestClient(TestClient&& o) noexcept : fd_(o.fd_) { o.fd_ = -1; }
    TestClient(const TestClient&) = delete;
    TestClient& operator=(const TestClient&) = delete;

    bool connect(uint16_t port);
    bool sendBytes(const Bytes& b);
    // One whole message, or nothing on time-out or close.
    std::optional<Bytes> readMessage(std::chrono::milliseconds limit = std::chrono::seconds(20));
    // True when the server closed (or reset) the connection within `limit`.
    bool closedByPeer(std::chrono::milliseconds limit = std::chrono::seconds(20));
    // Closes with a reset instead of an orderly close.
    void abort();
    void close();
    int fd() const { return fd_; }

private:
    int fd_ = -1;
};

// One UDP question, the answer if any came within `limit`.
std::optional<Bytes> askDiscovery(uint16_t port, const Bytes& question, std::chrono::milliseconds limit);

// A program with pipes to its input and from its merged output.
class PeerProcess {
public:
    PeerProcess() = default;
    ~PeerProcess();
    PeerProcess(const PeerProcess&) = delete;
    PeerProcess& operator=(const PeerProcess&) = delete;

    bool start(const std::string& path, const std::vector<std::string>& args);
    bool writeLine(const std::string& line);
    std::optional<std::string> readLine(std::chrono::milliseconds limit);
    // Reads lines until one contains `text`; that line, or nothing.
    std::optional<std::string> waitFor(const std::string& text,
                                       std::chrono::milliseconds limit = std::chrono::seconds(30));
    // Everything read so far.
    const std::string& transcript() const { return transcript_; }
    // Waits for the program to end; its exit status.
    int wait();
    void kill();

private:
    pid_t pid_ = -1;
    int in_ = -1;
    int out_ = -1;
    std::string pending_;
    std::string transcript_;
};

// Path of openssl, or "" when it is not installed.
std::string opensslPath();
// Starts `openssl s_server` with `args` on a free loopback port; the port,
// or 0 when it did not come up.
uint16_t startOpensslServer(PeerProcess& p, std::vector<std::string> args);

}  // namespace vesk::test
