// The remote protocol as a connection speaks it: login, commands with and
// without a reply, keep-alive answers, and the messages the controller
// sends of its own accord (status notification, remote hello, keep-alive).
#pragma once
#include <cstdint>
#include <mutex>

#include "net/dispatcher.h"
#include "net/message_handler.h"

namespace vesk {

// A 12-byte login request against the controller's identifier and network
// password: 0 accepted, 1 refused, 2 when its first field is not 0.
int loginResult(const uint8_t* body, size_t n, uint32_t serial, uint32_t password);

class ProtocolSession : public MessageHandler {
public:
    explicit ProtocolSession(DispatcherServices services);

    MessageVerdict handle(ConnectionContext& c, const uint8_t* msg, size_t n,
                          std::vector<std::vector<uint8_t>>& replies) override;
    bool statusChanged(std::vector<uint8_t>& notification) override;
    std::vector<uint8_t> remoteHello() override;
    std::vector<uint8_t> keepAlive() override;

    CommandDispatcher& dispatcher() { return dispatcher_; }

private:
    MessageVerdict login(ConnectionContext& c, const uint8_t* body, size_t len,
                         std::vector<std::vector<uint8_t>>& replies);

    CommandDispatcher dispatcher_;
    // Status value last built for a notification; starts as "no fault, no
    // warning", so a quiet boiler sends nothing at start.
    uint32_t lastStatus_ = 0;
};

}  // namespace vesk
