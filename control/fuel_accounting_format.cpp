// Texts of the fuel figures on the consumption screen.
#include <cstdio>

#include "control/fuel_accounting.h"

namespace vesk {

std::string formatFuelMass(uint32_t kg) {
    char buf[32];
    if (kg < 10000)
        std::snprintf(buf, sizeof buf, "%uкг", kg);
    else if (kg < 100000)
        std::snprintf(buf, sizeof buf, "%u.%02uт", kg / 1000, kg % 1000 / 10);
    else if (kg < 1000000)
        std::snprintf(buf, sizeof buf, "%u.%uт", kg / 1000, kg % 1000 / 100);
    else
        std::snprintf(buf, sizeof buf, "%uт", kg / 1000);
    return buf;
}

std::string formatFuelPercent(int percent) {
    if (percent < 0) return "н.д.";
    char buf[16];
    std::snprintf(buf, sizeof buf, "%u%%", static_cast<unsigned>(percent));
    return buf;
}

}  // namespace vesk
