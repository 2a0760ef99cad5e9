#include "app/controller.h"

#include <pthread.h>

#include <csignal>
#include <cstdio>
#include <thread>

#include "control/burner_commands.h"
#include "control/control_steps.h"
#include "net/expansion_sms_setting.h"
#include "platform/atomic_file.h"
#include "platform/backlight.h"
#include "platform/power.h"
#include "platform/process.h"
#include "settings/param_table.h"
#include "settings/settings_file.h"
#include "ui/screens/home_screen.h"
#include "ui/screens/menu/menus.h"

namespace vesk {

namespace {
constexpr uint32_t kWaveVolume = 0xF332;
}

void RefreshRelay::postRefresh() {
    std::lock_guard<std::mutex> g(m_);
    if (to_) to_->postRefresh();
}

void RefreshRelay::attach(RefreshSink* to) {
    std::lock_guard<std::mutex> g(m_);
    to_ = to;
}

Controller::Controller(Variant variant, PlatformConfig cfg)
    : variant_(variant),
      cfg_(std::move(cfg)),
      registry_(cfg_.registry),
      clock_(cfg_.timeScale, &registry_),
      timers_(clock_),
      state_(variant),
      resources_(Resources::forProgram(cfg_.home, executableFolder(), std::string(variantInfo(variant).programName))),
      speaker_(resources_.resourceDir()),
      sound_(speaker_),
      board_(state_, variant, clock_, refresh_),
      fuel_(state_, clock_, timers_),
      pulse_(state_, clock_, timers_, refresh_, [this] { board_.sendNow(); }),
      cycle_(ControlContext{state_, clock_, timers_, refresh_, sound_, schedule_, [this] { board_.sendNow(); },
                            &pulse_, fuelAccounting()}),
      control_(state_, clock_, timers_, [this] { return openEepromOnce(); }, [this] { cycle_.run(); }),
      loginGuard_([name = std::string(variantInfo(variant).programName)](const std::string& line) {
          std::fprintf(stderr, "%s: %s\n", name.c_str(), line.c_str());
      }),
      adapter_(cfg_.netIface) {
    control_.setNotifier(notifier_.get());
    if (!isKestralo(variant_)) pulse_.setFuelHook([this](int64_t onMs) { fuel_.addRunTime(onMs); });
}

Controller::~Controller() {
    if (network_) network_->stop();
    control_.stop();
    if (expansion_) expansion_->stop();
    // Pending saves go to disk now, before anything else ends.
    saves_.reset();
    board_.stop();
    if (smsTimer_) timers_.cancel(smsTimer_);
    refresh_.attach(nullptr);
    if (automation_) automation_->stop();
}

Eeprom* Controller::openEepromOnce() {
    if (!eepromTried_) {
        eepromTried_ = true;
        eeprom_ = openEeprom(cfg_.i2c0);
    }
    return eeprom_.get();
}

void Controller::removeLeftovers() {
    // Every power cut during a save leaves a whole temporary copy behind;
    // nothing writes these files yet, so what is there is left over.
    for (const char* name : {"service.cfg", "user.cfg", "tmstat.cfg"}) removeLeftoverTemporaries(cfgDir_ + name);
    if (cfg_.i2c0.rfind("/dev/", 0) != 0) removeLeftoverTemporaries(cfg_.i2c0);
    if (!cfg_.registry.empty()) removeLeftoverTemporaries(cfg_.registry);
}

void Controller::initialise() {
    cfgDir_ = vesk::settingsDir(cfg_.home);
    removeLeftovers();
    saves_ = std::make_unique<CoalescedSaves>(
        clock_, timers_,
        [this] {
            return saveUserSettingsSnapshot(cfgDir_ + "user.cfg", state_.settings, variant_, state_.stateLock,
                                            state_.settingsFileLock);
        },
        [this] { return saveSchedule(cfgDir_ + "tmstat.cfg", schedule_); });
    // KESTRALO opens the EEPROM from the control thread instead.
    if (!isKestralo(variant_)) openEepromOnce();
    initAugerPulse(state_);

    const LocalTime now = clock_.localTime();
    {
        std::lock_guard<std::recursive_mutex> g(state_.stateLock);
        loadServiceSettings(cfgDir_ + "service.cfg", state_.settings, variant_);
        loadUserSettings(cfgDir_ + "user.cfg", state_.settings, variant_, antiJamDayNumber(now));
    }
    clearSchedule(schedule_);
    if (!isKestralo(variant_)) fuel_.load(eeprom_.get());
    loadSchedule(cfgDir_ + "tmstat.cfg", schedule_, state_.usr.TWAT_UST_LIMIT_MIN, state_.usr.TWAT_UST_LIMIT_MAX);

    applyBacklightLevel(registry_, state_.usr.BL_LEVEL);
    applyIdleDimming(registry_, state_.usr.EN_BL_OFF != 0);

    initRegulators(state_);
    std::lock_guard<std::recursive_mutex> g(state_.stateLock);
    for (int i = 0; i <= kSensorValve2; ++i) state_.sensors[i] = kInvalidTemp;
    state_.localTime = now;
    state_.usr.ANTI_JAM_DAY = antiJamDayNumber(now);
    state_.persistInhibit = 0;
    state_.smsControlEnable = loadSmsControl(registry_);
}

void Controller::openWindow() {
    display_ = openDisplay(cfg_.display);
    frame_ = std::make_unique<AppFrame>(*display_, clock_, resources_, sound_);
    frame_->setDirectories(cfg_.home, cfgDir_);
    frame_->setTouchSoundSetting([this] {
        std::lock_guard<std::recursive_mutex> g(state_.stateLock);
        return static_cast<int>(state_.usr.EN_SOUNDPRESS);
    });
    frame_->setSoundLog([this] { return sound_.take(); });
    if (!cfg_.automation.empty()) {
        automation_ = std::make_unique<AutomationServer>(
            cfg_.automation, [f = frame_.get()](AutomationCommand c) { f->postAutomation(std::move(c)); });
        if (!automation_->start())
            std::fprintf(stderr, "%s: automation socket %s could not be opened\n",
                         std::string(variantInfo(variant_).programName).c_str(), cfg_.automation.c_str());
    }
    screens_ = std::make_unique<ScreenContext>(
        ScreenContext{cycle_.context(), cfgDir_, panelNetwork_.get(), {cfg_.serviceLine1, cfg_.serviceLine2}});
    screens_->registry = &registry_;
    screens_->sdDir = cfg_.sdcard;
    screens_->restartPanel = [this] { restartPanel(cfg_); };
    screens_->linkStatus = [this] { return panelNetwork_->link(); };
    screens_->remoteHost = network_->remoteHost();
    home_ = new HomeScreen(frame_.get(), *screens_);
    home_->setMenuOpener([this] { openUserMenu(*frame_, *screens_); });
    frame_->setRoot(home_);
    frame_->invalidateAll();
    refresh_.attach(frame_.get());
}

bool Controller::startUp() {
    initialise();
    speaker_.setVolume(kWaveVolume);
    // The network object exists from the start so the screens can ask it;
    // its thread starts last.
    session_ = std::make_unique<ProtocolSession>(commandServices());
    network_ = std::make_unique<Network>(state_, *session_, adapter_, clock_, timers_, networkConfig(cfg_, variant_));
    panelNetwork_ = std::make_unique<PanelNetwork>(state_, *network_);
    openWindow();
    // A missing serial device leaves the link down; the panel runs on.
    if (!board_.start(cfg_.com1))
        std::fprintf(stderr, "%s: power board on %s not reachable; link down\n",
                     std::string(variantInfo(variant_).programName).c_str(), cfg_.com1.c_str());
    startExpansionLink();
    if (!control_.start()) return false;
    network_->start();
    return true;
}

DispatcherServices Controller::commandServices() {
    DispatcherServices d{state_, schedule_, clock_, cfgDir_};
    d.commandBurner = [this](int code) { return commandBurner(state_, code); };
    d.refresh = &refresh_;
    d.loginGuard = &loginGuard_;
    d.saves = saves_.get();
    if (FuelAccounting* fuel = fuelAccounting()) {
        d.readFuel = [fuel] {
            const FuelFigures f = fuel->figures();
            return FuelReadout{f.day, f.week, f.month, f.own, f.total, f.percent};
        };
        // The command's mask bits are the accounting's reset flags.
        d.resetFuelCounters = [fuel](int mask) { fuel->reset(static_cast<unsigned>(mask)); };
    }
    return d;
}

void Controller::startExpansionLink() {
    ExpansionServices services{commandServices()};
    services.sound = &sound_;
    services.adapterUp = [this] { return network_->status().adapterUp; };
    expansion_ = std::make_unique<ExpansionLink>(std::move(services), clock_);
    // A missing device: no module is served, and nothing else changes.
    if (!expansion_->start(cfg_.com4))
        std::fprintf(stderr, "%s: expansion module on %s not reachable\n",
                     std::string(variantInfo(variant_).programName).c_str(), cfg_.com4.c_str());
    // SMS control is changed by the screens, the network and the module;
    // the registry store follows it, whoever changed it.
    smsTimer_ = timers_.startPeriodic(1000, [this] { syncSmsControl(registry_, state_); });
}

void Controller::run() {
    if (frame_) frame_->run();
}

void Controller::quit() {
    if (frame_) frame_->quit();
}

int runController(Variant variant) {
    // Block the stop signals before any thread starts, so that only the
    // watcher below receives them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    Controller controller(variant, loadPlatformConfig(executableFolder()));
    if (!controller.startUp()) return 1;
    std::thread watcher([&] {
        int sig = 0;
        sigwait(&stopSignals, &sig);
        controller.quit();
    });
    controller.run();
    // The window closed by itself: the watcher is still waiting.
    pthread_kill(watcher.native_handle(), SIGTERM);
    watcher.join();
    return 0;
}

}  // namespace vesk
