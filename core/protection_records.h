// Records of the fuel-path protections and the fault evaluation. Kept in
// ControllerState; owned by those steps.
#pragma once
#include <cstdint>

namespace vesk {

struct ProtectionRecords {};

}  // namespace vesk
