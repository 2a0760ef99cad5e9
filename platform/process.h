// The program's own folder and starting other programs from it.
#pragma once
#include <string>

namespace vesk {

// Folder of the running executable, with a trailing '/'; empty if unknown.
std::string executableFolder();
// Starts `path` detached with the current environment; true when it started.
bool startProgram(const std::string& path);
// True when a process whose executable name is `name` is running.
bool isProgramRunning(const std::string& name);
// True when a process runs the program file at `path` (links resolved);
// false when there is no such file.
bool isProgramRunningAt(const std::string& path);

}  // namespace vesk
