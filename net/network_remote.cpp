// Remote server connection state machine over TLS.
#include "net/network_remote.h"

#include <thread>

#include "platform/clock.h"

namespace vesk {

RemoteLink::RemoteLink(BufferPool& pool, Variant v, std::string host, uint16_t port, const Clock& clock)
    : conn_(pool), tls_(TlsSession::remoteClient(v)), host_(std::move(host)), port_(port), clock_(clock) {
    conn_.context.remote = true;
}

bool RemoteLink::up() const {
    return conn_.state == ConnState::Connected && tls_->handshakeDone() && helloSent_;
}

void RemoteLink::advance(MessageHandler& handler) {
    if (!conn_.socket.isOpen()) {
        auto a = address();
        if (a) connect(*a);
    }
    if (conn_.state == ConnState::Connected && !tls_->handshakeDone()) handshake();
    if (conn_.state == ConnState::Connected && tls_->handshakeDone() && !helloSent_) {
        std::vector<uint8_t> hello = handler.remoteHello();
        if (!conn_.send(*tls_, hello.data(), hello.size())) {
            close();
            return;
        }
        helloSent_ = true;
    }
}

std::optional<uint32_t> RemoteLink::address() {
    if (!lookup_) {
        const int64_t now = clock_.nowMs();
        if (attempted_ && now - lastAttemptMs_ < kRetryMs) return std::nullopt;
        attempted_ = true;
        lastAttemptMs_ = now;
        if (auto dotted = parseIpv4(host_)) return dotted;
        lookup_ = std::make_shared<Lookup>();
        std::thread([l = lookup_, host = host_] {
            auto a = resolveIpv4(host);
            std::lock_guard<std::mutex> g(l->m);
            l->address = a;
            l->done = true;
        }).detach();
    }
    std::shared_ptr<Lookup> l = lookup_;
    std::lock_guard<std::mutex> g(l->m);
    if (!l->done) return std::nullopt;
    lookup_.reset();
    return l->address;
}

void RemoteLink::connect(uint32_t address) {
    conn_.context = ConnectionContext{};
    conn_.context.remote = true;
    ConnectResult r = connectTcp({address, port_});
    if (r.status == ConnectStatus::Failed) return;
    conn_.socket = std::move(r.socket);
    conn_.state = r.status == ConnectStatus::Connected ? ConnState::Connected : ConnState::Connecting;
    tls_->reset();
    tls_->attach(conn_.socket.fd());
}

void RemoteLink::handshake() {
    wantRead_ = wantWrite_ = false;
    switch (tls_->handshakeStep()) {
    case TlsStep::Done:
        break;
    case TlsStep::WantRead:
        wantRead_ = true;
        break;
    case TlsStep::WantWrite:
        wantWrite_ = true;
        break;
    case TlsStep::Failed:
        close();
        break;
    }
}

void RemoteLink::close() {
    conn_.close();
    tls_->reset();
    helloSent_ = false;
    wantRead_ = wantWrite_ = false;
}

bool RemoteLink::send(const std::vector<uint8_t>& msg) {
    if (conn_.state != ConnState::Connected || !tls_->handshakeDone()) return false;
    if (conn_.send(*tls_, msg.data(), msg.size())) return true;
    close();
    return false;
}

bool RemoteLink::pending() const { return isOpen() && tls_->handshakeDone() && tls_->pending(); }

bool RemoteLink::waitItem(SocketWait& w) const {
    if (!isOpen()) return false;
    w = SocketWait{};
    w.fd = conn_.socket.fd();
    if (conn_.state == ConnState::Connecting) {
        w.write = true;
    } else if (!tls_->handshakeDone()) {
        w.read = wantRead_;
        w.write = wantWrite_;
    } else {
        w.read = !conn_.held();
        w.write = conn_.sending();
    }
    return true;
}

void RemoteLink::retryHeld(MessageHandler& handler, int64_t now) {
    if (isOpen() && conn_.held() && !conn_.retryHeld(*tls_, handler, now)) close();
}

void RemoteLink::handle(SocketWait w, MessageHandler& handler) {
    if (!isOpen()) return;
    if (w.exception) {
        close();
        return;
    }
    if (conn_.state == ConnState::Connecting) {
        if (!w.writable) return;
        if (!connectSucceeded(conn_.socket)) {
            close();
            return;
        }
        conn_.state = ConnState::Connected;
    }
    if (!tls_->handshakeDone()) {
        if (w.readable || w.writable) handshake();
        return;
    }
    if (w.writable && !conn_.continueSend(*tls_)) {
        close();
        return;
    }
    if (!conn_.held() && (w.readable || tls_->pending()) && !conn_.continueReceive(*tls_, handler)) close();
}

}  // namespace vesk
