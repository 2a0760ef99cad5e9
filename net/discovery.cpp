// Discovery question rules and the socket that answers them.
#include "net/discovery.h"

#include "net/message.h"

namespace vesk {

std::optional<std::array<uint8_t, kDiscoverySize>> discoveryAnswer(const uint8_t* d, size_t n, uint32_t serial) {
    if (n != kDiscoverySize || d[0] != 1) return std::nullopt;
    const uint16_t form = getU16(d + 1);
    const uint32_t who = getU32(d + 3);
    const bool asked = (form == 6 && (who == serial || who == kAnyPanel)) || (form == 0xFFFF && who == kAnyPanel);
    if (!asked) return std::nullopt;
    std::array<uint8_t, kDiscoverySize> a{};
    a[0] = 2;
    putU16(a.data() + 1, 6);
    putU32(a.data() + 3, serial);
    return a;
}

bool DiscoverySocket::open(uint16_t port) {
    socket_ = openUdpSocket(port);
    return socket_.isOpen();
}

void DiscoverySocket::serve(uint32_t serial) {
    uint8_t buf[64];
    Endpoint from;
    IoResult r = receiveDatagram(socket_.fd(), buf, sizeof buf, from);
    if (r.status == IoStatus::WouldBlock) return;
    if (r.status != IoStatus::Ok) {
        close();
        return;
    }
    auto answer = discoveryAnswer(buf, r.n, serial);
    if (!answer) return;
    IoResult s = sendDatagram(socket_.fd(), answer->data(), answer->size(), from);
    if (s.status != IoStatus::Ok && s.status != IoStatus::WouldBlock) close();
}

}  // namespace vesk
