// Registry store: values in memory, the file rewritten whole on each change.
#include "platform/registry.h"

#include <cerrno>
#include <cstdlib>

#include "platform/atomic_file.h"
#include "platform/key_value_text.h"

namespace vesk {

namespace {
// What the line format can carry back unchanged.
bool storableKey(const std::string& key) {
    return !key.empty() && key.front() != '#' && key.find_first_of("=\r\n") == std::string::npos;
}

bool storableValue(const std::string& value) {
    return value.find_first_of("\r\n") == std::string::npos;
}
}  // namespace

Registry::Registry(std::string path) : path_(std::move(path)) {
    std::string text;
    if (!path_.empty() && readWholeFile(path_, text)) values_ = parseKeyValueText(text);
}

std::optional<std::string> Registry::get(const std::string& key) const {
    std::lock_guard<std::mutex> g(m_);
    auto it = values_.find(key);
    if (it == values_.end()) return std::nullopt;
    return it->second;
}

std::optional<long long> Registry::getInt(const std::string& key) const {
    auto v = get(key);
    if (!v || v->empty()) return std::nullopt;
    errno = 0;
    char* end = nullptr;
    long long n = std::strtoll(v->c_str(), &end, 10);
    if (errno != 0 || *end != '\0') return std::nullopt;
    return n;
}

void Registry::set(const std::string& key, const std::string& value) {
    if (!storableKey(key) || !storableValue(value)) return;
    std::lock_guard<std::mutex> g(m_);
    auto it = values_.find(key);
    if (it != values_.end() && it->second == value) return;  // spare the flash
    values_[key] = value;
    saveLocked();
}

void Registry::setInt(const std::string& key, long long value) {
    set(key, std::to_string(value));
}

void Registry::remove(const std::string& key) {
    std::lock_guard<std::mutex> g(m_);
    if (values_.erase(key) != 0) saveLocked();
}

void Registry::saveLocked() {
    // A store that cannot be written still serves this run from memory.
    if (!path_.empty()) writeFileAtomically(path_, formatKeyValueText(values_));
}

}  // namespace vesk
