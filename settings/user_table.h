// The user parameter family: one descriptor per key of user.cfg, in write
// order, and the resets, acceptance and normalisation built on it.
#pragma once
#include <span>
#include <string_view>

#include "core/variant.h"
#include "settings/param_rule.h"
#include "platform/clock.h"

namespace vesk {

struct UserDefault {
    using Fn = int32_t (*)(const Settings&, int index, int32_t antiJamDay);
    constexpr UserDefault(int32_t v) : value(v) {}
    constexpr UserDefault(Fn f) : computed(f) {}
    int32_t get(const Settings& s, int i, int32_t antiJamDay) const {
        return computed ? computed(s, i, antiJamDay) : value;
    }
    int32_t value = 0;
    Fn computed = nullptr;
};

struct UserKey {
    std::string_view key;
    UserField field;
    Rule rule;
    UserDefault def;
    uint8_t groups;                      // ResetGroup bits
    uint8_t variants = kBothVariants;    // VariantMask bits
    Rule kestraloRule = inherit();       // KESTRALO's own acceptance, if any

    bool in(Variant v) const { return (variants & variantBit(v)) != 0; }
    const Rule& ruleFor(Variant v) const {
        return isKestralo(v) && kestraloRule.test != Test::Inherit ? kestraloRule : rule;
    }
};

// Every row of the user table in ORVENA write order; a row belongs to the
// variants in its mask, so filtering by variant gives that variant's keys
// in its own write order.
std::span<const UserKey> userKeys();
const UserKey* findUserKey(Variant v, std::string_view key);

// Stores the values read for `key` that pass the variant's test (limits
// from other parameters as they are now). False for a key the variant lacks.
bool applyUserValue(Settings& s, Variant v, std::string_view key, const int32_t* values, int count);

// Group U to defaults; without `keepInstaller` also the installer defaults
// and the network keys cleared.
void userDefaults(Settings& s, Variant v, bool keepInstaller, int32_t antiJamDay);
// Group I to defaults, TDHW_UST lowered to 85. The protections' run-time
// bookkeeping lives in the controller state and is the caller's to clear.
void installerDefaults(Settings& s, Variant v, int32_t antiJamDay);

// Run once after user.cfg has been read.
void normaliseUser(Settings& s);

// Day number for ANTI_JAM_DAY: 1 January 2021 is day 1; -1 while the clock
// is not set (a year before 2021).
int32_t antiJamDayNumber(const LocalTime& t);

}  // namespace vesk
