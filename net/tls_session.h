// A thin TLS 1.2 pre-shared-key wrapper over a non-blocking socket: the
// panel's client of the remote server, and the server end the simulator
// of that server uses.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/variant.h"
#include "net/connection.h"

namespace vesk {

struct TlsPsk {
    std::string identity;
    std::vector<uint8_t> key;
};

// The variant's identity and key.
TlsPsk variantPsk(Variant v);
// Hex digits to bytes; empty on a malformed text.
std::vector<uint8_t> bytesFromHex(std::string_view hex);

enum class TlsStep { Done, WantRead, WantWrite, Failed };

class TlsSession : public ByteStream {
public:
    // Client of the remote server, configured as the variant requires.
    static std::unique_ptr<TlsSession> remoteClient(Variant v);
    // Server that accepts only the pre-shared-key suite with `psk`.
    static std::unique_ptr<TlsSession> pskServer(const TlsPsk& psk);

    ~TlsSession() override;
    TlsSession(const TlsSession&) = delete;
    TlsSession& operator=(const TlsSession&) = delete;

    // False when the library refused the configuration.
    bool usable() const;
    // The socket the session runs over; a new socket needs reset() first
    // when the session was used before.
    void attach(int fd);
    // Runs the handshake as far as the socket allows.
    TlsStep handshakeStep();
    bool handshakeDone() const;
    IoResult read(uint8_t* buf, size_t n) override;
    IoResult write(const uint8_t* buf, size_t n) override;
    bool pending() const override;
    // Ready for a fresh handshake on a new connection.
    void reset();
    // Name of the negotiated suite ("" before the handshake).
    std::string cipherSuite() const;
    // Library error code of the last failure (0 = none).
    int lastError() const;

private:
    struct Impl;
    explicit TlsSession(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

}  // namespace vesk
