// Folder and file questions the layers above ask of the file system.
#pragma once
#include <string>

namespace vesk {

bool isDirectory(const std::string& path);
// Creates the folder and its parents when missing; true when it exists.
bool ensureDirectory(const std::string& path);
// Removes a file; true when it is gone (also when it never was).
bool removeFile(const std::string& path);

}  // namespace vesk
