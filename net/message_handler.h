// What the connection layer needs from the command protocol: one complete
// message in, whole reply messages out; the pushed status notification, the
// remote hello and the keep-alive as ready-made messages.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace vesk {

// Per-connection protocol state.
struct ConnectionContext {
    bool authenticated = false;
    bool remote = false;  // the TLS connection to the remote server
    uint32_t peer = 0;    // a local client's IPv4 address
    // A login attempt waiting its turn, and the panel time to offer it
    // again (set with the Hold verdict).
    uint64_t loginTicket = 0;
    int64_t holdUntilMs = 0;
};

// Hold: the message cannot be answered yet; the connection keeps it, reads
// nothing further and offers it again from `holdUntilMs` on.
enum class MessageVerdict { Keep, Close, Hold };

class MessageHandler {
public:
    virtual ~MessageHandler() = default;
    // `msg` holds one whole message (6-byte header and its body). Messages
    // to send back are appended to `replies`.
    virtual MessageVerdict handle(ConnectionContext& c, const uint8_t* msg, size_t n,
                                  std::vector<std::vector<uint8_t>>& replies) = 0;
    // Run once per network loop pass: true and the notification message
    // when the status words changed since the last one.
    virtual bool statusChanged(std::vector<uint8_t>& notification) = 0;
    virtual std::vector<uint8_t> remoteHello() = 0;
    virtual std::vector<uint8_t> keepAlive() = 0;
};

}  // namespace vesk
