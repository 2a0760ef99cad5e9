#include "core/controller_state.h"

namespace vesk {

int ControllerState::readSensor(int index) const {
    if (index < 0 || index >= kSensorCount) return 0;
    int v = sensors[index];
    if (boardVersionCopy == 0x2215 && index != kSensorGas && isValidTemp(v)) return v / 10;
    return v;
}

void ControllerState::setCountdown(Countdown which, int seconds) {
    std::lock_guard<std::mutex> g(timerLock);
    countdowns[which] = seconds;
}

int ControllerState::countdown(Countdown which) {
    std::lock_guard<std::mutex> g(timerLock);
    return countdowns[which];
}

void userSettingsChanged(ControllerState& s, const UserParams& before) {
    if (s.usr.BUNK_AUTOFILL != before.BUNK_AUTOFILL) s.controlFlags |= kFlagBunkerRestart;
}

}  // namespace vesk
