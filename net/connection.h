// One message connection over a byte stream: the message being received,
// the message being sent and the queue behind it, all in pool buffers.
#pragma once
#include <cstddef>
#include <cstdint>
#include <deque>

#include "net/buffer_pool.h"
#include "net/message.h"
#include "net/message_handler.h"
#include "platform/socket.h"

namespace vesk {

// What a connection reads from and writes to: the socket itself or TLS
// over it.
class ByteStream {
public:
    virtual ~ByteStream() = default;
    virtual IoResult read(uint8_t* buf, size_t n) = 0;
    virtual IoResult write(const uint8_t* buf, size_t n) = 0;
    // Bytes already taken off the socket that a socket wait would not see.
    virtual bool pending() const { return false; }
};

class PlainStream : public ByteStream {
public:
    explicit PlainStream(int fd) : fd_(fd) {}
    IoResult read(uint8_t* buf, size_t n) override { return socketRead(fd_, buf, n); }
    IoResult write(const uint8_t* buf, size_t n) override { return socketWrite(fd_, buf, n); }

private:
    int fd_;
};

enum class ConnState { Closed = 0, Connecting = 1, Connected = 2 };

class Connection {
public:
    // Messages waiting behind the one being sent; a peer that stops reading
    // is dropped rather than allowed to pile up memory.
    static constexpr size_t kMaxQueued = 64;
    // Messages served per readiness event, so one busy peer cannot starve
    // the others.
    static constexpr int kMaxMessagesPerEvent = 16;

    explicit Connection(BufferPool& pool) : pool_(pool) {}
    ~Connection() { close(); }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    Socket socket;
    ConnState state = ConnState::Closed;
    ConnectionContext context;

    bool sending() const { return static_cast<bool>(tx_); }
    // A received message waits to be offered again (see MessageVerdict).
    bool held() const { return held_; }
    // Panel ms at which the connection was accepted (local ones).
    int64_t openedMs = 0;
    size_t queued() const { return queue_.size(); }

    // Starts sending `msg` or queues it behind the current one. False when
    // the connection has to be closed.
    bool send(ByteStream& s, const uint8_t* msg, size_t n);
    bool continueSend(ByteStream& s);
    // Reads what the stream has and dispatches each whole message; replies
    // are sent. False when the connection has to be closed.
    bool continueReceive(ByteStream& s, MessageHandler& handler);
    // Offers a held message again once its time has come. False when the
    // connection has to be closed.
    bool retryHeld(ByteStream& s, MessageHandler& handler, int64_t now);
    // Closes the socket and gives every buffer back.
    void close();

private:
    bool dispatch(ByteStream& s, MessageHandler& handler);

    BufferPool& pool_;
    BufferPool::Buffer rx_;
    BufferPool::Buffer tx_;
    std::deque<BufferPool::Buffer> queue_;
    bool held_ = false;
};

}  // namespace vesk
