// Receive header then body, dispatch, and the send queue of a connection.
#include "net/connection.h"

#include <cstring>
#include <vector>

namespace vesk {

bool Connection::send(ByteStream& s, const uint8_t* msg, size_t n) {
    if (n == 0 || n > kMessageBufferSize) return false;
    if (tx_ && queue_.size() >= kMaxQueued) return false;
    BufferPool::Buffer b = pool_.take();
    if (!b) return false;
    std::memcpy(b->bytes.data(), msg, n);
    b->length = n;
    if (tx_) {
        queue_.push_back(std::move(b));
        return true;
    }
    tx_ = std::move(b);
    return continueSend(s);
}

bool Connection::continueSend(ByteStream& s) {
    while (tx_) {
        IoResult r = s.write(tx_->bytes.data() + tx_->count, tx_->length - tx_->count);
        if (r.status == IoStatus::WouldBlock) return true;
        if (r.status != IoStatus::Ok) return false;
        tx_->count += r.n;
        if (tx_->count < tx_->length) continue;
        tx_.reset();
        if (!queue_.empty()) {
            tx_ = std::move(queue_.front());
            queue_.pop_front();
        }
    }
    return true;
}

bool Connection::continueReceive(ByteStream& s, MessageHandler& handler) {
    for (int served = 0; served < kMaxMessagesPerEvent;) {
        if (!rx_) {
            rx_ = pool_.take();
            if (!rx_) return false;
        }
        const size_t want = rx_->count < kHeaderSize ? kHeaderSize - rx_->count
                                                     : kHeaderSize + rx_->length - rx_->count;
        IoResult r = s.read(rx_->bytes.data() + rx_->count, want);
        if (r.status == IoStatus::WouldBlock) return true;
        if (r.status != IoStatus::Ok || r.n == 0) return false;
        const bool hadHeader = rx_->count >= kHeaderSize;
        rx_->count += r.n;
        if (!hadHeader && rx_->count == kHeaderSize) {
            rx_->length = getU16(rx_->bytes.data() + 4);
            if (rx_->length > kMaxBody) return false;
        }
        if (rx_->count == kHeaderSize + rx_->length) {
            if (!dispatch(s, handler)) return false;
            if (held_) return true;
            ++served;
            // The socket wait reports what else the kernel holds; only
            // bytes already inside TLS need reading on now.
            if (!s.pending()) return true;
        }
    }
    return true;
}

bool Connection::retryHeld(ByteStream& s, MessageHandler& handler, int64_t now) {
    if (!held_ || now < context.holdUntilMs) return true;
    held_ = false;
    return dispatch(s, handler);
}

bool Connection::dispatch(ByteStream& s, MessageHandler& handler) {
    std::vector<std::vector<uint8_t>> replies;
    MessageVerdict v = handler.handle(context, rx_->bytes.data(), rx_->count, replies);
    if (v == MessageVerdict::Hold) {
        held_ = true;
        return true;
    }
    rx_.reset();
    if (v == MessageVerdict::Close) return false;
    for (const auto& reply : replies)
        if (!send(s, reply.data(), reply.size())) return false;
    return true;
}

void Connection::close() {
    socket.close();
    state = ConnState::Closed;
    rx_.reset();
    tx_.reset();
    queue_.clear();
    held_ = false;
    context.authenticated = false;
    context.loginTicket = 0;
}

}  // namespace vesk
