// In-memory display: waits on a condition variable for wake() or injected pens.
#include "platform/display/headless_display.h"

#include <chrono>

namespace vesk {

HeadlessDisplay::HeadlessDisplay() : pixels_(size_t(kScreenWidth) * kScreenHeight, 0) {}

void HeadlessDisplay::present(const ScreenRect&) {
    std::lock_guard<std::mutex> g(m_);
    ++presents_;
}

bool HeadlessDisplay::waitEvents(std::vector<PenEvent>& out, int timeoutMs) {
    std::unique_lock<std::mutex> lk(m_);
    auto ready = [this] { return woken_ || !pending_.empty(); };
    if (timeoutMs < 0) {
        cv_.wait(lk, ready);
    } else {
        cv_.wait_for(lk, std::chrono::milliseconds(timeoutMs), ready);
    }
    woken_ = false;
    out.insert(out.end(), pending_.begin(), pending_.end());
    pending_.clear();
    return true;
}

void HeadlessDisplay::wake() {
    {
        std::lock_guard<std::mutex> g(m_);
        woken_ = true;
    }
    cv_.notify_all();
}

void HeadlessDisplay::injectPen(const PenEvent& e) {
    {
        std::lock_guard<std::mutex> g(m_);
        pending_.push_back(e);
    }
    cv_.notify_all();
}

int HeadlessDisplay::presentCount() const {
    std::lock_guard<std::mutex> g(m_);
    return presents_;
}

}  // namespace vesk
