// module-sim's command language: typed lines turned into the module's
// request messages, and the panel's replies turned into output lines.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vesk {

using ModuleMessage = std::vector<uint8_t>;

struct ModuleCommand {
    enum Kind { Send, Help, Quit, Nothing, Bad } kind = Nothing;
    std::vector<ModuleMessage> requests;  // Send: sent one after another
    std::string error;                    // Bad
};

ModuleCommand parseModuleCommand(const std::string& line);

ModuleMessage signalRequest(int value);
ModuleMessage eventsRequest();

// What code 101 answered.
struct EventReply {
    uint16_t counter = 0;
    uint16_t wordA = 0;
    uint16_t wordB = 0;
    int second = 0;
    int minute = 0;
};
std::optional<EventReply> parseEventReply(const std::vector<uint8_t>& reply);

// One output line for the reply to `request`.
std::string describeReply(const ModuleMessage& request, const std::vector<uint8_t>& reply);

}  // namespace vesk
