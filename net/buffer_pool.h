// The process-wide pool of message buffers: one buffer holds one whole
// message; returned buffers are kept for reuse, at most 50 of them.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

namespace vesk {

constexpr size_t kMessageBufferSize = 256;

struct MessageBuffer {
    size_t count = 0;  // bytes received or sent so far
    size_t length = 0; // bytes of the message (when known)
    std::array<uint8_t, kMessageBufferSize> bytes{};
};

class BufferPool {
public:
    static constexpr size_t kMaxFree = 50;

    // Gives the buffer back when it goes out of scope.
    struct Return {
        BufferPool* pool = nullptr;
        void operator()(MessageBuffer* b) const { pool->giveBack(b); }
    };
    using Buffer = std::unique_ptr<MessageBuffer, Return>;

    BufferPool() = default;
    ~BufferPool();
    BufferPool(const BufferPool&) = delete;
    BufferPool& operator=(const BufferPool&) = delete;

    // A cleared buffer, reused or new; empty only when memory runs out.
    Buffer take();
    size_t freeCount() const;
    // Buffers taken and not yet given back.
    size_t inUse() const;

private:
    void giveBack(MessageBuffer* b);

    mutable std::mutex m_;
    std::vector<std::unique_ptr<MessageBuffer>> free_;
    size_t inUse_ = 0;
};

}  // namespace vesk
