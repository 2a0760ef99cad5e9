// What the service tool's pages do to the service settings, apart from
// their widgets: models and powers, the auger page's bounds, the factory
// reset, and the texts of the test page.
#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/variant.h"
#include "platform/network_adapter.h"
#include "settings/params.h"

namespace vesk {

// The record the pages edit together, with what the model page leaves to
// the power page.
struct ServiceRecord {
    Settings settings;
    // A new model was chosen: its power option is still to be selected and
    // loaded.
    bool modelChanged = false;
};

// The service family is the same for both variants; the tool works with
// KESTRALO's tables, whose MAC prefix it also uses. Fields only the
// controller keeps aside (in no file) are of no concern here.
constexpr Variant kToolVariant = Variant::Kestralo;

struct ModelChoice {
    int32_t boilerType;
    std::string_view caption;
};
// The five model buttons in order.
std::span<const ModelChoice> modelChoices();

// The power options (kW) of a model, in table order.
std::vector<int32_t> powerOptions(int32_t boilerType);
// The option equal to POWER, the first when none is.
int markedPowerOption(const ServiceParams& p);

// Another model: stores BOILER_TYPE and applies the service defaults keeping
// POWER and BOILER_TYPE; sets the model-changed flag. False (nothing done)
// for the model in force.
bool chooseModel(ServiceRecord& r, int32_t boilerType);
// Loads option `index` of the model's table (POWER, per-fuel auger and fan
// values, feed rates, bunker volume).
void choosePower(ServiceRecord& r, int index);
// After a model change: selects the marked option and loads it, once.
void settlePowerOption(ServiceRecord& r);

// "Сброс настроек": factory defaults, BOILER_TYPE 0 and POWER 16.
void factoryReset(ServiceRecord& r);

// Longest auger on-time (0.1 s) for an auger period (s).
int32_t worm100Bound(int32_t period);
// Highest fan minimum of a fuel: the model table's value for the selected
// power, never above FAN100.
int32_t fanMinBound(const ServiceParams& p, int fuel);

// The serial number as six digits show it.
int32_t shownSerial(int32_t serial);

// "Газы 25", or "Газы --" for a failed or missing reading.
std::string readingText(std::string_view name, int value);
// The "Сеть" field.
std::string networkText(const AdapterState& a);
// WORM_SPEED as the drive frequency.
std::string wormSpeedText(int speed);

}  // namespace vesk
