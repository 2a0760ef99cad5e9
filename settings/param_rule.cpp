// Acceptance tests and field access of the parameter tables.
#include "settings/param_rule.h"

namespace vesk {

bool Rule::accepts(const Settings& s, int32_t v) const {
    switch (test) {
    case Test::Range: return v >= lo.get(s) && v <= hi.get(s);
    case Test::AtMost: return v <= hi.get(s);
    case Test::Below: return v < hi.get(s);
    case Test::AtLeast: return v >= lo.get(s);
    case Test::Any: return true;
    case Test::NotRead:
    case Test::ModelPower:
    case Test::Inherit: return false;
    }
    return false;
}

int32_t ServiceField::get(const ServiceParams& p, int i) const {
    switch (kind_) {
    case Kind::I32: return p.*i32_;
    case Kind::I16: return p.*i16_;
    case Kind::U8: return p.*u8_;
    case Kind::Fuel: return (p.*fuel_)[i];
    }
    return 0;
}

void ServiceField::set(ServiceParams& p, int i, int32_t v) const {
    // The narrow fields only ever receive values their rules keep in range.
    switch (kind_) {
    case Kind::I32: p.*i32_ = v; break;
    case Kind::I16: p.*i16_ = static_cast<int16_t>(v); break;
    case Kind::U8: p.*u8_ = static_cast<uint8_t>(v); break;
    case Kind::Fuel: (p.*fuel_)[i] = v; break;
    }
}

int32_t UserField::get(const UserParams& p, int i) const {
    if (fuel_) return (p.*fuel_)[i];
    if (valve_) return (p.*valve_).*valveField_;
    return p.*i32_;
}

void UserField::set(UserParams& p, int i, int32_t v) const {
    if (fuel_)
        (p.*fuel_)[i] = v;
    else if (valve_)
        (p.*valve_).*valveField_ = v;
    else
        p.*i32_ = v;
}

}  // namespace vesk
