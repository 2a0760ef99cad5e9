// What every control step works with: the state, panel time and the
// services a step may drive. Built once by the Controller.
#pragma once
#include <functional>

namespace vesk {

struct ControllerState;
class Clock;
class TimerService;
class RefreshSink;
class SoundPlayer;
struct ScheduleStore;
class FuelAccounting;
class AugerPulseTimer;

struct ControlContext {
    ControllerState& s;
    Clock& clock;
    TimerService& timers;
    RefreshSink& refresh;
    SoundPlayer& sound;
    ScheduleStore& schedule;
    // Asks the board link to send a command frame at once.
    std::function<void()> sendNow;
    // The auger's pulse timer. The Controller and the closed-loop harness
    // wire it; a rig without one has no auger to drive.
    AugerPulseTimer* pulse = nullptr;
    // Fuel counters and bunker estimate; ORVENA only, null otherwise.
    FuelAccounting* fuel = nullptr;
};

}  // namespace vesk
