#include "app/controller.h"

#include <csignal>
#include <cstdio>

#include "control/control_steps.h"
#include "platform/process.h"
#include "settings/param_table.h"
#include "settings/settings_file.h"

namespace vesk {

Controller::Controller(Variant variant, PlatformConfig cfg)
    : variant_(variant),
      cfg_(std::move(cfg)),
      registry_(cfg_.registry),
      clock_(cfg_.timeScale, &registry_),
      timers_(clock_),
      state_(variant),
      board_(state_, variant, clock_, refresh_),
      fuel_(state_, clock_, timers_),
      pulse_(state_, clock_, timers_, refresh_, [this] { board_.sendNow(); }),
      cycle_(ControlContext{state_, clock_, timers_, refresh_, sound_, schedule_, [this] { board_.sendNow(); },
                            &pulse_, fuelAccounting()}),
      control_(state_, clock_, timers_, [this] { return openEepromOnce(); }, [this] { cycle_.run(); }) {
    if (!isKestralo(variant_)) pulse_.setFuelHook([this](int64_t onMs) { fuel_.addRunTime(onMs); });
}

Controller::~Controller() {
    control_.stop();
    board_.stop();
}

Eeprom* Controller::openEepromOnce() {
    if (!eepromTried_) {
        eepromTried_ = true;
        eeprom_ = openEeprom(cfg_.i2c0);
    }
    return eeprom_.get();
}

void Controller::initialise() {
    // KESTRALO opens the EEPROM from the control thread instead.
    if (!isKestralo(variant_)) openEepromOnce();
    initAugerPulse(state_);

    cfgDir_ = vesk::settingsDir(cfg_.home);
    const LocalTime now = clock_.localTime();
    {
        std::lock_guard<std::recursive_mutex> g(state_.stateLock);
        loadServiceSettings(cfgDir_ + "service.cfg", state_.settings, variant_);
        loadUserSettings(cfgDir_ + "user.cfg", state_.settings, variant_, antiJamDayNumber(now));
    }
    clearSchedule(schedule_);
    if (!isKestralo(variant_)) fuel_.load(eeprom_.get());
    loadSchedule(cfgDir_ + "tmstat.cfg", schedule_, state_.usr.TWAT_UST_LIMIT_MIN, state_.usr.TWAT_UST_LIMIT_MAX);

    initRegulators(state_);
    std::lock_guard<std::recursive_mutex> g(state_.stateLock);
    for (int i = 0; i <= kSensorValve2; ++i) state_.sensors[i] = kInvalidTemp;
    state_.localTime = now;
    state_.usr.ANTI_JAM_DAY = antiJamDayNumber(now);
    state_.persistInhibit = 0;
}

bool Controller::startUp() {
    initialise();
    // A missing serial device leaves the link down; the panel runs on.
    if (!board_.start(cfg_.com1))
        std::fprintf(stderr, "%s: power board on %s not reachable; link down\n",
                     std::string(variantInfo(variant_).programName).c_str(), cfg_.com1.c_str());
    return control_.start();
}

int runController(Variant variant) {
    // Block the stop signals before any thread starts, so that only the
    // wait below receives them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    Controller controller(variant, loadPlatformConfig(executableFolder()));
    if (!controller.startUp()) return 1;
    int sig = 0;
    sigwait(&stopSignals, &sig);
    return 0;
}

}  // namespace vesk
