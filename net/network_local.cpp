// Local server: accepting, serving and dropping panel clients.
#include "net/network_local.h"

#include <algorithm>

namespace vesk {

void LocalServer::open(uint16_t port) {
    if (!listener_.isOpen() && connections_.size() < kMaxConnections) listener_ = openTcpListener(port);
}

void LocalServer::closeAll() {
    listener_.close();
    connections_.clear();
}

void LocalServer::broadcast(const std::vector<uint8_t>& msg) {
    for (auto& c : connections_) {
        PlainStream s(c->socket.fd());
        if (!c->send(s, msg.data(), msg.size())) c->close();
    }
    dropClosed();
}

void LocalServer::dropClosed() {
    connections_.erase(std::remove_if(connections_.begin(), connections_.end(),
                                      [](const auto& c) { return c->state != ConnState::Connected; }),
                       connections_.end());
}

bool LocalServer::pastDeadline(const Connection& c, int64_t now) const {
    if (c.context.authenticated) return false;
    const int64_t age = now - c.openedMs;
    if (c.held()) return age >= kLoginDeadlineMs + kHeldGraceMs;
    if (c.sending()) return age >= kLoginDeadlineMs + kSendGraceMs;
    return age >= kLoginDeadlineMs;
}

void LocalServer::retryHeld(MessageHandler& handler, int64_t now) {
    for (auto& c : connections_) {
        PlainStream s(c->socket.fd());
        if (!c->retryHeld(s, handler, now)) c->close();
    }
}

int64_t LocalServer::nextHeldMs() const {
    int64_t next = -1;
    for (const auto& c : connections_)
        if (c->held() && (next < 0 || c->context.holdUntilMs < next)) next = c->context.holdUntilMs;
    return next;
}

void LocalServer::addWaits(std::vector<SocketWait>& waits, int64_t now) {
    for (auto& c : connections_)
        if (pastDeadline(*c, now)) c->close();
    dropClosed();
    if (connections_.size() >= kMaxConnections) listener_.close();
    listenerWaited_ = listener_.isOpen();
    if (listenerWaited_) {
        SocketWait w;
        w.fd = listener_.fd();
        w.read = true;
        waits.push_back(w);
    }
    for (const auto& c : connections_) {
        SocketWait w;
        w.fd = c->socket.fd();
        w.read = !c->held();
        w.write = c->sending();
        waits.push_back(w);
    }
}

void LocalServer::handle(const SocketWait* waits, MessageHandler& handler, int64_t now) {
    const SocketWait* w = waits;
    // Connections accepted now are not in this round's entries.
    const size_t served = connections_.size();
    if (listenerWaited_) {
        if (w->exception) {
            listener_.close();
        } else if (w->readable && listener_.isOpen()) {
            Endpoint peer;
            Socket s = acceptConnection(listener_, &peer);
            if (s.isOpen()) {
                auto c = std::make_unique<Connection>(pool_);
                c->socket = std::move(s);
                c->state = ConnState::Connected;
                c->context.peer = peer.address;
                c->openedMs = now;
                connections_.push_back(std::move(c));
            }
        }
        ++w;
    }
    for (size_t i = 0; i < served; ++i, ++w) {
        Connection& c = *connections_[i];
        PlainStream s(c.socket.fd());
        bool keep = !w->exception;
        if (keep && w->writable) keep = c.continueSend(s);
        if (keep && w->readable) keep = c.continueReceive(s, handler);
        if (!keep) c.close();
    }
    dropClosed();
}

}  // namespace vesk
