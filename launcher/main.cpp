// The launcher: starts the controller program for the installed boiler from
// its own folder and ends. A failed start is neither reported nor retried.
// Under a service manager (VESK_LAUNCHER_EXEC=1) it becomes the controller
// instead, so that the process the manager watches is the controller itself.
#include <cstdio>

#include "launcher/launcher.h"
#include "platform/platform_config.h"
#include "platform/power.h"
#include "platform/process.h"

int main() {
    const vesk::PlatformConfig cfg = vesk::loadPlatformConfig(vesk::executableFolder());
    const std::string controller = vesk::chooseController(cfg.home);
    if (cfg.launcherExec) {
        vesk::execProgram(controller);
        // A supervised panel that cannot start is a failure to report.
        std::perror(("launcher: " + controller).c_str());
        return 1;
    }
    vesk::startProgram(controller);
    return 0;
}
