// ServiceTool: start-up in the designed order and the way out.
#include "service_tool/service_tool.h"

#include <pthread.h>

#include <csignal>
#include <cstdio>
#include <thread>

#include "launcher/launcher.h"
#include "platform/power.h"
#include "platform/process.h"
#include "service_tool/service_save.h"
#include "service_tool/service_sheet.h"
#include "settings/settings_file.h"

namespace vesk {

namespace {
constexpr const char* kProgramName = "Tavrik";
}

ServiceTool::ServiceTool(PlatformConfig cfg)
    : cfg_(std::move(cfg)),
      registry_(cfg_.registry),
      clock_(cfg_.timeScale, &registry_),
      resources_(Resources::forProgram(cfg_.home, executableFolder())),
      speaker_(resources_.resourceDir()),
      sound_(speaker_),
      board_(clock_, refresh_),
      adapter_(cfg_.netIface) {}

ServiceTool::~ServiceTool() {
    // First the board thread, which may still start the automation server.
    board_.stop();
    refresh_.attach(nullptr);
    if (automation_) automation_->stop();
}

void ServiceTool::startUp() {
    cfgDir_ = settingsDir(cfg_.home);
    // Defaults first; a missing file leaves them.
    loadServiceSettings(serviceCfgPath(), record_.settings, kToolVariant);

    display_ = openDisplay(cfg_.display);
    frame_ = std::make_unique<AppFrame>(*display_, clock_, resources_, sound_);
    frame_->setDirectories(cfg_.home, cfgDir_);
    frame_->setSoundLog([this] { return sound_.take(); });
    // The controller that handed over may still hold the automation socket
    // of the same environment: then it is taken once the controller is gone.
    const bool automationUp = startAutomation(false);

    // The controller of the model in force, started by the launcher from
    // this folder, holds the port until it ends.
    board_.start(cfg_.home + controllerProgramFor(record_.settings.svc.BOILER_TYPE), cfg_.com1,
                 [this, automationUp] {
                     if (!automationUp) startAutomation(true);
                 });
    ExitActions actions;
    actions.save = [this] { return save(); };
    actions.leave = [this] { leave(); };
    sheet_ = new ServiceSheet(frame_.get(), record_, board_, adapter_, std::move(actions));
    frame_->setRoot(sheet_);
    frame_->invalidateAll();
    refresh_.attach(frame_.get());
}

bool ServiceTool::startAutomation(bool lastTry) {
    if (cfg_.automation.empty()) return true;
    automation_ = std::make_unique<AutomationServer>(
        cfg_.automation, [f = frame_.get()](AutomationCommand c) { f->postAutomation(std::move(c)); });
    if (automation_->start()) return true;
    automation_.reset();
    if (lastTry)
        std::fprintf(stderr, "%s: automation socket %s could not be opened\n", kProgramName, cfg_.automation.c_str());
    return false;
}

bool ServiceTool::save() {
    sheet_->applyCurrent();
    const bool ok = saveServiceRecord(record_, serviceCfgPath(), registry_);
    if (!ok) std::fprintf(stderr, "%s: %s could not be written\n", kProgramName, serviceCfgPath().c_str());
    return ok;
}

void ServiceTool::leave() {
    left_ = true;
    frame_->quit();
}

bool ServiceTool::run() {
    frame_->run();
    // Closing the window is leaving the tool too; a stop signal is not.
    return left_ || !stopped_.load();
}

void ServiceTool::quit() {
    stopped_ = true;
    if (frame_) frame_->quit();
}

int runServiceTool() {
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    const PlatformConfig cfg = loadPlatformConfig(executableFolder());
    bool restart = false;
    {
        ServiceTool tool(cfg);
        tool.startUp();
        std::thread watcher([&] {
            int sig = 0;
            sigwait(&stopSignals, &sig);
            if (sig != 0) tool.quit();
        });
        restart = tool.run();
        pthread_kill(watcher.native_handle(), SIGTERM);
        watcher.join();
    }
    // Board link, window and port are closed: the panel restarts and the
    // launcher picks the controller of the saved model.
    if (!restart) return 0;
    restartPanel(cfg);
    std::fprintf(stderr, "%s: the panel restart could not be started\n", kProgramName);
    return 1;
}

}  // namespace vesk
