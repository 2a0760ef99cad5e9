// What the screens work with: the controller state and the control
// services behind it, where the user settings are saved, and the network.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "control/control_context.h"
#include "core/controller_state.h"
#include "ui/screens/network_indicators.h"

namespace vesk {

class FuelAccounting;
class Registry;

struct ScreenContext {
    ControlContext& control;
    std::string settingsDir;  // with a trailing '/'
    NetworkIndicators* network = nullptr;
    // The backlight driver's settings; null: the backlight is not driven.
    Registry* registry = nullptr;
    // Starts a program (the service tool); null: the platform's process
    // service starts it.
    std::function<bool(const std::string& path)> startProgram;
    // Whether there is a backlight to adjust; null: the platform is asked.
    std::function<bool()> backlightPresent;
    // The maker's service contacts closing the information text.
    std::vector<std::string> serviceLines;

    ControllerState& state() const { return control.s; }
    FuelAccounting* fuel() const { return control.fuel; }
    // Writes user.cfg; takes stateLock and the settings file lock.
    void saveUserSettings() const;
};

}  // namespace vesk
