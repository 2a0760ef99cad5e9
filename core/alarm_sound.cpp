#include "core/alarm_sound.h"

#include "core/controller_state.h"
#include "core/sound_player.h"

namespace vesk {

bool bunkerEmptySignalled(const ControllerState& s) {
    if (isKestralo(s.variant))
        return (s.boardInputs & kInBunkerFull) && s.usr.BUNK_SENSOR_ENABLE == 1;
    return (s.boardInputs & kInBunkerEmpty) && s.usr.USE_EMPTY_SENS == 1;
}

void AlarmSound::evaluate(ControllerState& s) {
    if (s.faults != 0) {
        if (!alarmPlaying_) {
            player_.play(kSoundFaultAlarm, kSoundAsync | kSoundLoop);
            alarmPlaying_ = true;
        }
        return;
    }
    if (alarmPlaying_) {
        // The cycle that silences the alarm plays nothing else.
        player_.stop();
        alarmPlaying_ = false;
        return;
    }
    if (!bunkerEmptySignalled(s)) {
        // The next empty bunker chimes at once.
        s.setCountdown(kTBunkerSound, 0);
        return;
    }
    if (s.countdown(kTBunkerSound) == 0) {
        player_.play(kSoundBunkerEmpty, kSoundAsync);
        s.setCountdown(kTBunkerSound, 10);
    }
}

}  // namespace vesk
