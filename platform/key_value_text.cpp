// KEY=value line parsing and formatting.
#include "platform/key_value_text.h"

namespace vesk {

std::map<std::string, std::string> parseKeyValueText(std::string_view text) {
    std::map<std::string, std::string> out;
    while (!text.empty()) {
        size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty() || line.front() == '#') continue;
        size_t eq = line.find('=');
        if (eq == std::string_view::npos || eq == 0) continue;
        out[std::string(line.substr(0, eq))] = std::string(line.substr(eq + 1));
    }
    return out;
}

std::string formatKeyValueText(const std::map<std::string, std::string>& values) {
    std::string out;
    for (const auto& [key, value] : values) {
        out += key;
        out += '=';
        out += value;
        out += '\n';
    }
    return out;
}

}  // namespace vesk
