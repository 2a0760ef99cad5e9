// Service page rules over the settings store's tables.
#include "service_tool/service_rules.h"

#include <algorithm>
#include <cstdio>

#include "core/controller_state.h"
#include "net/network_settings.h"
#include "settings/model_tables.h"
#include "settings/service_table.h"

namespace vesk {

namespace {
constexpr ModelChoice kModels[] = {
    {0, "Kestralo S"}, {1, "Kestralo R"}, {2, "Orvena"}, {3, "Talvo"}, {4, "Кестрало"},
};
// The file's own limit where the model table has no record of the power.
constexpr int32_t kFanMinCeiling = 40;
}  // namespace

std::span<const ModelChoice> modelChoices() { return kModels; }

std::vector<int32_t> powerOptions(int32_t boilerType) {
    std::vector<int32_t> out;
    for (const ModelRecord& r : modelTable(boilerType)) out.push_back(r.power);
    return out;
}

int markedPowerOption(const ServiceParams& p) {
    const std::vector<int32_t> options = powerOptions(p.BOILER_TYPE);
    const auto it = std::find(options.begin(), options.end(), p.POWER);
    return it == options.end() ? 0 : static_cast<int>(it - options.begin());
}

bool chooseModel(ServiceRecord& r, int32_t boilerType) {
    if (r.settings.svc.BOILER_TYPE == boilerType) return false;
    r.settings.svc.BOILER_TYPE = boilerType;
    // GAS_MAX and GAS_CLEAN take the new model's defaults with the rest.
    serviceDefaults(r.settings, kToolVariant, false);
    r.modelChanged = true;
    return true;
}

void choosePower(ServiceRecord& r, int index) {
    const auto table = modelTable(r.settings.svc.BOILER_TYPE);
    if (index < 0 || static_cast<size_t>(index) >= table.size()) return;
    loadModelRecord(r.settings.svc, table[static_cast<size_t>(index)], kToolVariant);
}

void settlePowerOption(ServiceRecord& r) {
    if (!r.modelChanged) return;
    choosePower(r, markedPowerOption(r.settings.svc));
    r.modelChanged = false;
}

void factoryReset(ServiceRecord& r) {
    serviceDefaults(r.settings, kToolVariant, true);
    r.modelChanged = false;
}

int32_t worm100Bound(int32_t period) { return std::max(period * 10 - 10, 1); }

int32_t fanMinBound(const ServiceParams& p, int fuel) {
    int32_t bound = kFanMinCeiling;
    if (const ModelRecord* rec = findModelRecord(p.BOILER_TYPE, p.POWER))
        if (fuel >= 0 && fuel < kFuelCount) bound = rec->fanMin[fuel];
    return std::min(bound, p.FAN100);
}

int32_t shownSerial(int32_t serial) { return passwordFromDigits(passwordDigits(serial)); }

std::string readingText(std::string_view name, int value) {
    std::string t(name);
    t += ' ';
    t += isValidTemp(value) ? std::to_string(value) : std::string("--");
    return t;
}

std::string networkText(const AdapterState& a) {
    if (!a.up) return "Нет подключения!";
    if (a.address == 0) return "Получение IP...";
    char buf[24];
    std::snprintf(buf, sizeof buf, "%u.%u.%u.%u", (a.address >> 24) & 0xFF, (a.address >> 16) & 0xFF,
                  (a.address >> 8) & 0xFF, a.address & 0xFF);
    return buf;
}

std::string wormSpeedText(int speed) {
    switch (speed) {
    case 0: return "50.0";
    case 1: return "35.7";
    case 2: return "25.0";
    default: return std::to_string(speed);
    }
}

}  // namespace vesk
