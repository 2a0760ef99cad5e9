// Host time scaled by VESK_TIME_SCALE; the local time is the host's local
// time plus an offset kept in the registry store.
#pragma once
#include <atomic>

#include "platform/clock.h"

namespace vesk {

class Registry;

class RealClock : public Clock {
public:
    // `registry` may be null: then set local time lasts for the run only.
    RealClock(double scale, Registry* registry);
    int64_t nowMs() const override;
    LocalTime localTime() const override;
    void setLocalTime(const LocalTime& t) override;
    void sleepMs(int64_t ms) override;
    int64_t realMsFor(int64_t panelMs) const override;
    double scale() const { return scale_; }

private:
    double scale_;
    Registry* registry_;
    int64_t startRealUs_;
    int64_t startWallSec_;
    // Set from the UI thread, read by the control thread.
    std::atomic<int64_t> offsetSec_{0};
};

}  // namespace vesk
