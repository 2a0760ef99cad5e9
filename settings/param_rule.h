// Building blocks of the parameter tables: where a key's value lives and the
// test a value must pass before it is stored.
#pragma once
#include <cstdint>

#include "core/variant.h"
#include "settings/params.h"

namespace vesk {

// A limit that is either a constant or read from the settings in force at
// the moment the value is checked (TWAT_UST against TWAT_UST_LIMIT_MAX ...).
using LimitFn = int32_t (*)(const Settings&);

struct Bound {
    constexpr Bound(int32_t v) : value(v) {}
    constexpr Bound(LimitFn f) : from(f) {}
    int32_t get(const Settings& s) const { return from ? from(s) : value; }
    int32_t value = 0;
    LimitFn from = nullptr;
};

enum class Test : uint8_t {
    Range,       // lo..hi inclusive
    AtMost,      // upper bound only, signed: negative values pass
    Below,       // strictly below hi, signed
    AtLeast,     // lo or more
    Any,
    NotRead,     // written to the file, never taken from it
    ModelPower,  // a power of the model tables (service POWER)
    Inherit,     // variant override: same rule as the common one
};

struct Rule {
    Test test = Test::Any;
    Bound lo = 0;
    Bound hi = 0;
    bool accepts(const Settings& s, int32_t v) const;
};

constexpr Rule range(Bound lo, Bound hi) { return {Test::Range, lo, hi}; }
constexpr Rule flag() { return range(0, 1); }
constexpr Rule atMost(Bound hi) { return {Test::AtMost, 0, hi}; }
constexpr Rule below(Bound hi) { return {Test::Below, 0, hi}; }
constexpr Rule atLeast(Bound lo) { return {Test::AtLeast, lo, 0}; }
constexpr Rule any() { return {Test::Any, 0, 0}; }
constexpr Rule notRead() { return {Test::NotRead, 0, 0}; }
constexpr Rule modelPower() { return {Test::ModelPower, 0, 0}; }
constexpr Rule inherit() { return {Test::Inherit, 0, 0}; }

// Which variants carry a key.
enum VariantMask : uint8_t { kOrvenaOnly = 1, kKestraloOnly = 2, kBothVariants = 3 };
constexpr uint8_t variantBit(Variant v) { return v == Variant::Kestralo ? kKestraloOnly : kOrvenaOnly; }

// Which resets restore a user key's default.
enum ResetGroup : uint8_t { kNoReset = 0, kUserGroup = 1, kInstallerGroup = 2, kNetworkGroup = 4 };

// A service value: a 32-, 16- or 8-bit field or a per-fuel array.
class ServiceField {
public:
    constexpr ServiceField(int32_t ServiceParams::*m) : kind_(Kind::I32), i32_(m) {}
    constexpr ServiceField(int16_t ServiceParams::*m) : kind_(Kind::I16), i16_(m) {}
    constexpr ServiceField(uint8_t ServiceParams::*m) : kind_(Kind::U8), u8_(m) {}
    constexpr ServiceField(FuelArray ServiceParams::*m) : kind_(Kind::Fuel), fuel_(m) {}

    constexpr int count() const { return kind_ == Kind::Fuel ? kFuelCount : 1; }
    int32_t get(const ServiceParams& p, int i = 0) const;
    void set(ServiceParams& p, int i, int32_t v) const;

private:
    enum class Kind : uint8_t { I32, I16, U8, Fuel };
    Kind kind_;
    int32_t ServiceParams::*i32_ = nullptr;
    int16_t ServiceParams::*i16_ = nullptr;
    uint8_t ServiceParams::*u8_ = nullptr;
    FuelArray ServiceParams::*fuel_ = nullptr;
};

// A user value: a plain field, a per-fuel array or a field of one valve.
class UserField {
public:
    constexpr UserField(int32_t UserParams::*m) : i32_(m) {}
    constexpr UserField(FuelArray UserParams::*m) : fuel_(m) {}
    constexpr UserField(ValveParams UserParams::*v, int32_t ValveParams::*m) : valve_(v), valveField_(m) {}

    constexpr int count() const { return fuel_ ? kFuelCount : 1; }
    int32_t get(const UserParams& p, int i = 0) const;
    void set(UserParams& p, int i, int32_t v) const;

private:
    int32_t UserParams::*i32_ = nullptr;
    FuelArray UserParams::*fuel_ = nullptr;
    ValveParams UserParams::*valve_ = nullptr;
    int32_t ValveParams::*valveField_ = nullptr;
};

}  // namespace vesk
