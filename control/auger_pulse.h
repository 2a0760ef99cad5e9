// The auger pulse timer: runs the fuel auger in ON/OFF phases on one-shot
// timers, independent of the one-second control cycle.
#pragma once
#include <cstdint>
#include <functional>

namespace vesk {

struct ControllerState;
class Clock;
class TimerService;
class RefreshSink;

class AugerPulseTimer {
public:
    // Receives the length of every ended ON phase, for fuel accounting.
    using FuelHook = std::function<void(int64_t onMs)>;

    AugerPulseTimer(ControllerState& s, Clock& clock, TimerService& timers, RefreshSink& refresh,
                    std::function<void()> sendNow);
    ~AugerPulseTimer();
    AugerPulseTimer(const AugerPulseTimer&) = delete;
    AugerPulseTimer& operator=(const AugerPulseTimer&) = delete;

    // Lengths in tenths of a second; `count` cycles, -1 endless. Ignored
    // when ON or count is 0. While running only lengths and count change,
    // so a regulator may call it every cycle without restarting the phase.
    void start(int onTenths, int offTenths, int count);
    // Ends the run at once; an ON phase cut short still counts as fuel fed.
    void stop();
    bool running() const;

    // Called on the timer's thread or the stopping thread, never with the
    // pulse lock held.
    void setFuelHook(FuelHook hook);

private:
    // Under the pulse lock: arms the timer for the phase just begun.
    bool armLocked(int64_t delayMs);
    void phaseEnd(uint64_t phase);
    void announce();
    void reportFuel(int64_t onMs);

    ControllerState& s_;
    Clock& clock_;
    TimerService& timers_;
    RefreshSink& refresh_;
    std::function<void()> sendNow_;
    FuelHook fuelHook_;
    // Identifies the armed phase, so that a callback of a cancelled timer
    // that was already on its way does nothing.
    uint64_t phase_ = 0;
};

}  // namespace vesk
