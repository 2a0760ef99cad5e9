// Commands that come in on the set-topics: which protocol requests they
// become, checked before anything is sent.
#pragma once
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "core/variant.h"
#include "net/client/set_commands.h"

namespace vesk::bridge {

enum class CommandKind { Setpoint, HeatMode, Burner, BurnerMode };

struct CommandItem {
    const char* name;   // the last topic level and the state key
    const char* title;
    CommandKind kind;
    const char* key;    // settings key for set-points
    int displayMin, displayMax;
};
const std::vector<CommandItem>& commandItems();
const CommandItem* findCommandItem(const std::string& name);

// A payload as it came: JSON, either a bare value or {"value": ..., "id": ...}.
struct ParsedPayload {
    nlohmann::json value;
    nlohmann::json id;  // echoed in the result when given
};
// False with a reason for payloads that are not JSON or carry no value.
bool parsePayload(const std::string& payload, ParsedPayload& out, std::string& error);

// The requests a command needs; `current` is the decoded status record
// taken just before, for the fields a command carries besides the one set.
struct CommandPlan {
    bool ok = false;
    std::string error;  // why nothing is sent
    std::vector<client::SetRequest> requests;
};
CommandPlan planCommand(const CommandItem& item, const nlohmann::json& value, Variant v,
                        const std::map<std::string, int64_t>& current);

}  // namespace vesk::bridge
