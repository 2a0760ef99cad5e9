// The control thread: restores the burner state, starts the countdowns and
// runs the control cycle once a second while the board link is healthy.
#pragma once
#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "core/burner_persistence.h"
#include "core/countdown_service.h"

namespace vesk {

struct ControllerState;
class Clock;
class TimerService;
class Eeprom;
class ServiceNotifier;

class ControlThread {
public:
    using EepromOpener = std::function<Eeprom*()>;
    using Cycle = std::function<void()>;

    // `openEeprom` is called once, after the countdowns start; it may
    // return null. `cycle` runs with stateLock held.
    ControlThread(ControllerState& s, Clock& clock, TimerService& timers, EepromOpener openEeprom,
                  Cycle cycle);
    ~ControlThread();

    // Told when the loop starts and after each of its rounds; set before
    // start().
    void setNotifier(ServiceNotifier* n) { notifier_ = n; }

    // Starts the thread; returns once it has restored the burner state.
    bool start();
    // Ends the thread (tests; the panel's control thread never ends).
    void stop();

    // The thread's parts, callable one by one from tests.
    void prepare();
    void iterate();

private:
    void loop();
    void pauseOneSecond();

    ControllerState& s_;
    Clock& clock_;
    EepromOpener openEeprom_;
    Cycle cycle_;
    CountdownService countdowns_;
    BurnerPersistence persistence_{nullptr};
    ServiceNotifier* notifier_ = nullptr;
    std::atomic<bool> stop_{false};
    std::mutex pauseLock_;
    std::condition_variable pauseWake_;
    std::thread thread_;
};

}  // namespace vesk
