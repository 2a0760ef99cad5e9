// Where "the screen should show this" goes: the UI posts its refresh message;
// headless runs and tests count or ignore it.
#pragma once
#include <atomic>

namespace vesk {

class RefreshSink {
public:
    virtual ~RefreshSink() = default;
    // Safe from any thread.
    virtual void postRefresh() = 0;
};

class CountingRefreshSink : public RefreshSink {
public:
    void postRefresh() override { count.fetch_add(1); }
    std::atomic<int> count{0};
};

}  // namespace vesk
