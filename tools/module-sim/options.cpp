// Parsing of the module-sim command line.
#include "options.h"

#include <cmath>
#include <cstdlib>

namespace vesk {

namespace {
bool toDouble(const char* s, double& out) {
    char* end = nullptr;
    double v = std::strtod(s, &end);
    if (*s == '\0' || *end != '\0' || !std::isfinite(v) || v < 0) return false;
    out = v;
    return true;
}
}  // namespace

const char* moduleSimUsage() {
    return "usage: module-sim [options]\n"
           "Stands in for the SMS and network expansion module on the panel's second serial\n"
           "line (VESK_COM4). It reports its radio signal every few seconds, polls the\n"
           "panel's event counter and prints each new event, and sends the requests typed\n"
           "on its input, printing the panel's decoded replies.\n"
           "  --device PATH       use this tty instead of making a pseudo-terminal\n"
           "  --input PATH        also read commands from this FIFO (made when missing)\n"
           "  --signal V          signal value reported: 0..75 five bars, 76..84 four, 86..94\n"
           "                      three, 96..104 two, 106..112 one, above none, 255 no signal\n"
           "                      (default 90)\n"
           "  --signal-every S    seconds between signal reports, 0 = never (default 5)\n"
           "  --poll S            seconds between event polls, 0 = never (default 2)\n"
           "  --reply-timeout S   real seconds to wait for a reply (default 2)\n"
           "  --no-stdin          do not read commands from standard input\n"
           "  --help              this text\n"
           "Without --device the first output line is VESK_COM4=<pty>. Periods run\n"
           "VESK_TIME_SCALE times faster, like the panel. Requests go one at a time: each\n"
           "waits for its reply (or the time-out) before the next is sent.\n"
           "\n"
           "Commands (one per line):\n"
           "  status              faults, temperatures, set-points and state in turn\n"
           "  faults              code 1: fault code and warning bits\n"
           "  temps               code 3: water, room, outdoor and flue-gas temperatures\n"
           "  setpoints           code 4: power, water and room set-points\n"
           "  sms                 code 6: whether SMS control is allowed\n"
           "  state               code 7: state code and bunker level\n"
           "  start | stop        code 5: start or stop the burner\n"
           "  set ITEM VALUE ...  code 5 with items power, water, air (numbers) and\n"
           "                      thermostat (on, off or a raw value)\n"
           "  signal V            code 8: report signal value V now\n"
           "  id                  code 100: the panel's serial number\n"
           "  events              code 101: event counter and status words\n"
           "  login SERIAL PASSWORD\n"
           "                      code 102: check a network login\n"
           "  relay CODE [HEX]    code 103: run a protocol command (CODE decimal, data in hex)\n"
           "  relay status        code 103 with GetStatus, summarised\n"
           "  report TYPE A.B.C.D EXTRA CONNECTIONS INTERNET\n"
           "                      code 104: the module's network report; replies access bits\n"
           "  raw HEX             any message (code and data); the check byte is added\n"
           "  help, quit\n";
}

bool parseModuleSimOptions(int argc, char** argv, ModuleSimOptions& out, std::string& error) {
    for (int i = 1; i < argc; ++i) {
        const std::string opt = argv[i];
        if (opt == "--help" || opt == "-h") {
            out.help = true;
            continue;
        }
        if (opt == "--no-stdin") {
            out.readStdin = false;
            continue;
        }
        if (i + 1 >= argc) {
            error = "option " + opt + " needs a value";
            return false;
        }
        const char* v = argv[++i];
        double d = 0;
        if (opt == "--device") {
            out.device = v;
        } else if (opt == "--input") {
            out.input = v;
        } else if (opt == "--signal" && toDouble(v, d) && d <= 255 && d == std::floor(d)) {
            out.signalValue = static_cast<int>(d);
        } else if (opt == "--signal-every" && toDouble(v, d)) {
            out.signalEvery = d;
        } else if (opt == "--poll" && toDouble(v, d)) {
            out.pollEvery = d;
        } else if (opt == "--reply-timeout" && toDouble(v, d) && d > 0) {
            out.replyTimeout = d;
        } else {
            error = "bad option or value: " + opt + " " + v;
            return false;
        }
    }
    return true;
}

}  // namespace vesk
