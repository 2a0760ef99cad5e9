// Sockets of the client: TCP for the protocol, UDP for discovery.
#include "net/client/client_link.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

#include "net/message.h"

namespace vesk::client {
namespace {

using Clock = std::chrono::steady_clock;

int msLeft(Clock::time_point end) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

bool resolve(const std::string& host, uint16_t port, int type, sockaddr_in& out, std::string& error) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = type;
    addrinfo* res = nullptr;
    const int rc = getaddrinfo(host.c_str(), nullptr, &hints, &res);
    if (rc != 0 || !res) {
        error = "cannot resolve " + host + ": " + gai_strerror(rc);
        return false;
    }
    out = *reinterpret_cast<sockaddr_in*>(res->ai_addr);
    out.sin_port = htons(port);
    freeaddrinfo(res);
    return true;
}

}  // namespace

ClientLink::~ClientLink() {
    if (fd_ >= 0) ::close(fd_);
}

bool ClientLink::connect(const std::string& host, uint16_t port, int timeoutMs, std::string& error) {
    sockaddr_in addr{};
    if (!resolve(host, port, SOCK_STREAM, addr, error)) return false;
    fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd_ < 0) {
        error = std::string("socket: ") + std::strerror(errno);
        return false;
    }
    if (::connect(fd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 && errno != EINPROGRESS) {
        error = "cannot connect to " + host + ":" + std::to_string(port) + ": " + std::strerror(errno);
        return false;
    }
    pollfd p{fd_, POLLOUT, 0};
    int soError = 0;
    socklen_t len = sizeof soError;
    if (::poll(&p, 1, timeoutMs) != 1 || getsockopt(fd_, SOL_SOCKET, SO_ERROR, &soError, &len) != 0 || soError) {
        error = "cannot connect to " + host + ":" + std::to_string(port) +
                (soError ? std::string(": ") + std::strerror(soError) : std::string(": timed out"));
        return false;
    }
    return true;
}

bool ClientLink::send(const Bytes& m) {
    size_t done = 0;
    while (done < m.size()) {
        const ssize_t n = ::send(fd_, m.data() + done, m.size() - done, MSG_NOSIGNAL);
        if (n > 0) {
            done += static_cast<size_t>(n);
        } else if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
            pollfd p{fd_, POLLOUT, 0};
            if (::poll(&p, 1, 5000) != 1) return false;
        } else {
            return false;
        }
    }
    return true;
}

bool ClientLink::fill(size_t n, int timeoutMs) {
    const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (rx_.size() < n) {
        pollfd pf{fd_, POLLIN, 0};
        if (::poll(&pf, 1, msLeft(end)) != 1) return false;
        uint8_t buf[512];
        const ssize_t r = ::recv(fd_, buf, sizeof buf, 0);
        if (r < 0 && (errno == EAGAIN || errno == EINTR)) continue;
        if (r <= 0) {
            closed_ = true;
            return false;
        }
        rx_.insert(rx_.end(), buf, buf + r);
    }
    return true;
}

bool ClientLink::receive(Bytes& m, int timeoutMs) {
    // Bytes of a message cut by the time-out stay for the next call, so a
    // short wait never puts the link out of step with the panel.
    const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
    if (closed_ || !fill(kHeaderSize, timeoutMs)) return false;
    const uint16_t len = getU16(rx_.data() + 4);
    if (len > kMaxBody) {
        closed_ = true;  // out of step with the panel: nothing after this can be read
        return false;
    }
    if (!fill(kHeaderSize + len, msLeft(end))) return false;
    m.assign(rx_.begin(), rx_.begin() + static_cast<std::ptrdiff_t>(kHeaderSize + len));
    rx_.erase(rx_.begin(), rx_.begin() + static_cast<std::ptrdiff_t>(kHeaderSize + len));
    return true;
}

