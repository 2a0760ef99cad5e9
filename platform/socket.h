// Non-blocking IPv4 sockets for the network thread: set-up, byte I/O that
// tells would-block from failure, datagrams and one readiness wait.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vesk {

// Owns one descriptor; closing is the destructor's job.
class Socket {
public:
    Socket() = default;
    explicit Socket(int fd) : fd_(fd) {}
    ~Socket() { close(); }
    Socket(Socket&& o) noexcept : fd_(o.fd_) { o.fd_ = -1; }
    Socket& operator=(Socket&& o) noexcept;
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;

    int fd() const { return fd_; }
    bool isOpen() const { return fd_ >= 0; }
    void close();

private:
    int fd_ = -1;
};

enum class IoStatus { Ok, WouldBlock, Closed, Error };

struct IoResult {
    IoStatus status = IoStatus::Error;
    size_t n = 0;  // bytes moved when Ok
};

// IPv4 address (first octet in the top byte) and port.
struct Endpoint {
    uint32_t address = 0;
    uint16_t port = 0;
};

// TCP listener on every address, non-blocking, backlog the system maximum.
// Port 0 picks a free one. Closed socket on failure.
Socket openTcpListener(uint16_t port);
// Accepts one pending connection, already non-blocking, with TCP
// keep-alive on (a dead peer is noticed after about kKeepAliveDeadS real
// seconds of silence); closed when none. `peer` gets the peer's endpoint.
constexpr int kKeepAliveIdleS = 60;
constexpr int kKeepAliveIntervalS = 10;
constexpr int kKeepAliveProbes = 3;
constexpr int kKeepAliveDeadS = kKeepAliveIdleS + kKeepAliveIntervalS * kKeepAliveProbes;
Socket acceptConnection(const Socket& listener, Endpoint* peer = nullptr);
// Keep-alive as set on accepted sockets (for tests): true when on with the
// times above.
bool keepAliveSet(const Socket& s);
// UDP socket on every address, non-blocking, broadcasts allowed.
Socket openUdpSocket(uint16_t port);

enum class ConnectStatus { Connected, InProgress, Failed };
struct ConnectResult {
    Socket socket;
    ConnectStatus status = ConnectStatus::Failed;
};
// Starts a non-blocking TCP connection.
ConnectResult connectTcp(Endpoint to);
// Outcome of a connection that was in progress: true when it is up.
bool connectSucceeded(const Socket& s);

// Resolves a host name or dotted address to its first IPv4 address (blocks
// for the resolver).
std::optional<uint32_t> resolveIpv4(const std::string& host);
// A dotted IPv4 address, without asking the resolver.
std::optional<uint32_t> parseIpv4(const std::string& text);
// The port a socket is bound to (0 when unknown).
uint16_t boundPort(const Socket& s);

IoResult socketRead(int fd, uint8_t* buf, size_t n);
// Never raises SIGPIPE.
IoResult socketWrite(int fd, const uint8_t* buf, size_t n);
// One datagram; `n` of the result is its full length even when it was
// longer than the buffer.
IoResult receiveDatagram(int fd, uint8_t* buf, size_t n, Endpoint& from);
IoResult sendDatagram(int fd, const uint8_t* buf, size_t n, const Endpoint& to);

// What one descriptor waits for, and what it got.
struct SocketWait {
    int fd = -1;
    bool read = false;
    bool write = false;
    bool readable = false;
    bool writable = false;
    bool exception = false;  // error pending on the socket
};

// Waits up to `timeoutMs` real ms for any of `items` (and for `wake`, a
// descriptor from WakeSignal). Returns the number of ready items, 0 on
// time-out or wake, -1 on error.
int waitSockets(std::vector<SocketWait>& items, int timeoutMs, int wake = -1);

// Lets another thread cut a wait short.
class WakeSignal {
public:
    WakeSignal();
    ~WakeSignal();
    WakeSignal(const WakeSignal&) = delete;
    WakeSignal& operator=(const WakeSignal&) = delete;
    void raise();
    void clear();
    int fd() const { return fd_; }
    // Sleeps up to `timeoutMs` real ms or until raised; true when raised.
    bool wait(int timeoutMs) const;

private:
    int fd_ = -1;
};

// Open descriptors of this process (for leak checks).
size_t openDescriptorCount();

}  // namespace vesk
