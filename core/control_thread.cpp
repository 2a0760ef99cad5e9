#include "core/control_thread.h"

#include <chrono>
#include <future>
#include <mutex>

#include "core/controller_state.h"
#include "platform/clock.h"
#include "platform/service_notifier.h"
#include "settings/param_table.h"

namespace vesk {

ControlThread::ControlThread(ControllerState& s, Clock& clock, TimerService& timers, EepromOpener openEeprom,
                             Cycle cycle)
    : s_(s), clock_(clock), openEeprom_(std::move(openEeprom)), cycle_(std::move(cycle)),
      countdowns_(s, timers) {}

ControlThread::~ControlThread() { stop(); }

bool ControlThread::start() {
    // The caller goes on once the burner state is restored, so that nothing
    // started later (networking) can command the burner before the restore.
    std::promise<void> prepared;
    std::future<void> ready = prepared.get_future();
    try {
        thread_ = std::thread([this, &prepared] {
            prepare();
            prepared.set_value();
            if (notifier_) notifier_->ready();
            loop();
        });
    } catch (const std::system_error&) {
        return false;
    }
    ready.wait();
    return true;
}

void ControlThread::stop() {
    {
        std::lock_guard<std::mutex> g(pauseLock_);
        stop_ = true;
    }
    pauseWake_.notify_all();
    if (thread_.joinable()) thread_.join();
}

void ControlThread::prepare() {
    {
        std::lock_guard<std::recursive_mutex> g(s_.stateLock);
        s_.burnerState = kStop;
        s_.usr.ANTI_JAM_DAY = antiJamDayNumber(s_.localTime);
    }
    countdowns_.start();
    persistence_ = BurnerPersistence(openEeprom_ ? openEeprom_() : nullptr);
    const int restored = persistence_.restore();
    std::lock_guard<std::recursive_mutex> g(s_.stateLock);
    resumeBurnerState(s_, restored);
}

void ControlThread::iterate() {
    std::lock_guard<std::recursive_mutex> g(s_.stateLock);
    if (s_.burnerState != s_.lastPersistedState && s_.persistInhibit == 0) {
        persistence_.store(s_.burnerState);
        s_.lastPersistedState = s_.burnerState;
    }
    if (s_.linkOk == 1 && cycle_) cycle_();
}

void ControlThread::loop() {
    while (!stop_) {
        iterate();
        // A round that never ends (a hung cycle, a lock never released)
        // stops these, and the service manager restarts the panel.
        if (notifier_) notifier_->alive();
        pauseOneSecond();
    }
}

void ControlThread::pauseOneSecond() {
    // One second after the cycle ends, so the period is 1 s plus the cycle.
    // A single wait on a running panel; stop() cuts it short.
    const int64_t until = clock_.nowMs() + 1000;
    std::unique_lock<std::mutex> lk(pauseLock_);
    for (int64_t left = 1000; !stop_ && left > 0; left = until - clock_.nowMs())
        pauseWake_.wait_for(lk, std::chrono::milliseconds(clock_.realMsFor(left)));
}

}  // namespace vesk
