// Forced restart of the panel.
#pragma once
#include <string>

namespace vesk {

struct PlatformConfig;

// Runs VESK_RESTART_CMD when set, else re-executes the launcher from the
// program folder. Does not return on success.
void restartPanel(const PlatformConfig& cfg);

}  // namespace vesk
