// The settings commands by the keys they carry: which command sets a key,
// and the request that sets it with every other field left as it is.
#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "core/variant.h"

namespace vesk::client {

struct SetRequest {
    std::string command;  // command name, for messages
    uint16_t code;
    std::vector<uint8_t> data;
};

// Requests that give the keys of `values` their new values; the other
// fields of each command come from `current` (the decoded status record).
// Per-fuel keys are written KEY[i], valve keys VLV1_... / VLV2_....
bool buildSetRequests(Variant v, const std::map<std::string, int64_t>& values,
                      const std::map<std::string, int64_t>& current, std::vector<SetRequest>& out, std::string& error);

// The settable keys, one command per line, for the help text.
std::string settableKeys();

// Codes of the commands the client sends besides the settings.
enum class Op { DeviceInfo, Status, ResetFuel, Clock, GetPrograms, SetPrograms, StartStop, Version };
// -1 when the variant has no such command.
int opCode(Variant v, Op op);

}  // namespace vesk::client
