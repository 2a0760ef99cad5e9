// The service parameter family: one descriptor per key of service.cfg, in
// the order the service tool writes them, and the operations over it.
#pragma once
#include <span>
#include <string_view>

#include "core/variant.h"
#include "settings/model_tables.h"
#include "settings/param_rule.h"

namespace vesk {

struct ServiceDefault {
    using Fn = int32_t (*)(const ServiceParams&, const ModelRecord&, int index);
    constexpr ServiceDefault(int32_t v) : value(v) {}
    constexpr ServiceDefault(Fn f, int8_t n = kFuelCount) : computed(f), positions(n) {}
    int32_t value = 0;
    Fn computed = nullptr;
    int8_t positions = kFuelCount;  // per-fuel positions the default sets
};

struct ServiceKey {
    std::string_view key;
    ServiceField field;
    Rule rule;
    ServiceDefault def;
    bool factoryOnly = false;  // reset only in factory state (POWER, BOILER_TYPE)
};

// Every key of service.cfg, in the service tool's write order.
std::span<const ServiceKey> serviceKeys();
const ServiceKey* findServiceKey(std::string_view key);

// Stores the values read for `key` that pass its test; entry i of a
// per-fuel key goes to position i. False for an unknown key.
bool applyServiceValue(Settings& s, std::string_view key, const int32_t* values, int count);

// Every service field to its default, the per-fuel arrays from the model
// record. `factory` first selects BOILER_TYPE 0 / 16 kW; without it POWER
// and BOILER_TYPE stay and pick the record.
void serviceDefaults(Settings& s, Variant v, bool factory);

// Takes a model record as the service tool's power page does: POWER, the
// three per-fuel arrays, feed rates and bunker volume.
void loadModelRecord(ServiceParams& p, const ModelRecord& r, Variant v);

// Run once after service.cfg has been read: keeps each auger on-time at
// least one second below its period.
void normaliseService(Settings& s);

}  // namespace vesk
