// The local TCP server: a listening socket and at most 32 client
// connections; the listener is closed while all 32 are taken. A client that
// has not logged in within kLoginDeadlineMs of panel time is dropped, so
// silent peers cannot keep the places taken.
#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "net/connection.h"

namespace vesk {

class LocalServer {
public:
    static constexpr size_t kMaxConnections = 32;
    static constexpr int64_t kLoginDeadlineMs = 30000;
    // Past the deadline a login attempt still waiting its turn is given up
    // to this much longer, and a reply still going out this much.
    static constexpr int64_t kHeldGraceMs = 40000;
    static constexpr int64_t kSendGraceMs = 10000;

    explicit LocalServer(BufferPool& pool) : pool_(pool) {}

    size_t count() const { return connections_.size(); }
    bool listening() const { return listener_.isOpen(); }
    // Opens the listener when it is closed and a place is free.
    void open(uint16_t port);
    // Closes the listener and every connection.
    void closeAll();
    // Sends to every connection; one that fails is closed.
    void broadcast(const std::vector<uint8_t>& msg);
    // Appends the wait entries (dropping closed connections and those past
    // their login deadline, and closing the listener when full); `handle`
    // takes the same entries back.
    void addWaits(std::vector<SocketWait>& waits, int64_t now);
    void handle(const SocketWait* waits, MessageHandler& handler, int64_t now);
    // Offers held messages whose time has come again.
    void retryHeld(MessageHandler& handler, int64_t now);
    // Earliest panel time a held message is due, or -1 when none is held.
    int64_t nextHeldMs() const;

private:
    void dropClosed();
    bool pastDeadline(const Connection& c, int64_t now) const;

    BufferPool& pool_;
    Socket listener_;
    std::vector<std::unique_ptr<Connection>> connections_;
    bool listenerWaited_ = false;
};

}  // namespace vesk
