// Message buffer pool shared by the network thread and the expansion link.
#include "net/buffer_pool.h"

#include <new>

namespace vesk {

BufferPool::~BufferPool() = default;

BufferPool::Buffer BufferPool::take() {
    std::unique_ptr<MessageBuffer> b;
    {
        std::lock_guard<std::mutex> g(m_);
        if (!free_.empty()) {
            b = std::move(free_.back());
            free_.pop_back();
        }
    }
    if (!b) {
        b.reset(new (std::nothrow) MessageBuffer);
        if (!b) return Buffer(nullptr, Return{this});
    }
    b->count = 0;
    b->length = 0;
    std::lock_guard<std::mutex> g(m_);
    ++inUse_;
    return Buffer(b.release(), Return{this});
}

void BufferPool::giveBack(MessageBuffer* b) {
    std::unique_ptr<MessageBuffer> owned(b);
    std::lock_guard<std::mutex> g(m_);
    --inUse_;
    if (free_.size() < kMaxFree) free_.push_back(std::move(owned));
}

size_t BufferPool::freeCount() const {
    std::lock_guard<std::mutex> g(m_);
    return free_.size();
}

size_t BufferPool::inUse() const {
    std::lock_guard<std::mutex> g(m_);
    return inUse_;
}

}  // namespace vesk
