// Whether the expansion module's phone numbers may operate the boiler (SMS
// control). user.cfg has no key for it, so it is kept in the registry store
// and follows the flag in force, whoever changed it.
#pragma once

namespace vesk {

class Registry;
struct ControllerState;

constexpr const char* kSmsControlKey = "SMS_CONTROL_ENABLE";

// The stored flag: 0 or 1; 0 when it is missing or not a flag.
int loadSmsControl(const Registry& registry);

// Stores the flag in force when it differs from the stored one. Meant to
// run periodically from a timer: it does not wait for stateLock, a busy
// lock only puts the store off to the next call.
void syncSmsControl(Registry& registry, ControllerState& s);

}  // namespace vesk
