// Command-line options of module-sim.
#pragma once
#include <string>

namespace vesk {

struct ModuleSimOptions {
    std::string device;        // empty: make a pseudo-terminal
    std::string input;         // a FIFO read for commands besides stdin
    double signalEvery = 5;    // seconds between signal reports, 0 = never
    int signalValue = 90;      // value reported (90: three bars)
    double pollEvery = 2;      // seconds between event polls (code 101), 0 = never
    double replyTimeout = 2;   // real seconds to wait for a reply
    bool readStdin = true;
    bool help = false;
};

// Fills `out`; false with `error` set on a bad option.
bool parseModuleSimOptions(int argc, char** argv, ModuleSimOptions& out, std::string& error);
const char* moduleSimUsage();

}  // namespace vesk
