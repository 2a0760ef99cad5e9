// Command-line options of remote-sim.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "core/variant.h"

namespace vesk {

struct RemoteSimOptions {
    uint16_t port = 1978;            // 0: any free port (printed at start)
    Variant variant = Variant::Orvena;
    std::optional<uint32_t> serial;  // login identifier; default: the hello's
    uint32_t password = 0;
    double pollSeconds = 10;         // GetStatus period after login, 0 = never
    bool autoLogin = true;
    bool help = false;
};

// Fills `out`; false with `error` set on a bad option.
bool parseRemoteSimOptions(int argc, char** argv, RemoteSimOptions& out, std::string& error);
const char* remoteSimUsage();

}  // namespace vesk
