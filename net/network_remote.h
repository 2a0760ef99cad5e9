// The connection to the remote server: closed, connecting, connected, TLS
// handshake, hello; then messages as on a local connection, through TLS.
#pragma once
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "core/variant.h"
#include "net/connection.h"
#include "net/tls_session.h"

namespace vesk {

class Clock;

class RemoteLink {
public:
    // Connection attempts are at least this far apart (panel ms).
    static constexpr int64_t kRetryMs = 1000;

    RemoteLink(BufferPool& pool, Variant v, std::string host, uint16_t port, const Clock& clock);

    // One step of the pass: connect when closed, run the handshake, send
    // the hello once the handshake is done.
    void advance(MessageHandler& handler);
    void close();
    bool isOpen() const { return conn_.socket.isOpen(); }
    // Connected, handshake done, hello sent.
    bool up() const;
    bool helloSent() const { return helloSent_; }
    // Sends or queues a message; on failure the link is closed.
    bool send(const std::vector<uint8_t>& msg);
    // Decoded bytes wait inside TLS: the next wait must not block.
    bool pending() const;
    // The wait entry for the socket; false when no socket is open.
    bool waitItem(SocketWait& w) const;
    void handle(SocketWait w, MessageHandler& handler);
    // A held login offered again once due; -1 when nothing is held.
    void retryHeld(MessageHandler& handler, int64_t now);
    int64_t nextHeldMs() const { return conn_.held() ? conn_.context.holdUntilMs : -1; }
    const std::string& host() const { return host_; }

private:
    // A host name is looked up on a thread of its own, so that a resolver
    // waiting for an unreachable name server does not stall local clients.
    struct Lookup {
        std::mutex m;
        bool done = false;
        std::optional<uint32_t> address;
    };

    // The address to connect to now, or nothing (yet).
    std::optional<uint32_t> address();
    void connect(uint32_t address);
    void handshake();

    Connection conn_;
    std::unique_ptr<TlsSession> tls_;
    std::string host_;
    uint16_t port_;
    const Clock& clock_;
    bool helloSent_ = false;
    bool wantRead_ = false;
    bool wantWrite_ = false;
    bool attempted_ = false;
    int64_t lastAttemptMs_ = 0;
    std::shared_ptr<Lookup> lookup_;
};

}  // namespace vesk
