// What the manual-ignition and reverse-test screens do to the burner. Each
// call takes stateLock itself; the screens call them on the UI thread.
#pragma once

#include "control/control_context.h"

namespace vesk {

// Manual ignition (state 1).
void manualSetIgniter(ControlContext& c, bool on);
// On: one 30 s auger pulse. Off: the auger stops at once.
void manualSetAuger(ControlContext& c, bool on);
// The blower at FAN_BURNUP or off.
void manualSetBlower(ControlContext& c, bool on);
// "АВТО": accepted (1) only with a valid flue gas at the burn-up threshold
// and a healthy link; the burner goes on to blow-up.
int manualAccept(ControlContext& c);
// "ОТМЕНА": everything off and the burner stopped.
void manualCancel(ControlContext& c);

// The auger reverse test (state 7) with its one-second check, which ends
// the test once the 30 s run is over. Owned by the reverse screen.
class AugerReverseTest {
public:
    explicit AugerReverseTest(ControlContext c) : c_(c) {}
    ~AugerReverseTest();
    AugerReverseTest(const AugerReverseTest&) = delete;
    AugerReverseTest& operator=(const AugerReverseTest&) = delete;

    // "ВКЛЮЧИТЬ РЕВЕРС": only from stop; 1 when the test began.
    int start();
    // "ОТКЛЮЧИТЬ РЕВЕРС", or leaving the screen while the test runs.
    void stop();
    bool running();

private:
    void check();

    ControlContext c_;
    int checkTimer_ = 0;  // guarded by stateLock
};

}  // namespace vesk
