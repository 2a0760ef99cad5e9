// The real control cycle, countdowns and auger pulse timer run against the
// simulated boiler in one process on manual time: frames pass as payloads,
// so a simulated hour takes a fraction of a second.
#pragma once
#include <functional>
#include <memory>

#include "control/auger_pulse.h"
#include "control/control_cycle.h"
#include "control/fuel_accounting.h"
#include "core/control_thread.h"
#include "core/controller_state.h"
#include "core/refresh_sink.h"
#include "core/sound_player.h"
#include "platform/eeprom.h"
#include "platform/manual_clock.h"
#include "platform/manual_timer_service.h"
#include "settings/schedule.h"
#include "sim/board_emulator.h"
#include "sim/plant.h"

namespace vesk::test {

class ClosedLoop {
public:
    // Factory service settings and full user defaults of the variant. The
    // control thread's start-up restores the burner state from `eeprom`,
    // blank unless `storedBurnerCode` is given.
    explicit ClosedLoop(Variant v, uint16_t firmware = 0x2214, const PlantConfig& plant = {},
                        LocalTime start = {2026, 1, 0, 5, 8, 0, 0, 0}, int storedBurnerCode = -1);
    // The panel after a power cut: the same boiler, a fresh controller that
    // starts from what `before` left in the EEPROM, at `before`'s time.
    static std::unique_ptr<ClosedLoop> restartedAfterPowerCut(const ClosedLoop& before);

    // Runs `seconds` simulated seconds: each second a readings frame goes to
    // the panel, the control cycle runs, and the commands go to the board
    // while time passes in slices of `sliceMs`.
    void run(int seconds);
    // Runs until `done` holds (checked every second) or `limit` seconds pass;
    // returns the seconds it took, or -1 when the limit was reached.
    int runUntil(const std::function<bool()>& done, int limit);
    // Board silent: no readings frames reach the panel (link health drops
    // only through the link's own time-out, which is not simulated here).
    void setBoardSilent(bool silent) { silent_ = silent; }
    // The three parts of one simulated second, for callers that time or
    // inspect them one by one: the readings frame, one pass of the control
    // thread (the burner state stored when it changed, the cycle while the
    // link is up), and the second passing with the commands applied.
    void deliverReadings();
    void runCycle();
    void passSecond();

    ControllerState s;
    ManualClock clock;
    ManualTimerService timers{clock};
    ScheduleStore schedule;
    RecordingSoundPlayer sound;
    CountingRefreshSink refresh;
    PlantModel plant;
    BoardEmulator board;
    // The panel's EEPROM: burner state byte and fuel counters (ORVENA).
    MemoryEeprom eeprom;
    FuelAccounting fuel{s, clock, timers};
    AugerPulseTimer pulse;
    ControlCycle cycle;
    // Restore, persistence and the countdown service of the real thread,
    // driven one pass per simulated second.
    ControlThread thread{s, clock, timers, [this] { return &eeprom; }, [this] { cycle.run(); }};
    int sendNowCalls = 0;
    // Auger ON time reported to fuel accounting, ms.
    int64_t fuelOnMs = 0;
    int sliceMs = 100;

private:
    void second();
    bool silent_ = false;
};

}  // namespace vesk::test
