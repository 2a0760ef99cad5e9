// Records of the heating circuits: pump latches and the two mixing valves.
// Kept in ControllerState; owned by the pump, valve and schedule steps, read
// by the water target.
#pragma once
#include <cstdint>

namespace vesk {

struct PumpRecord {
    int dumpLatch = 0;      // overheat dump: all pumps on
    int frostLatch = 0;
    int pumpsEnabled = 0;   // water warm enough for the consumers
    int dhwOptStep = 0;     // DHW optimisation: 0, 1
    int legionActive = 0;   // anti-legionella window open
    int legionStarted = 0;  // the window started the burner
    int legionManual = 0;   // the window left the burner in manual ignition
    int tankLoading = 0;    // buffer tank being loaded
    int chPauseStart = -1;  // CH pause cycle start, minutes of the day
};

struct ValveRecord {
    int lastMode = 0;
    int closedLatch = 0;    // run fully closed and not opened since
    int valveStep = 0;      // 0 start, 1 closing, 2 arm interval, 3 waiting, 4 moving
    int circuitPump = 0;
    int curveTarget = 255;  // weather target in force, 255 none
};

}  // namespace vesk
