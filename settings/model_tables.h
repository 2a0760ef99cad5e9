// The boiler models: per-power default records, fuel lists and model names.
#pragma once
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "settings/params.h"

namespace vesk {

constexpr int kBoilerTypeCount = 5;

// One row of a model table: 26 integers (power, three per-fuel arrays,
// bunker volume, feed rate per fuel in 0.1 kg per hour of auger run).
struct ModelRecord {
    int32_t power;
    int32_t wormPeriod[kFuelCount];
    int32_t worm100[kFuelCount];
    int32_t fanMin[kFuelCount];
    int32_t bunkerVolume;
    int32_t feedRate[kFuelCount];
};

// The records of one BOILER_TYPE; empty for a type outside 0..4.
std::span<const ModelRecord> modelTable(int32_t boilerType);

struct ModelMatch {
    const ModelRecord* record = nullptr;
    int32_t boilerType = -1;  // table the record came from
};

// The POWER acceptance search: row by row across the five tables, ignoring
// BOILER_TYPE; the first record with this power wins.
ModelMatch findModelByPower(int32_t power);
// The record of `power` in the table of `boilerType`; null when absent.
const ModelRecord* findModelRecord(int32_t boilerType, int32_t power);

// Fuel names by position for the boiler's type and power.
std::vector<std::string_view> fuelNames(int32_t boilerType, int32_t power);
// Model name shown after "Котел автоматический".
std::string_view modelName(int32_t boilerType);

}  // namespace vesk
