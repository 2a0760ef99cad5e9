// The one-second countdown service every control delay is built on.
#pragma once
#include "core/controller_state.h"

namespace vesk {

class TimerService;

class CountdownService {
public:
    CountdownService(ControllerState& s, TimerService& timers) : s_(s), timers_(timers) {}
    ~CountdownService();
    // Zeroes every countdown and starts the 1000 ms tick.
    bool start();
    // One tick: every non-zero countdown but tAux[4] goes down by one.
    void tick();

private:
    ControllerState& s_;
    TimerService& timers_;
    int timerId_ = 0;
};

}  // namespace vesk
