// The controller application's one context: it owns the state, the platform
// services and the threads, and brings them up in the designed order.
#pragma once
#include <memory>

#include "board/board_link.h"
#include "control/auger_pulse.h"
#include "control/control_cycle.h"
#include "control/fuel_accounting.h"
#include "core/control_thread.h"
#include "core/controller_state.h"
#include "core/refresh_sink.h"
#include "core/sound_player.h"
#include "platform/eeprom.h"
#include "platform/platform_config.h"
#include "platform/real_clock.h"
#include "platform/real_timer_service.h"
#include "platform/registry.h"
#include "settings/schedule.h"

namespace vesk {

class Controller {
public:
    Controller(Variant variant, PlatformConfig cfg);
    ~Controller();

    // Application initialisation, then the link and control threads.
    // False when a thread could not be made (the later ones are not made).
    bool startUp();

    ControllerState& state() { return state_; }
    AugerPulseTimer& augerPulse() { return pulse_; }
    // Null in KESTRALO, which keeps no fuel counters.
    FuelAccounting* fuelAccounting() { return isKestralo(variant_) ? nullptr : &fuel_; }
    const PlatformConfig& config() const { return cfg_; }
    std::string settingsDir() const { return cfgDir_; }

private:
    void initialise();
    Eeprom* openEepromOnce();

    Variant variant_;
    PlatformConfig cfg_;
    std::string cfgDir_;
    Registry registry_;
    RealClock clock_;
    RealTimerService timers_;
    ControllerState state_;
    std::unique_ptr<Eeprom> eeprom_;
    bool eepromTried_ = false;
    ScheduleStore schedule_;
    RecordingSoundPlayer sound_;
    CountingRefreshSink refresh_;
    BoardLink board_;
    // Outlives the pulse timer, which reports a cut-short ON phase on stop.
    FuelAccounting fuel_;
    AugerPulseTimer pulse_;
    ControlCycle cycle_;
    ControlThread control_;
};

// The whole program: configuration, start-up and the wait until the end.
int runController(Variant variant);

}  // namespace vesk
