// Auger pulse timer: ON/OFF phases chained on one-shot timers, guarded by
// the pulse lock only, so the callbacks never wait for a control cycle.
#include "control/auger_pulse.h"

#include <mutex>

#include "control/control_context.h"
#include "control/control_steps.h"
#include "core/controller_state.h"
#include "core/refresh_sink.h"
#include "platform/clock.h"
#include "platform/timer_service.h"

namespace vesk {

AugerPulseTimer::AugerPulseTimer(ControllerState& s, Clock& clock, TimerService& timers, RefreshSink& refresh,
                                 std::function<void()> sendNow)
    : s_(s), clock_(clock), timers_(timers), refresh_(refresh), sendNow_(std::move(sendNow)) {}

AugerPulseTimer::~AugerPulseTimer() {
    std::lock_guard<std::mutex> g(s_.pulseLock);
    if (s_.pulseTimerId) timers_.cancel(s_.pulseTimerId);
    s_.pulseTimerId = 0;
    ++phase_;
}

void AugerPulseTimer::setFuelHook(FuelHook hook) {
    std::lock_guard<std::mutex> g(s_.pulseLock);
    fuelHook_ = std::move(hook);
}

bool AugerPulseTimer::running() const {
    std::lock_guard<std::mutex> g(s_.pulseLock);
    return s_.pulseActive == 1;
}

bool AugerPulseTimer::armLocked(int64_t delayMs) {
    const uint64_t phase = ++phase_;
    s_.pulseTimerId = timers_.startOneShot(delayMs, [this, phase] { phaseEnd(phase); });
    return s_.pulseTimerId != 0;
}

void AugerPulseTimer::announce() {
    if (sendNow_) sendNow_();
    refresh_.postRefresh();
}

void AugerPulseTimer::reportFuel(int64_t onMs) {
    FuelHook hook;
    {
        std::lock_guard<std::mutex> g(s_.pulseLock);
        hook = fuelHook_;
    }
    if (hook) hook(onMs);
}

void AugerPulseTimer::start(int onTenths, int offTenths, int count) {
    if (onTenths <= 0 || count == 0) return;
    {
        std::lock_guard<std::mutex> g(s_.pulseLock);
        s_.pulseOnMs = onTenths * 100;
        s_.pulseOffMs = offTenths > 0 ? offTenths * 100 : 0;
        s_.pulseCount = count < 0 ? -1 : count;
        if (s_.pulseActive) return;
        s_.pulseActive = 1;
        bool armed;
        if (s_.pulseOffMs != 0) {
            s_.augerOn = 0;
            armed = armLocked(s_.pulseOffMs);
        } else {
            s_.augerOn = 1;
            s_.pulseStartTick = clock_.nowMs();
            armed = armLocked(s_.pulseOnMs);
        }
        if (!armed) {
            // Without a timer nothing would ever end the ON phase.
            s_.pulseActive = 0;
            s_.augerOn = 0;
        }
    }
    announce();
}

void AugerPulseTimer::phaseEnd(uint64_t phase) {
    int64_t fedMs = -1;
    {
        std::lock_guard<std::mutex> g(s_.pulseLock);
        if (phase != phase_ || !s_.pulseActive) return;
        s_.pulseTimerId = 0;
        const int64_t now = clock_.nowMs();
        bool armed = true;
        if (s_.augerOn) {
            s_.augerOn = 0;
            fedMs = now - s_.pulseStartTick;
            if (s_.pulseCount != -1 && --s_.pulseCount <= 0) {
                s_.pulseCount = 0;
                s_.pulseActive = 0;
            } else if (s_.pulseOffMs != 0) {
                armed = armLocked(s_.pulseOffMs);
            } else {
                s_.augerOn = 1;
                s_.pulseStartTick = now;
                armed = armLocked(s_.pulseOnMs);
            }
        } else {
            s_.augerOn = 1;
            s_.pulseStartTick = now;
            armed = armLocked(s_.pulseOnMs);
        }
        if (!armed) {
            s_.augerOn = 0;
            s_.pulseActive = 0;
        }
    }
    if (fedMs >= 0) reportFuel(fedMs);
    announce();
}

void AugerPulseTimer::stop() {
    int64_t fedMs = -1;
    {
        std::lock_guard<std::mutex> g(s_.pulseLock);
        if (s_.pulseTimerId) timers_.cancel(s_.pulseTimerId);
        s_.pulseTimerId = 0;
        ++phase_;
        s_.pulseActive = 0;
        if (s_.augerOn) {
            s_.augerOn = 0;
            fedMs = clock_.nowMs() - s_.pulseStartTick;
        }
    }
    if (fedMs < 0) return;
    reportFuel(fedMs);
    announce();
}

void initAugerPulse(ControllerState& s) {
    std::lock_guard<std::mutex> g(s.pulseLock);
    s.pulseActive = 0;
    s.pulseOnMs = 0;
    s.pulseOffMs = 60;
    s.pulseCount = -1;
}

void stopAugerPulse(ControlContext& c) {
    if (c.pulse)
        c.pulse->stop();
    else
        c.s.augerOn = 0;
}

}  // namespace vesk
