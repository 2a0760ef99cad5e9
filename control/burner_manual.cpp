// Manual ignition and the auger reverse test, as the screens drive them.
#include "control/burner_manual.h"

#include <mutex>

#include "control/burner.h"
#include "control/burner_commands.h"
#include "control/control_steps.h"
#include "core/controller_state.h"
#include "platform/timer_service.h"

namespace vesk {

namespace {

constexpr int kManualRunTenths = 300;  // one 30 s run of the auger

using StateGuard = std::lock_guard<std::recursive_mutex>;

// The newer boards keep a stopped auger turning unless told explicitly.
void stopAugerExplicitly(ControlContext& c) {
    if (c.s.boardVersion == 0x2214 || c.s.boardVersion == 0x2215) c.s.augerStopPulse = 1;
    stopAugerPulse(c);
}

}  // namespace

void manualSetIgniter(ControlContext& c, bool on) {
    StateGuard g(c.s.stateLock);
    if (on)
        c.s.controlFlags |= kFlagIgniter;
    else
        c.s.controlFlags &= ~kFlagIgniter;
}

void manualSetAuger(ControlContext& c, bool on) {
    StateGuard g(c.s.stateLock);
    if (on)
        startAugerPulse(c, kManualRunTenths, 0, 1);
    else
        stopAugerExplicitly(c);
}

void manualSetBlower(ControlContext& c, bool on) {
    StateGuard g(c.s.stateLock);
    c.s.fanPower = on ? c.s.svc.FAN_BURNUP : 0;
}

int manualAccept(ControlContext& c) {
    ControllerState& s = c.s;
    StateGuard g(s.stateLock);
    const int gas = s.sensors[kSensorGas];
    if (!isValidTemp(gas) || gas < burnupThreshold(s, false) || s.linkOk != 1) return 0;
    if (s.burnerState != kManualIgnition) return 0;
    s.controlFlags &= ~(kFlagIgniter | kFlagBlowupFromBurning);
    commandBurner(s, kCmdAuto);
    stopAugerPulse(c);
    return 1;
}

void manualCancel(ControlContext& c) {
    ControllerState& s = c.s;
    StateGuard g(s.stateLock);
    s.controlFlags &= ~kFlagIgniter;
    commandBurner(s, kCmdStop);
    stopAugerExplicitly(c);
    s.fanPower = 0;
}

AugerReverseTest::~AugerReverseTest() {
    StateGuard g(c_.s.stateLock);
    if (checkTimer_) c_.timers.cancel(checkTimer_);
    checkTimer_ = 0;
}

int AugerReverseTest::start() {
    ControllerState& s = c_.s;
    StateGuard g(s.stateLock);
    if (s.burnerState != kStop || !commandBurner(s, kCmdReverseTest)) return 0;
    s.controlFlags = (s.controlFlags | kFlagAugerReverse) & ~(kFlagDhwOnlyPause | kFlagAugerReverseEnd);
    if (checkTimer_) c_.timers.cancel(checkTimer_);
    checkTimer_ = c_.timers.startPeriodic(1000, [this] { check(); });
    startAugerPulse(c_, kManualRunTenths, 0, 1);
    return 1;
}

void AugerReverseTest::stop() {
    ControllerState& s = c_.s;
    StateGuard g(s.stateLock);
    if (checkTimer_) c_.timers.cancel(checkTimer_);
    checkTimer_ = 0;
    commandBurner(s, kCmdStop);
    stopAugerExplicitly(c_);
    s.controlFlags &= ~(kFlagAugerReverse | kFlagAugerReverseEnd | kFlagDhwOnlyPause);
}

bool AugerReverseTest::running() {
    StateGuard g(c_.s.stateLock);
    return checkTimer_ != 0;
}

void AugerReverseTest::check() {
    StateGuard g(c_.s.stateLock);
    if (checkTimer_ && c_.s.augerOn == 0) stop();
}

}  // namespace vesk
