// The launcher: starts the controller program for the installed boiler from
// its own folder and ends. A failed start is neither reported nor retried.
#include "launcher/launcher.h"
#include "platform/platform_config.h"
#include "platform/process.h"

int main() {
    const vesk::PlatformConfig cfg = vesk::loadPlatformConfig(vesk::executableFolder());
    vesk::startProgram(vesk::chooseController(cfg.home));
    return 0;
}
