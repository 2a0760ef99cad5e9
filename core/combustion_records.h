// Records of the combustion control: regulators, water trend, keep-alive
// puffs. Kept in ControllerState; owned by the combustion steps.
#pragma once
#include <cstdint>

namespace vesk {

struct CombustionRecords {};

}  // namespace vesk
