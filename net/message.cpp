// Header encoding and decoding of the remote protocol.
#include "net/message.h"

#include <algorithm>

namespace vesk {

void appendU16(std::vector<uint8_t>& out, uint16_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

void appendU32(std::vector<uint8_t>& out, uint32_t v) {
    appendU16(out, static_cast<uint16_t>(v));
    appendU16(out, static_cast<uint16_t>(v >> 16));
}

bool readHeader(const uint8_t* msg, size_t n, MessageHeader& h) {
    if (!msg || n < kHeaderSize) return false;
    h.group = getU16(msg);
    h.kind = getU16(msg + 2);
    h.len = getU16(msg + 4);
    return true;
}

bool isWholeMessage(const uint8_t* msg, size_t n) {
    MessageHeader h;
    return readHeader(msg, n, h) && h.len <= kMaxBody && n == kHeaderSize + h.len;
}

std::vector<uint8_t> makeMessage(uint16_t group, uint16_t kind, const uint8_t* body, size_t len) {
    len = std::min(len, kMaxBody);
    std::vector<uint8_t> m;
    m.reserve(kHeaderSize + len);
    appendU16(m, group);
    appendU16(m, kind);
    appendU16(m, static_cast<uint16_t>(len));
    if (len) m.insert(m.end(), body, body + len);
    return m;
}

}  // namespace vesk
