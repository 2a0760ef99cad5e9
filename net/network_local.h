// The local TCP server: a listening socket and at most 32 client
// connections; the listener is closed while all 32 are taken.
#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "net/connection.h"

namespace vesk {

class LocalServer {
public:
    static constexpr size_t kMaxConnections = 32;

    explicit LocalServer(BufferPool& pool) : pool_(pool) {}

    size_t count() const { return connections_.size(); }
    bool listening() const { return listener_.isOpen(); }
    // Opens the listener when it is closed and a place is free.
    void open(uint16_t port);
    // Closes the listener and every connection.
    void closeAll();
    // Sends to every connection; one that fails is closed.
    void broadcast(const std::vector<uint8_t>& msg);
    // Appends the wait entries (dropping closed connections and closing the
    // listener when full); `handle` takes the same entries back.
    void addWaits(std::vector<SocketWait>& waits);
    void handle(const SocketWait* waits, MessageHandler& handler);

private:
    void dropClosed();

    BufferPool& pool_;
    Socket listener_;
    std::vector<std::unique_ptr<Connection>> connections_;
    bool listenerWaited_ = false;
};

}  // namespace vesk
