// What the screens work with: the controller state and the control
// services behind it, where the user settings are saved, and the network.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "control/control_context.h"
#include "core/controller_state.h"
#include "net/status_text.h"
#include "ui/screens/network_indicators.h"

namespace vesk {

class FuelAccounting;
class Registry;

struct ScreenContext {
    ControlContext& control;
    std::string settingsDir;  // with a trailing '/'
    NetworkIndicators* network = nullptr;
    // The maker's service contacts closing the information text.
    std::vector<std::string> serviceLines;
    // The backlight driver's settings; null: the backlight is not driven.
    Registry* registry = nullptr;
    // Starts a program (the service tool); null: the platform's process
    // service starts it.
    std::function<bool(const std::string& path)> startProgram;
    // Whether there is a backlight to adjust; null: the platform is asked.
    std::function<bool()> backlightPresent;
    // The folder that stands for the SD card, with a trailing '/'.
    std::string sdDir;
    // Restarts the panel (the platform's power service); null: no restart.
    std::function<void()> restartPanel;
    // The network status screen's view of the link, and the remote
    // server's name; null: no network layer (no link).
    std::function<LinkView()> linkStatus;
    std::string remoteHost;

    ControllerState& state() const { return control.s; }
    FuelAccounting* fuel() const { return control.fuel; }
    // Writes user.cfg; takes stateLock and the settings file lock.
    void saveUserSettings() const;
};

}  // namespace vesk
