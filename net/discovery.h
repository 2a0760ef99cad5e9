// UDP discovery: a 7-byte question naming this panel's serial number (or
// every panel) gets a 7-byte answer with the serial number.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "platform/socket.h"

namespace vesk {

constexpr size_t kDiscoverySize = 7;
constexpr uint32_t kAnyPanel = 0xFFFFFFFF;

// The answer to a datagram of `n` bytes, or nothing when it is not a
// question for a panel with serial number `serial`.
std::optional<std::array<uint8_t, kDiscoverySize>> discoveryAnswer(const uint8_t* d, size_t n, uint32_t serial);

class DiscoverySocket {
public:
    bool isOpen() const { return socket_.isOpen(); }
    int fd() const { return socket_.fd(); }
    // False when the socket cannot be made; tried again on a later pass.
    bool open(uint16_t port);
    void close() { socket_.close(); }
    // Reads one datagram and answers it; a failed answer or a socket error
    // closes the socket.
    void serve(uint32_t serial);

private:
    Socket socket_;
};

}  // namespace vesk
