#include "core/variant.h"

namespace vesk {

namespace {
constexpr VariantInfo kOrvena{Variant::Orvena, "ORVENA", {4, 1, 1}, "Orvena key",
    "64A0E4731C5F98B2D7063E5A41C9F28B7E0D35A6C84F1B29E3D75A06B18C4F23", "00800F06",
    "wormORVENA.mbm"};
constexpr VariantInfo kKestralo{Variant::Kestralo, "KESTRALO", {4, 1, 7}, "Kestralo key",
    "5B19D2E07A4C83F6B0E1479D2C6A58F3E90B7D14A2C6F58E3B07D91A4E62C8B5", "00800F03",
    "worm.mbm"};
}  // namespace

const VariantInfo& variantInfo(Variant v) { return v == Variant::Kestralo ? kKestralo : kOrvena; }

}  // namespace vesk
