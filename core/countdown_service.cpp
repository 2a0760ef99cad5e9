#include "core/countdown_service.h"

#include "platform/timer_service.h"

namespace vesk {

CountdownService::~CountdownService() {
    if (timerId_) timers_.cancel(timerId_);
}

bool CountdownService::start() {
    {
        std::lock_guard<std::mutex> g(s_.timerLock);
        s_.countdowns.fill(0);
    }
    timerId_ = timers_.startPeriodic(1000, [this] { tick(); });
    return timerId_ != 0;
}

void CountdownService::tick() {
    std::lock_guard<std::mutex> g(s_.timerLock);
    for (int i = 0; i < kCountdownCount; ++i) {
        // tAux[4] holds a value that must not run down.
        if (i == kTAux4) continue;
        if (s_.countdowns[i] > 0) --s_.countdowns[i];
    }
}

}  // namespace vesk