void ClientLink::keepIfNotification(const Bytes& m) {
    MessageHeader h;
    if (readHeader(m.data(), m.size(), h) && h.group == kGroupCommand && h.kind == kKindNotify)
        notifications_.push_back(m);
}

bool ClientLink::notification(Bytes& m, int timeoutMs) {
    if (!notifications_.empty()) {
        m = std::move(notifications_.front());
        notifications_.pop_front();
        return true;
    }
    const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (receive(m, msLeft(end))) {
        MessageHeader h;
        readHeader(m.data(), m.size(), h);
        if (h.group == kGroupCommand && h.kind == kKindNotify) return true;
    }
    return false;
}

int ClientLink::login(uint32_t serial, uint32_t password, int timeoutMs) {
    uint8_t body[12] = {};
    putU16(body + 2, 6);
    putU32(body + 4, serial);
    putU32(body + 8, password);
    if (!send(makeMessage(kGroupLogin, kKindRequest, body, sizeof body))) return -1;
    const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
    Bytes m;
    while (receive(m, msLeft(end))) {
        MessageHeader h;
        readHeader(m.data(), m.size(), h);
        if (h.group == kGroupLogin && h.kind == kKindReply && h.len >= 4) return getU16(m.data() + kHeaderSize + 2);
        keepIfNotification(m);
    }
    return -1;
}

bool ClientLink::command(uint16_t code, const Bytes& data, Reply& reply, int timeoutMs) {
    Bytes body;
    appendU16(body, code);
    body.insert(body.end(), data.begin(), data.end());
    if (!send(makeMessage(kGroupCommand, kKindRequest, body))) return false;
    const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
    Bytes m;
    while (receive(m, msLeft(end))) {
        MessageHeader h;
        readHeader(m.data(), m.size(), h);
        const uint8_t* b = m.data() + kHeaderSize;
        if (h.group != kGroupCommand || h.kind != kKindReply || h.len < 4 || getU16(b) != code) {
            keepIfNotification(m);
            continue;
        }
        reply.result = getU16(b + 2);
        reply.data.assign(b + 4, b + h.len);
        return true;
    }
    return false;
}

std::vector<DiscoveryAnswer> discover(const std::string& host, uint16_t port, uint32_t serial, int timeoutMs,
                                      std::string& error) {
    std::vector<DiscoveryAnswer> answers;
    sockaddr_in to{};
    if (host.empty()) {
        to.sin_family = AF_INET;
        to.sin_addr.s_addr = htonl(INADDR_BROADCAST);
        to.sin_port = htons(port);
    } else if (!resolve(host, port, SOCK_DGRAM, to, error)) {
        return answers;
    }
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        error = std::string("socket: ") + std::strerror(errno);
        return answers;
    }
    const int yes = 1;
    setsockopt(fd, SOL_SOCKET, SO_BROADCAST, &yes, sizeof yes);
    uint8_t request[7] = {1};
    putU16(request + 1, 6);
    putU32(request + 3, serial);
    if (::sendto(fd, request, sizeof request, 0, reinterpret_cast<sockaddr*>(&to), sizeof to) != sizeof request) {
        error = std::string("cannot send the discovery request: ") + std::strerror(errno);
        ::close(fd);
        return answers;
    }
    const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, msLeft(end)) != 1) break;
        uint8_t answer[16];
        sockaddr_in from{};
        socklen_t len = sizeof from;
        const ssize_t n = ::recvfrom(fd, answer, sizeof answer, 0, reinterpret_cast<sockaddr*>(&from), &len);
        if (n != 7 || answer[0] != 2 || getU16(answer + 1) != 6) continue;
        char text[INET_ADDRSTRLEN] = {};
        inet_ntop(AF_INET, &from.sin_addr, text, sizeof text);
        answers.push_back({getU32(answer + 3), text});
        // A unicast question has one answer.
        if (!host.empty()) break;
    }
    ::close(fd);
    return answers;
}

}  // namespace vesk::client
