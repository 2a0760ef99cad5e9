// The two controller variants share one code base; the executable's main
// picks the variant, and this table holds what differs as plain constants.
#pragma once
#include <cstdint>
#include <string_view>

namespace vesk {

enum class Variant { Orvena, Kestralo };

struct VariantInfo {
    Variant variant;
    std::string_view programName;   // "ORVENA" / "KESTRALO"
    uint8_t swVersion[3];           // shown as "%u.%u.%u"
    std::string_view pskIdentity;
    std::string_view pskKeyHex;
    std::string_view macPrefix;
    std::string_view augerAnimation; // animation file of the auger
};

const VariantInfo& variantInfo(Variant v);
inline bool isKestralo(Variant v) { return v == Variant::Kestralo; }

}  // namespace vesk
