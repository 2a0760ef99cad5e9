// Printing the client's results as text or as JSON.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace vesk::client {

std::string jsonString(const std::string& s);
std::string jsonList(const std::vector<std::string>& items);
// "a, b" or "none".
std::string textList(const std::vector<std::string>& items);

// One JSON object built member by member.
class JsonObject {
public:
    JsonObject& add(const std::string& key, int64_t value);
    JsonObject& addString(const std::string& key, const std::string& value);
    JsonObject& addRaw(const std::string& key, const std::string& json);
    std::string str() const { return "{" + body_ + "}"; }

private:
    std::string body_;
};

}  // namespace vesk::client
