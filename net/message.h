// The remote protocol's framing: a 6-byte little-endian header (group, kind,
// body length) in front of at most 250 body bytes.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace vesk {

constexpr size_t kHeaderSize = 6;
constexpr size_t kMaxBody = 250;
constexpr size_t kMaxMessage = 256;

enum MessageGroup : uint16_t { kGroupLogin = 0, kGroupCommand = 1, kGroupLink = 2 };

enum MessageKind : uint16_t {
    kKindRequest = 0,    // a reply is expected
    kKindReply = 1,
    kKindNoReply = 2,    // request without reply
    kKindNotify = 3,     // pushed status notification
    kKindKeepAlive = 4,
};

// Results of a command or a login.
enum CommandResult : uint16_t { kDone = 0, kRefused = 1, kUnknownCommand = 2, kNotAuthenticated = 3 };

struct MessageHeader {
    uint16_t group = 0;
    uint16_t kind = 0;
    uint16_t len = 0;
};

inline uint16_t getU16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
inline uint32_t getU32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
inline void putU16(uint8_t* p, uint16_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}
inline void putU32(uint8_t* p, uint32_t v) {
    putU16(p, static_cast<uint16_t>(v));
    putU16(p + 2, static_cast<uint16_t>(v >> 16));
}
void appendU16(std::vector<uint8_t>& out, uint16_t v);
void appendU32(std::vector<uint8_t>& out, uint32_t v);

// Reads the header of `n` bytes; false when fewer than 6 bytes are given.
bool readHeader(const uint8_t* msg, size_t n, MessageHeader& h);
// True when `n` bytes are exactly one message whose body fits the limit.
bool isWholeMessage(const uint8_t* msg, size_t n);

// A message with header; the body is cut at 250 bytes, which no message of
// the protocol reaches.
std::vector<uint8_t> makeMessage(uint16_t group, uint16_t kind, const uint8_t* body, size_t len);
inline std::vector<uint8_t> makeMessage(uint16_t group, uint16_t kind, const std::vector<uint8_t>& body) {
    return makeMessage(group, kind, body.data(), body.size());
}

}  // namespace vesk
