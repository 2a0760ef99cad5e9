// The alarm decision made every control cycle: the fault alarm loops while
// any fault stands; with no fault an empty bunker chimes every 10 s.
#pragma once

namespace vesk {

struct ControllerState;
class SoundPlayer;

enum SoundResource : int {
    kSoundClick = 132,
    kSoundBunkerEmpty = 238,
    kSoundModuleEvent = 240,
    kSoundFaultAlarm = 245,
};

class AlarmSound {
public:
    explicit AlarmSound(SoundPlayer& player) : player_(player) {}
    // Called with stateLock held, after the fault evaluation.
    void evaluate(ControllerState& s);
    bool alarmPlaying() const { return alarmPlaying_; }

private:
    SoundPlayer& player_;
    bool alarmPlaying_ = false;
};

// The bunker-empty input as the variant wires it, and whether it is in use.
bool bunkerEmptySignalled(const ControllerState& s);

}  // namespace vesk
