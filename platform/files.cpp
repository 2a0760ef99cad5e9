#include "platform/files.h"

#include <filesystem>

namespace vesk {

bool isDirectory(const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_directory(path, ec);
}

bool ensureDirectory(const std::string& path) {
    if (isDirectory(path)) return true;
    std::error_code ec;
    std::filesystem::create_directories(path, ec);
    return isDirectory(path);
}

bool removeFile(const std::string& path) {
    std::error_code ec;
    std::filesystem::remove(path, ec);
    return !ec;
}

}  // namespace vesk
