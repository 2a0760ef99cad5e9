// What the network screens change: access toggles and password in the user
// settings, the Ethernet driver's settings in the registry store, and the
// Ethernet address made from the serial number.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/variant.h"
#include "settings/params.h"

namespace vesk {

class Registry;
struct ControllerState;

// The driver's values, flattened into the registry store.
inline constexpr const char* kRegLinkMode = "Ethernet.LinkMode";
inline constexpr const char* kRegEnableDhcp = "Ethernet.EnableDHCP";
inline constexpr const char* kRegNetworkAddress = "Ethernet.NetworkAddress";
inline constexpr long long kRequiredLinkMode = 127;
inline constexpr long long kRequiredDhcp = 1;
// The service tool's prefix, also KESTRALO's.
inline constexpr std::string_view kServiceMacPrefix = "00800F03";

// Brings "LinkMode" to 127 and "EnableDHCP" to 1; a value that cannot be
// read is left alone. True when either was rewritten (a restart is due).
bool applyDriverSettings(Registry& r);

// The 8-character prefix, then the low 16 bits of `serial` with their
// bytes swapped as 4 lower-case hex digits.
std::string ethernetAddress(std::string_view prefix, int32_t serial);
void writeEthernetAddress(Registry& r, std::string_view prefix, int32_t serial);

// "ОК" of the network screen: stores both toggles and saves user.cfg; with
// either on, applies the driver settings. True when the panel has to
// restart for them.
bool applyNetworkAccess(ControllerState& st, bool remote, bool local, Registry& r,
                        const std::string& userCfgPath);

// The password screen's six digits, leftmost = hundred-thousands.
using PasswordDigits = std::array<int, 6>;
PasswordDigits passwordDigits(int32_t password);
int32_t passwordFromDigits(const PasswordDigits& d);
// One press of a digit's up (+1) or down (-1) button: 9 wraps to 0 and back.
int stepDigit(int digit, int delta);
void storeNetworkPassword(ControllerState& st, int32_t password, const std::string& userCfgPath);

// After a settings import: the address from the imported serial number and
// network access off until enabled again on the panel. The caller saves
// user.cfg.
void resetNetworkAfterImport(Registry& r, Settings& s, Variant v);

}  // namespace vesk
