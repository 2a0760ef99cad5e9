// A small KEY=value store file standing in for the panel's registry.
#pragma once
#include <map>
#include <mutex>
#include <optional>
#include <string>

namespace vesk {

class Registry {
public:
    // Reads `path` if it exists; writes go back to it atomically. An empty
    // path keeps the values in memory only.
    explicit Registry(std::string path);
    std::optional<std::string> get(const std::string& key) const;
    std::optional<long long> getInt(const std::string& key) const;
    // Keys with '=', line breaks or a leading '#' and values with line
    // breaks cannot be stored and are ignored.
    void set(const std::string& key, const std::string& value);
    void setInt(const std::string& key, long long value);
    void remove(const std::string& key);
    const std::string& path() const { return path_; }

private:
    void saveLocked();
    std::string path_;
    mutable std::mutex m_;
    std::map<std::string, std::string> values_;
};

}  // namespace vesk
