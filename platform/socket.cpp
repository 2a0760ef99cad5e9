// POSIX sockets behind the small interface the network thread uses.
#include "platform/socket.h"

#include <arpa/inet.h>
#include <dirent.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

namespace vesk {

namespace {

bool wouldBlock(int e) { return e == EAGAIN || e == EWOULDBLOCK; }

sockaddr_in toSockaddr(Endpoint e) {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(e.address);
    a.sin_port = htons(e.port);
    return a;
}

Socket boundSocket(int type, uint16_t port) {
    Socket s(::socket(AF_INET, type | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (!s.isOpen()) return s;
    int one = 1;
    // The listener is closed and reopened while clients come and go.
    ::setsockopt(s.fd(), SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in a = toSockaddr({INADDR_ANY, port});
    if (::bind(s.fd(), reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) s.close();
    return s;
}

// Messages and TLS records go out as they are written: waiting to coalesce
// them only adds the peer's delayed acknowledgement to every exchange.
void sendAtOnce(const Socket& s) {
    int one = 1;
    if (s.isOpen()) ::setsockopt(s.fd(), IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
}

IoResult fromCount(ssize_t r, bool zeroIsClose) {
    if (r > 0 || (r == 0 && !zeroIsClose)) return {IoStatus::Ok, static_cast<size_t>(r)};
    if (r == 0) return {IoStatus::Closed, 0};
    if (wouldBlock(errno) || errno == EINTR) return {IoStatus::WouldBlock, 0};
    return {IoStatus::Error, 0};
}

}  // namespace

Socket& Socket::operator=(Socket&& o) noexcept {
    if (this != &o) {
        close();
        fd_ = o.fd_;
        o.fd_ = -1;
    }
    return *this;
}

void Socket::close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

Socket openTcpListener(uint16_t port) {
    Socket s = boundSocket(SOCK_STREAM, port);
    if (s.isOpen() && ::listen(s.fd(), SOMAXCONN) != 0) s.close();
    return s;
}

Socket acceptConnection(const Socket& listener, Endpoint* peer) {
    sockaddr_in a{};
    socklen_t len = sizeof a;
    Socket s(::accept4(listener.fd(), reinterpret_cast<sockaddr*>(&a), &len, SOCK_NONBLOCK | SOCK_CLOEXEC));
    if (!s.isOpen()) return s;
    sendAtOnce(s);
    // A peer that vanished (power cut, cable pulled) would otherwise hold
    // its place among the few connections for ever.
    const int on = 1, idle = kKeepAliveIdleS, interval = kKeepAliveIntervalS, probes = kKeepAliveProbes;
    ::setsockopt(s.fd(), SOL_SOCKET, SO_KEEPALIVE, &on, sizeof on);
    ::setsockopt(s.fd(), IPPROTO_TCP, TCP_KEEPIDLE, &idle, sizeof idle);
    ::setsockopt(s.fd(), IPPROTO_TCP, TCP_KEEPINTVL, &interval, sizeof interval);
    ::setsockopt(s.fd(), IPPROTO_TCP, TCP_KEEPCNT, &probes, sizeof probes);
    if (peer && a.sin_family == AF_INET) *peer = {ntohl(a.sin_addr.s_addr), ntohs(a.sin_port)};
    return s;
}

bool keepAliveSet(const Socket& s) {
    auto get = [&](int level, int name) {
        int v = 0;
        socklen_t len = sizeof v;
        return ::getsockopt(s.fd(), level, name, &v, &len) == 0 ? v : -1;
    };
    return get(SOL_SOCKET, SO_KEEPALIVE) == 1 && get(IPPROTO_TCP, TCP_KEEPIDLE) == kKeepAliveIdleS &&
           get(IPPROTO_TCP, TCP_KEEPINTVL) == kKeepAliveIntervalS && get(IPPROTO_TCP, TCP_KEEPCNT) == kKeepAliveProbes;
}

Socket openUdpSocket(uint16_t port) {
    Socket s = boundSocket(SOCK_DGRAM, port);
    int one = 1;
    if (s.isOpen()) ::setsockopt(s.fd(), SOL_SOCKET, SO_BROADCAST, &one, sizeof one);
    return s;
}

ConnectResult connectTcp(Endpoint to) {
    ConnectResult r;
    r.socket = Socket(::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (!r.socket.isOpen()) return r;
    sendAtOnce(r.socket);
    sockaddr_in a = toSockaddr(to);
    if (::connect(r.socket.fd(), reinterpret_cast<sockaddr*>(&a), sizeof a) == 0) {
        r.status = ConnectStatus::Connected;
    } else if (errno == EINPROGRESS || errno == EINTR) {
        r.status = ConnectStatus::InProgress;
    } else {
        r.socket.close();
    }
    return r;
}

bool connectSucceeded(const Socket& s) {
    int err = 0;
    socklen_t len = sizeof err;
    if (::getsockopt(s.fd(), SOL_SOCKET, SO_ERROR, &err, &len) != 0 || err != 0) return false;
    sockaddr_in peer{};
    socklen_t plen = sizeof peer;
    return ::getpeername(s.fd(), reinterpret_cast<sockaddr*>(&peer), &plen) == 0;
}

std::optional<uint32_t> resolveIpv4(const std::string& host) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* res = nullptr;
    if (::getaddrinfo(host.c_str(), nullptr, &hints, &res) != 0 || !res) return std::nullopt;
    uint32_t a = ntohl(reinterpret_cast<sockaddr_in*>(res->ai_addr)->sin_addr.s_addr);
    ::freeaddrinfo(res);
    return a;
}

std::optional<uint32_t> parseIpv4(const std::string& text) {
    in_addr a{};
    if (::inet_pton(AF_INET, text.c_str(), &a) != 1) return std::nullopt;
    return ntohl(a.s_addr);
}

uint16_t boundPort(const Socket& s) {
    sockaddr_in a{};
    socklen_t len = sizeof a;
    if (!s.isOpen() || ::getsockname(s.fd(), reinterpret_cast<sockaddr*>(&a), &len) != 0) return 0;
    return ntohs(a.sin_port);
}

IoResult socketRead(int fd, uint8_t* buf, size_t n) { return fromCount(::recv(fd, buf, n, 0), n > 0); }

IoResult socketWrite(int fd, const uint8_t* buf, size_t n) {
    return fromCount(::send(fd, buf, n, MSG_NOSIGNAL), false);
}

IoResult receiveDatagram(int fd, uint8_t* buf, size_t n, Endpoint& from) {
    sockaddr_in a{};
    socklen_t len = sizeof a;
    ssize_t r = ::recvfrom(fd, buf, n, MSG_TRUNC, reinterpret_cast<sockaddr*>(&a), &len);
    if (r >= 0) {
        from.address = ntohl(a.sin_addr.s_addr);
        from.port = ntohs(a.sin_port);
    }
    return fromCount(r, false);
}

IoResult sendDatagram(int fd, const uint8_t* buf, size_t n, const Endpoint& to) {
    sockaddr_in a = toSockaddr(to);
    return fromCount(::sendto(fd, buf, n, MSG_NOSIGNAL, reinterpret_cast<sockaddr*>(&a), sizeof a), false);
}

int waitSockets(std::vector<SocketWait>& items, int timeoutMs, int wake) {
    std::vector<pollfd> fds;
    fds.reserve(items.size() + 1);
    for (auto& it : items) {
        short ev = 0;
        if (it.read) ev |= POLLIN;
        if (it.write) ev |= POLLOUT;
        fds.push_back({it.fd, ev, 0});
        it.readable = it.writable = it.exception = false;
    }
    if (wake >= 0) fds.push_back({wake, POLLIN, 0});
    int r = ::poll(fds.data(), fds.size(), timeoutMs);
    if (r < 0) return errno == EINTR ? 0 : -1;
    int ready = 0;
    for (size_t i = 0; i < items.size(); ++i) {
        short re = fds[i].revents;
        auto& it = items[i];
        it.exception = (re & (POLLERR | POLLNVAL)) != 0;
        // A hang-up shows as readable: the read then tells close from error.
        it.readable = it.read && (re & (POLLIN | POLLHUP)) != 0;
        it.writable = it.write && (re & POLLOUT) != 0;
        if (it.exception || it.readable || it.writable) ++ready;
    }
    return ready;
}

WakeSignal::WakeSignal() : fd_(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {}

WakeSignal::~WakeSignal() {
    if (fd_ >= 0) ::close(fd_);
}

void WakeSignal::raise() {
    uint64_t one = 1;
    [[maybe_unused]] ssize_t r = ::write(fd_, &one, sizeof one);
}

void WakeSignal::clear() {
    uint64_t v;
    [[maybe_unused]] ssize_t r = ::read(fd_, &v, sizeof v);
}

bool WakeSignal::wait(int timeoutMs) const {
    pollfd p{fd_, POLLIN, 0};
    return ::poll(&p, 1, timeoutMs) > 0;
}

size_t openDescriptorCount() {
    size_t n = 0;
    DIR* d = ::opendir("/proc/self/fd");
    if (!d) return 0;
    while (dirent* e = ::readdir(d))
        if (e->d_name[0] != '.') ++n;
    ::closedir(d);
    return n > 0 ? n - 1 : 0;  // the listing's own descriptor
}

}  // namespace vesk
