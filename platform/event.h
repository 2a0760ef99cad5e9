// Auto-reset event: one waiter is released per set; the flag clears on wake.
#pragma once
#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace vesk {

class Clock;

class Event {
public:
    explicit Event(bool initiallySet = false) : set_(initiallySet) {}
    void set();
    // Waits up to `timeoutMs` panel milliseconds; true when the event was set.
    bool wait(const Clock& clock, int64_t timeoutMs);

private:
    std::mutex m_;
    std::condition_variable cv_;
    bool set_;
};

}  // namespace vesk
