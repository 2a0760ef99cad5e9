// Parsing of the boiler-sim command line.
#include "options.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "sim/board_emulator.h"

namespace vesk {

namespace {

bool toDouble(const char* s, double& out) {
    char* end = nullptr;
    double v = std::strtod(s, &end);
    if (*s == '\0' || *end != '\0' || !std::isfinite(v)) return false;
    out = v;
    return true;
}

// Versions are written in hex, with or without 0x.
bool toFirmware(const char* s, uint16_t& out) {
    if (std::strncmp(s, "0x", 2) == 0 || std::strncmp(s, "0X", 2) == 0) s += 2;
    char* end = nullptr;
    unsigned long v = std::strtoul(s, &end, 16);
    if (*s == '\0' || *end != '\0' || v > 0xFFFF || !BoardEmulator::knownFirmware(static_cast<uint16_t>(v)))
        return false;
    out = static_cast<uint16_t>(v);
    return true;
}

}  // namespace

const char* usageText() {
    return "usage: boiler-sim [options]\n"
           "Stands in for the boiler's power board and the boiler itself.\n"
           "  --firmware VER      board firmware: 0x1000 0x1100 0x2200 0x2214 0x2215 (default 0x2214)\n"
           "  --variant NAME      orvena or kestralo: meaning of the input bits (default orvena)\n"
           "  --device PATH       use this tty instead of making a pseudo-terminal\n"
           "  --control PATH      Unix socket for control commands\n"
           "  --print-every S     status line every S simulated seconds, at most one per real\n"
           "                      second; 0 = never (default 10)\n"
           "  --seed N            seed of the sensor noise (default 1)\n"
           "  --noise K           sensor noise amplitude in kelvin (default 0.1)\n"
           "  --outdoor C         mean outdoor temperature (default 0)\n"
           "  --sensor9 WHAT      channel 9 wired to 'auger' tube (default) or 'valve2' water\n"
           "  --hydrosep          the installation has a hydraulic separator\n"
           "  --silence S         simulated seconds without a command before the board stops\n"
           "                      auger and fans by itself (default 5)\n"
           "  --no-stdin          do not read commands from standard input\n"
           "  --help              this text\n"
           "Without --device the first output line is VESK_COM1=<pty>; the pty stays open\n"
           "here so the panel may close and reopen it. Simulated time runs VESK_TIME_SCALE\n"
           "times faster than real time. Commands (one per line, one reply line each) are\n"
           "read from stdin and from every connection of the control socket; 'help' lists\n"
           "them. End of input on stdin only stops reading it: the simulator ends on 'quit',\n"
           "SIGINT or SIGTERM.\n";
}

bool parseOptions(int argc, char** argv, SimOptions& out, std::string& error) {
    for (int i = 1; i < argc; ++i) {
        std::string opt = argv[i];
        auto value = [&]() -> const char* {
            if (i + 1 >= argc) return nullptr;
            return argv[++i];
        };
        if (opt == "--help" || opt == "-h") {
            out.help = true;
            continue;
        }
        if (opt == "--no-stdin") {
            out.readStdin = false;
            continue;
        }
        if (opt == "--hydrosep") {
            out.hydraulicSeparator = true;
            continue;
        }
        const char* v = value();
        if (!v) {
            error = opt + " needs a value";
            return false;
        }
        double d;
        if (opt == "--firmware") {
            if (!toFirmware(v, out.firmware)) {
                error = std::string("unknown firmware '") + v + "' (0x1000 0x1100 0x2200 0x2214 0x2215)";
                return false;
            }
        } else if (opt == "--variant") {
            if (std::strcmp(v, "orvena") == 0) out.variant = Variant::Orvena;
            else if (std::strcmp(v, "kestralo") == 0) out.variant = Variant::Kestralo;
            else {
                error = std::string("unknown variant '") + v + "'";
                return false;
            }
        } else if (opt == "--device") {
            out.device = v;
        } else if (opt == "--control") {
            out.control = v;
        } else if (opt == "--print-every" && toDouble(v, d) && d >= 0) {
            out.printEvery = d;
        } else if (opt == "--seed" && toDouble(v, d) && d >= 0 && d <= 4294967295.0) {
            out.seed = static_cast<uint32_t>(d);
        } else if (opt == "--noise" && toDouble(v, d) && d >= 0 && d <= 5) {
            out.noise = d;
        } else if (opt == "--outdoor" && toDouble(v, d) && d >= -60 && d <= 60) {
            out.outdoor = d;
        } else if (opt == "--silence" && toDouble(v, d) && d > 0) {
            out.silence = d;
        } else if (opt == "--sensor9" && (std::strcmp(v, "auger") == 0 || std::strcmp(v, "valve2") == 0)) {
            out.sensor9Auger = std::strcmp(v, "auger") == 0;
        } else {
            error = "bad option or value: " + opt + " " + v;
            return false;
        }
    }
    return true;
}

}  // namespace vesk
