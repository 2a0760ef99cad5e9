// Control commands of the simulator: fault injection and state queries.
#include "sim/sim_console.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <vector>

namespace vesk {

namespace {

std::vector<std::string> words(std::string_view line) {
    std::istringstream in{std::string(line)};
    std::vector<std::string> w;
    for (std::string s; in >> s;) w.push_back(s);
    return w;
}

bool number(const std::string& s, double& out) {
    char* end = nullptr;
    double v = std::strtod(s.c_str(), &end);
    if (s.empty() || *end != '\0' || !std::isfinite(v)) return false;
    out = v;
    return true;
}

bool channelByName(const std::string& name, SensorChannel& ch) {
    if (name == "auger") {  // the tube sensor shares channel 9 with valve 2
        ch = SensorChannel::Valve2;
        return true;
    }
    for (int i = 0; i < kSensorChannels; ++i) {
        if (name == sensorChannelName(static_cast<SensorChannel>(i))) {
            ch = static_cast<SensorChannel>(i);
            return true;
        }
    }
    return false;
}

ConsoleReply ok(const std::string& what = {}) { return {what.empty() ? "ok" : "ok " + what, false}; }
ConsoleReply error(const std::string& why) { return {"error " + why, false}; }

std::string fmt(double v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%g", v);
    return buf;
}

}  // namespace

const char* SimConsole::helpText() {
    return "commands: sensor NAME open|short|clear|C (NAME: air outdoor water return gas ch dhw valve1 "
           "valveair valve2 auger ref aux); fuse on|off; emergency on|off; room on|off|auto [C]; "
           "bunker empty|full|normal|KG; inverter on|off; jam on|off; ashjam on|off; phase on|off; "
           "burnback on|off; sensor9 auger|valve2; outdoor C; swing K; dhwdraw L/MIN; roomloss W/K; "
           "state; cmd; inputs; firmware; help; quit";
}

ConsoleReply SimConsole::execute(std::string_view line) {
    std::vector<std::string> w = words(line);
    if (w.empty()) return error("empty command");
    PlantModel& plant = board_.plant();
    Injections& inj = plant.injections();
    const std::string& cmd = w[0];
    auto arg = [&](size_t i) -> const std::string& {
        static const std::string none;
        return i < w.size() ? w[i] : none;
    };

    // on|off switches share one shape.
    struct Switch {
        const char* name;
        bool Injections::*field;
    };
    static const Switch switches[] = {
        {"fuse", &Injections::fuseBlown},       {"inverter", &Injections::inverterOverheat},
        {"jam", &Injections::augerJam},         {"ashjam", &Injections::ashJam},
        {"phase", &Injections::wrongPhase},     {"burnback", &Injections::burnBack},
    };
    for (const Switch& s : switches) {
        if (cmd != s.name) continue;
        if (arg(1) == "on") inj.*s.field = true;
        else if (arg(1) == "off") inj.*s.field = false;
        else return error("usage: " + cmd + " on|off");
        return ok(cmd + " " + arg(1));
    }

    if (cmd == "sensor") {
        SensorChannel ch;
        if (!channelByName(arg(1), ch)) return error("unknown sensor '" + arg(1) + "'");
        SensorOverride& ov = inj.sensors[static_cast<int>(ch)];
        double v;
        if (arg(2) == "open") ov = {SensorOverride::Kind::Open, 0};
        else if (arg(2) == "short") ov = {SensorOverride::Kind::Short, 0};
        else if (arg(2) == "clear") ov = {};
        else if (number(arg(2), v)) ov = {SensorOverride::Kind::Fixed, v};
        else return error("usage: sensor NAME open|short|clear|C");
        return ok(arg(1) + " " + arg(2));
    }
    if (cmd == "emergency") {
        if (arg(1) == "on") inj.emergencyThermostat = true;
        else if (arg(1) == "off") plant.resetEmergency();
        else return error("usage: emergency on|off");
        return ok(cmd + " " + arg(1));
    }
    if (cmd == "room") {
        double sp;
        if (arg(1) == "on") inj.roomThermostat = Injections::Room::On;
        else if (arg(1) == "off") inj.roomThermostat = Injections::Room::Off;
        else if (arg(1) == "auto") {
            if (w.size() > 2) {
                if (!number(arg(2), sp)) return error("usage: room auto [C]");
                inj.roomSetpointC = sp;
            }
            inj.roomThermostat = Injections::Room::Auto;
        } else return error("usage: room on|off|auto [C]");
        return ok("room " + arg(1));
    }
    if (cmd == "bunker") {
        double kg;
        if (arg(1) == "empty") inj.bunker = Injections::Bunker::Empty;
        else if (arg(1) == "full") inj.bunker = Injections::Bunker::Full;
        else if (arg(1) == "normal") inj.bunker = Injections::Bunker::Normal;
        else if (number(arg(1), kg) && kg >= 0) {
            inj.bunker = Injections::Bunker::Normal;
            plant.setBunkerKg(kg);
            return ok("bunker " + fmt(plant.bunkerKg()) + " kg");
        } else return error("usage: bunker empty|full|normal|KG");
        return ok("bunker " + arg(1));
    }
    if (cmd == "sensor9") {
        if (arg(1) == "auger") plant.config().sensor9IsAuger = true;
        else if (arg(1) == "valve2") plant.config().sensor9IsAuger = false;
        else return error("usage: sensor9 auger|valve2");
        return ok("sensor9 " + arg(1));
    }
    struct Setter {
        const char* name;
        double lo, hi;
    };
    static const Setter setters[] = {
        {"outdoor", -60, 60}, {"swing", 0, 30}, {"dhwdraw", 0, 60}, {"roomloss", 0, 5000}};
    for (const Setter& s : setters) {
        if (cmd != s.name) continue;
        double v;
        if (!number(arg(1), v) || v < s.lo || v > s.hi)
            return error("usage: " + cmd + " " + fmt(s.lo) + ".." + fmt(s.hi));
        if (cmd == "outdoor") plant.config().outdoorBaseC = v;
        else if (cmd == "swing") plant.config().outdoorSwingK = v;
        else if (cmd == "dhwdraw") inj.dhwDrawLPerMin = v;
        else plant.config().roomLossWPerK = v;
        return ok(cmd + " " + fmt(v));
    }

    if (cmd == "state")
        return ok(plant.describe() + (board_.safeState()      ? " board=safe"
                                      : board_.lastCommand() ? " board=commanded"
                                                             : " board=waiting"));
    if (cmd == "cmd") return ok(board_.describeLastCommand());
    if (cmd == "inputs") {
        char buf[8];
        std::snprintf(buf, sizeof buf, "0x%02x", board_.boardInputs());
        return ok(buf);
    }
    if (cmd == "firmware") {
        char buf[64];
        std::snprintf(buf, sizeof buf, "0x%04x %s %s", board_.firmware(), firmwareText(board_.firmware()).c_str(),
                      isKestralo(board_.variant()) ? "kestralo" : "orvena");
        return ok(buf);
    }
    if (cmd == "help") return ok(helpText());
    if (cmd == "quit") return {"ok bye", true};
    return error("unknown command '" + cmd + "' (try help)");
}

}  // namespace vesk
