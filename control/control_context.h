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

struct ControlContext {
    ControllerState& s;
    Clock& clock;
    TimerService& timers;
    RefreshSink& refresh;
    SoundPlayer& sound;
    ScheduleStore& schedule;
    // Asks the board link to send a command frame at once.
    std::function<void()> sendNow;
    // Fuel counters and bunker estimate; ORVENA only, null otherwise.
    FuelAccounting* fuel = nullptr;
};

}  // namespace vesk
