// JSON and text helpers of the client.
#include "output.h"

#include <cstdio>

namespace vesk::client {

std::string jsonString(const std::string& s) {
    std::string out = "\"";
    for (unsigned char c : s) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", c);
            out += buf;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

std::string jsonList(const std::vector<std::string>& items) {
    std::string out = "[";
    for (size_t i = 0; i < items.size(); ++i) out += (i ? "," : "") + jsonString(items[i]);
    return out + "]";
}

std::string textList(const std::vector<std::string>& items) {
    if (items.empty()) return "none";
    std::string out;
    for (size_t i = 0; i < items.size(); ++i) out += (i ? ", " : "") + items[i];
    return out;
}

JsonObject& JsonObject::add(const std::string& key, int64_t value) { return addRaw(key, std::to_string(value)); }

JsonObject& JsonObject::addString(const std::string& key, const std::string& value) {
    return addRaw(key, jsonString(value));
}

JsonObject& JsonObject::addRaw(const std::string& key, const std::string& json) {
    if (!body_.empty()) body_ += ",";
    body_ += jsonString(key) + ":" + json;
    return *this;
}

}  // namespace vesk::client
