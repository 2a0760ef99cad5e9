// The controller application's one context: it owns the state, the platform
// services, the window and the threads, and brings them up in the designed
// order.
#pragma once
#include <memory>
#include <mutex>

#include "board/board_link.h"
#include "control/auger_pulse.h"
#include "control/control_cycle.h"
#include "control/fuel_accounting.h"
#include "core/control_thread.h"
#include "core/controller_state.h"
#include "core/refresh_sink.h"
#include "app/panel_network.h"
#include "net/expansion_link.h"
#include "net/login_guard.h"
#include "net/network.h"
#include "net/protocol_session.h"
#include "platform/display/automation_server.h"
#include "platform/display/display.h"
#include "platform/eeprom.h"
#include "platform/network_adapter.h"
#include "platform/service_notifier.h"
#include "platform/platform_config.h"
#include "platform/real_clock.h"
#include "platform/real_timer_service.h"
#include "platform/registry.h"
#include "platform/sound/sdl_sound_player.h"
#include "platform/sound/sound_log.h"
#include "settings/coalesced_saves.h"
#include "settings/schedule.h"
#include "ui/screens/screen_context.h"
#include "ui/toolkit/app_frame.h"
#include "ui/toolkit/resources.h"

namespace vesk {

class HomeScreen;

// Passes refresh posts on to the window once there is one; posts before
// it exists or after it is gone go nowhere.
class RefreshRelay : public RefreshSink {
public:
    void postRefresh() override;
    void attach(RefreshSink* to);

private:
    std::mutex m_;
    RefreshSink* to_ = nullptr;
};

class Controller {
public:
    Controller(Variant variant, PlatformConfig cfg);
    ~Controller();

    // Application initialisation, the window with the home screen, then
    // the link and control threads. False when a thread could not be made
    // (the later ones are not made).
    bool startUp();
    // The message loop, until the window closes or quit() is called.
    void run();
    // Safe from any thread and from a signal watcher.
    void quit();

    ControllerState& state() { return state_; }
    AugerPulseTimer& augerPulse() { return pulse_; }
    // Null in KESTRALO, which keeps no fuel counters.
    FuelAccounting* fuelAccounting() { return isKestralo(variant_) ? nullptr : &fuel_; }
    const PlatformConfig& config() const { return cfg_; }
    std::string settingsDir() const { return cfgDir_; }
    AppFrame* frame() { return frame_.get(); }

private:
    void initialise();
    void removeLeftovers();
    void openWindow();
    Eeprom* openEepromOnce();
    // What remote commands act on: shared by the module's relay and the network.
    DispatcherServices commandServices();
    void startExpansionLink();

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
    Resources resources_;
    SdlSoundPlayer speaker_;
    SoundLog sound_;
    RefreshRelay refresh_;
    BoardLink board_;
    // Outlives the pulse timer, which reports a cut-short ON phase on stop.
    FuelAccounting fuel_;
    AugerPulseTimer pulse_;
    ControlCycle cycle_;
    std::unique_ptr<ServiceNotifier> notifier_ = makeSystemdNotifier();
    ControlThread control_;
    // Made once the settings folder is known.
    std::unique_ptr<ExpansionLink> expansion_;
    int smsTimer_ = 0;
    // Saves of remote commands and the module, gathered against flash wear.
    std::unique_ptr<CoalescedSaves> saves_;
    // Local clients, discovery and the remote server.
    LoginGuard loginGuard_;
    SystemNetworkAdapter adapter_;
    std::unique_ptr<ProtocolSession> session_;
    std::unique_ptr<Network> network_;
    std::unique_ptr<PanelNetwork> panelNetwork_;

    // The window side, made after the initialisation.
    std::unique_ptr<ScreenContext> screens_;
    std::unique_ptr<Display> display_;
    std::unique_ptr<AppFrame> frame_;
    std::unique_ptr<AutomationServer> automation_;
    HomeScreen* home_ = nullptr;  // owned by the frame's screen stack
};

// The whole program: configuration, start-up, the message loop until the
// window closes or SIGTERM/SIGINT arrives.
int runController(Variant variant);

}  // namespace vesk
