// Forced restart of the panel.
#pragma once
#include <string>

namespace vesk {

struct PlatformConfig;

// Runs VESK_RESTART_CMD when set, else re-executes the launcher from the
// program folder. Does not return on success.
void restartPanel(const PlatformConfig& cfg);

// Replaces this process by the program at `path`, keeping its process id
// (what a service manager watches). Returns only when that fails.
void execProgram(const std::string& path);

}  // namespace vesk
