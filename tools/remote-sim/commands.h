// Lines typed into remote-sim turned into protocol messages, and messages
// from the panel turned into output lines.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "core/variant.h"
#include "tools/common/tool_text.h"

namespace vesk {

struct SimCommand {
    enum Kind { Send, Login, Quit, Nothing, Bad } kind = Nothing;
    std::vector<uint8_t> message;  // Send
    bool credentials = false;      // Login with its own serial and password
    uint32_t serial = 0;
    uint32_t password = 0;
    std::string error;             // Bad
};

SimCommand parseSimCommand(const std::string& line, Variant v);

std::vector<uint8_t> loginMessage(uint32_t serial, uint32_t password);
std::vector<uint8_t> commandMessage(uint16_t code, const std::vector<uint8_t>& data, bool replyWanted);

// The output line for a message from the panel ("" for none).
std::string describeMessage(const uint8_t* msg, size_t n);

}  // namespace vesk
