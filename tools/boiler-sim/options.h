// Command-line options of boiler-sim.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "core/variant.h"

namespace vesk {

struct SimOptions {
    uint16_t firmware = 0x2214;
    Variant variant = Variant::Orvena;
    std::string device;        // empty: make a pseudo-terminal
    std::string control;       // Unix socket path, empty: none
    double printEvery = 10;    // simulated seconds between status lines, 0 = never
    uint32_t seed = 1;
    std::optional<double> outdoor;
    bool sensor9Auger = true;
    bool hydraulicSeparator = false;
    double silence = 5;
    double noise = 0.1;
    bool readStdin = true;
    bool help = false;
};

// Fills `out`; false with `error` set on a bad option.
bool parseOptions(int argc, char** argv, SimOptions& out, std::string& error);
const char* usageText();

}  // namespace vesk
