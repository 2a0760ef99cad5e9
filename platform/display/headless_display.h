// A screen that exists only in memory: for tests, servers and machines
// without a display. Pen input can be injected from any thread.
#pragma once
#include <condition_variable>
#include <mutex>
#include <vector>

#include "platform/display/display.h"

namespace vesk {

class HeadlessDisplay : public Display {
public:
    HeadlessDisplay();
    uint32_t* pixels() override { return pixels_.data(); }
    void present(const ScreenRect& changed) override;
    bool waitEvents(std::vector<PenEvent>& out, int timeoutMs) override;
    void wake() override;
    std::string name() const override { return "headless"; }

    // Queues a pen event as if the screen had been touched; wakes the waiter.
    void injectPen(const PenEvent& e);
    // How many times present() was called (lets tests see a frame went out).
    int presentCount() const;

private:
    std::vector<uint32_t> pixels_;
    mutable std::mutex m_;
    std::condition_variable cv_;
    std::vector<PenEvent> pending_;
    bool woken_ = false;
    int presents_ = 0;
};

}  // namespace vesk
