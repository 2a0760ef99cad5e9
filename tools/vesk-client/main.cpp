// vesk-client: command-line client of the panel's local protocol.
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "net/client/client_link.h"
#include "net/client/set_commands.h"
#include "net/client/status_fields.h"
#include "net/client/status_words.h"
#include "net/message.h"
#include "net/thermostat_block.h"
#include "output.h"
#include "programs_text.h"

namespace vesk::client {
namespace {

// Exit codes.
constexpr int kOk = 0, kFailed = 1, kRefused = 2, kNotLoggedIn = 3;

const char* const kUsage = R"(usage: vesk-client [options] COMMAND [ARGS]

Talks to a Vesk boiler panel over its local protocol (TCP, and UDP for
discovery). The panel must have local access enabled and a network
password set.

Commands:
  discover                  find panels: prints "SERIAL ADDRESS" per answer
                            (broadcast, or ask --host only when given)
  info                      model power, board type word, protocol version
  status                    the full status record: readings, state, faults,
                            warnings and every setting it carries
  set KEY VALUE [KEY VALUE ...]
                            change settings; fields of the same command that
                            are not given keep their current values
  start | stop              start or stop the burner
  clock [now | YYYY-MM-DD HH:MM:SS]
                            set the panel clock (default: this computer's)
  reset-fuel time|own|total ...
                            clear fuel counters (ORVENA)
  programs get              print the thermostat programs (text form below)
  programs set FILE         replace them from FILE ("-": standard input)
  programs off              switch the thermostat off, keeping the programs
  watch                     print status notifications as they come

Options:
  --host HOST               panel address (default 127.0.0.1)
  --port PORT               TCP port (default $VESK_PORT_LOCAL or 1977)
  --discovery-port PORT     UDP port (default $VESK_PORT_DISCOVERY or 1981)
  --serial N                the panel's serial number (asked by discovery
                            when not given)
  --password N              the panel's network password
  --variant orvena|kestralo command table to use (default: asked)
  --json                    print JSON instead of text
  --timeout SECONDS         wait at most this long for an answer (default 5)
  --count N                 watch: stop after N notifications
  --help                    this text

Settable keys, by the command that carries them (i = fuel 0..5,
n = valve 1 or 2; ORVENA-only commands are marked):
)";

const char* const kProgramsHelp = R"(
Thermostat programs text form ("programs get" prints it, "programs set"
reads it):
  enable 1
  program 0
    6-9 water=75 air=22        hours begin-end; water=/air= set a target
    22-6 air=18 pause          a period may run past midnight
  program 1
  program 2
  program 3
  days MON=0 TUE=0 WED=0 THU=0 FRI=0 SAT=1 SUN=-    ("-": no program)
"#" starts a comment.

Exit status: 0 done, 1 failure, 2 the panel refused a command,
3 login refused.
)";

struct Options {
    std::string host = "127.0.0.1";
    uint16_t port = 1977;
    uint16_t discoveryPort = 1981;
    std::optional<uint32_t> serial;
    uint32_t password = 0;
    std::optional<Variant> variant;
    bool json = false;
    int timeoutMs = 5000;
    long count = -1;
    bool hostGiven = false;
    std::vector<std::string> args;
};

bool parseNumber(const std::string& s, int64_t& out) {
    char* end = nullptr;
    errno = 0;
    const long long v = std::strtoll(s.c_str(), &end, 10);
    if (s.empty() || *end || errno) return false;
    out = v;
    return true;
}

uint16_t envPort(const char* name, uint16_t fallback) {
    int64_t v = 0;
    const char* e = std::getenv(name);
    return e && parseNumber(e, v) && v > 0 && v < 65536 ? static_cast<uint16_t>(v) : fallback;
}

bool parseOptions(int argc, char** argv, Options& o, std::string& error) {
    o.port = envPort("VESK_PORT_LOCAL", 1977);
    o.discoveryPort = envPort("VESK_PORT_DISCOVERY", 1981);
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a.rfind("--", 0) != 0) {
            o.args.push_back(a);
            continue;
        }
        if (a == "--json") {
            o.json = true;
            continue;
        }
        if (a == "--help") {
            o.args = {"help"};
            return true;
        }
        if (i + 1 >= argc) {
            error = a + " needs a value";
            return false;
        }
        const std::string v = argv[++i];
        int64_t n = 0;
        const bool isNumber = parseNumber(v, n);
        if (a == "--host") {
            o.host = v;
            o.hostGiven = true;
        } else if ((a == "--port" || a == "--discovery-port") && isNumber && n > 0 && n < 65536) {
            (a == "--port" ? o.port : o.discoveryPort) = static_cast<uint16_t>(n);
        } else if (a == "--serial" && isNumber && n >= 0 && n <= 0xFFFFFFFFLL) {
            o.serial = static_cast<uint32_t>(n);
        } else if (a == "--password" && isNumber && n >= 0 && n <= 0xFFFFFFFFLL) {
            o.password = static_cast<uint32_t>(n);
        } else if (a == "--variant" && (v == "orvena" || v == "kestralo")) {
            o.variant = v == "orvena" ? Variant::Orvena : Variant::Kestralo;
        } else if (a == "--timeout" && isNumber && n > 0) {
            o.timeoutMs = static_cast<int>(n * 1000);
        } else if (a == "--count" && isNumber && n > 0) {
            o.count = static_cast<long>(n);
        } else {
            error = "bad option " + a + " " + v;
            return false;
        }
    }
    return true;
}

const char* variantName(Variant v) { return isKestralo(v) ? "KESTRALO" : "ORVENA"; }

int fail(const std::string& message) {
    std::fprintf(stderr, "vesk-client: %s\n", message.c_str());
    return kFailed;
}

class Session {
public:
    explicit Session(const Options& o) : o_(o) {}

    int open() {
        std::string error;
        uint32_t serial = 0;
        if (o_.serial) {
            serial = *o_.serial;
        } else {
            const auto answers = discover(o_.host, o_.discoveryPort, 0xFFFFFFFF, o_.timeoutMs, error);
            if (answers.empty()) return fail("no --serial given and " + o_.host + " did not answer discovery");
            serial = answers.front().serial;
        }
        if (!link_.connect(o_.host, o_.port, o_.timeoutMs, error)) return fail(error);
        const int result = link_.login(serial, o_.password, o_.timeoutMs);
        if (result < 0) return fail("no answer to the login");
        if (result != 0) {
            std::fprintf(stderr, "vesk-client: login refused (serial %u)\n", serial);
            return kNotLoggedIn;
        }
        if (o_.variant) {
            variant_ = *o_.variant;
        } else {
            Reply info;
            if (!call(0, {}, info)) return kFailed;
            variant_ = info.data.size() >= 4 && info.data[3] == 23 ? Variant::Kestralo : Variant::Orvena;
        }
        return kOk;
    }

    bool call(int code, const Bytes& data, Reply& reply) {
        if (code < 0) {
            fail(std::string("the ") + variantName(variant_) + " panel has no such command");
            return false;
        }
        if (!link_.command(static_cast<uint16_t>(code), data, reply, o_.timeoutMs)) {
            fail("no reply to command " + std::to_string(code));
            return false;
        }
        return true;
    }
    // A command whose reply carries no data: its result as an exit code.
    int simple(int code, const Bytes& data, const std::string& what) {
        Reply r;
        if (!call(code, data, r)) return kFailed;
        report(what, r.result);
        return r.result == kDone ? kOk : kRefused;
    }
    void report(const std::string& what, uint16_t result) {
        static const char* const kResults[] = {"done", "refused", "unknown command", "not authenticated"};
        const std::string text = result < 4 ? kResults[result] : "result " + std::to_string(result);
        if (o_.json)
            std::printf("%s\n", JsonObject().addString("command", what).add("result", result).str().c_str());
        else
            std::printf("%s: %s\n", what.c_str(), text.c_str());
    }
    bool status(Bytes& record) {
        Reply r;
        if (!call(opCode(variant_, Op::Status), {}, r)) return false;
        if (!variantOfRecord(r.data.size())) {
            fail("status record of unexpected length " + std::to_string(r.data.size()));
            return false;
        }
        record = r.data;
        return true;
    }

    Variant variant() const { return variant_; }
    ClientLink& link() { return link_; }

private:
    const Options& o_;
    ClientLink link_;
    Variant variant_ = Variant::Orvena;
};

int runDiscover(const Options& o) {
    std::string error;
    const auto answers = discover(o.hostGiven ? o.host : "", o.discoveryPort,
                                  o.serial ? *o.serial : 0xFFFFFFFF, o.timeoutMs, error);
    if (!error.empty()) return fail(error);
    std::vector<std::string> json;
    for (const auto& a : answers) {
        if (o.json)
            json.push_back(JsonObject().add("serial", a.serial).addString("address", a.address).str());
        else
            std::printf("%u %s\n", a.serial, a.address.c_str());
    }
    if (o.json) {
        std::string out = "[";
        for (size_t i = 0; i < json.size(); ++i) out += (i ? "," : "") + json[i];
        std::printf("%s]\n", out.c_str());
    }
    return answers.empty() ? kFailed : kOk;
}

int runInfo(const Options& o, Session& s) {
    Reply info, version;
    if (!s.call(opCode(s.variant(), Op::DeviceInfo), {}, info) || info.data.size() < 7) return fail("no device info");
    const bool versionKnown = s.call(opCode(s.variant(), Op::Version), {}, version) && version.result == kDone &&
                              version.data.size() >= 2;
    const uint8_t* d = info.data.data();
    const int power = getU16(d + 1);
    const int board = getU16(d + 5);
    if (o.json) {
        JsonObject j;
        j.addString("variant", variantName(s.variant())).add("power_kw", power).add("board_type", board);
        if (isKestralo(s.variant())) j.add("boiler_type", d[0]);
        if (versionKnown) j.add("protocol_version", getU16(version.data.data()));
        std::printf("%s\n", j.str().c_str());
        return kOk;
    }
    std::printf("variant           %s\n", variantName(s.variant()));
    if (isKestralo(s.variant())) std::printf("boiler type       %u\n", d[0]);
    std::printf("power             %d kW\nboard type word   0x%X\n", power, board);
    if (versionKnown) std::printf("protocol version  %u\n", getU16(version.data.data()));
    return kOk;
}

int runStatus(const Options& o, Session& s) {
    Bytes record;
    if (!s.status(record)) return kFailed;
    const auto fields = decodeStatus(record);
    const auto m = statusMap(record);
    const auto faults = faultNames(static_cast<uint16_t>(m.at("status_word_a")));
    const auto warnings = warningNames(static_cast<uint16_t>(m.at("status_word_b")));
    const std::string state = burnerStateName(m.at("burner_state"));
    if (o.json) {
        JsonObject j;
        j.addString("variant", variantName(s.variant()))
            .addString("burner", state)
            .addRaw("faults", jsonList(faults))
            .addRaw("warnings", jsonList(warnings));
        for (const FieldValue& f : fields) j.add(f.name, f.value);
        std::printf("%s\n", j.str().c_str());
        return kOk;
    }
    std::printf("%-24s %s\n%-24s %s\n%-24s %s\n%-24s %s\n", "variant", variantName(s.variant()), "burner",
                state.c_str(), "faults", textList(faults).c_str(), "warnings", textList(warnings).c_str());
    for (const FieldValue& f : fields) {
        const bool reading = f.name.rfind("reading.", 0) == 0;
        if (reading && f.value >= 0x4000)
            std::printf("%-24s missing\n", f.name.c_str());
        else
            std::printf("%-24s %lld\n", f.name.c_str(), static_cast<long long>(f.value));
    }
    return kOk;
}

int runSet(const Options& o, Session& s) {
    if (o.args.size() < 3 || o.args.size() % 2 == 0) return fail("set needs KEY VALUE pairs");
    std::map<std::string, int64_t> values;
    for (size_t i = 1; i + 1 < o.args.size(); i += 2) {
        std::string key = o.args[i];
        for (char& c : key) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        int64_t v = 0;
        if (!parseNumber(o.args[i + 1], v)) return fail("not a number: " + o.args[i + 1]);
        values[key] = v;
    }
    Bytes record;
    if (!s.status(record)) return kFailed;
    std::vector<SetRequest> requests;
    std::string error;
    if (!buildSetRequests(s.variant(), values, statusMap(record), requests, error)) return fail(error);
    int rc = kOk;
    for (const SetRequest& r : requests)
        if (s.simple(r.code, r.data, r.command) != kOk) rc = kRefused;
    return rc;
}

int runClock(const Options& o, Session& s) {
    std::tm t{};
    if (o.args.size() == 1 || (o.args.size() == 2 && o.args[1] == "now")) {
        const std::time_t now = std::time(nullptr);
        localtime_r(&now, &t);
    } else {
        std::string text;
        for (size_t i = 1; i < o.args.size(); ++i) text += (i > 1 ? " " : "") + o.args[i];
        std::istringstream in(text);
        char dash1, dash2, colon1, colon2;
        in >> t.tm_year >> dash1 >> t.tm_mon >> dash2 >> t.tm_mday >> t.tm_hour >> colon1 >> t.tm_min >> colon2 >>
            t.tm_sec;
        if (!in || dash1 != '-' || dash2 != '-' || colon1 != ':' || colon2 != ':' || t.tm_year < 2000 ||
            t.tm_year > 2255)
            return fail("clock wants YYYY-MM-DD HH:MM:SS");
        t.tm_year -= 1900;
        t.tm_mon -= 1;
    }
    const Bytes data{static_cast<uint8_t>(t.tm_sec), static_cast<uint8_t>(t.tm_min), static_cast<uint8_t>(t.tm_hour),
                     static_cast<uint8_t>(t.tm_mday), static_cast<uint8_t>(t.tm_mon + 1),
                     static_cast<uint8_t>(t.tm_year + 1900 - 2000)};
    return s.simple(opCode(s.variant(), Op::Clock), data, "SetClock");
}

int runResetFuel(const Options& o, Session& s) {
    uint16_t mask = 0;
    for (size_t i = 1; i < o.args.size(); ++i) {
        const std::string& a = o.args[i];
        if (a == "time") mask |= 1;
        else if (a == "own") mask |= 2;
        else if (a == "total") mask |= 4;
        else return fail("reset-fuel takes time, own and total");
    }
    if (!mask) return fail("reset-fuel: name the counters to clear");
    Bytes data;
    appendU16(data, mask);
    return s.simple(opCode(s.variant(), Op::ResetFuel), data, "ResetFuelCounters");
}

std::string programsJson(const Schedule& sch) {
    std::string programs = "[";
    for (int p = 0; p < kSchedulePrograms; ++p) {
        programs += p ? ",[" : "[";
        const Program& prog = sch.programs[p];
        for (int i = 0; i < prog.count; ++i) {
            const Period& q = prog.periods[i];
            JsonObject j;
            j.add("begin", q.begin).add("end", q.end).add("pause", q.pause);
            j.addRaw("air", q.useAir ? std::to_string(q.airTarget) : "null");
            j.addRaw("water", q.useWater ? std::to_string(q.waterTarget) : "null");
            programs += (i ? "," : "") + j.str();
        }
        programs += "]";
    }
    std::string days = "[";
    for (int d = 0; d < kScheduleDays; ++d)
        days += (d ? "," : "") + (sch.dayProgram[d] < kNoProgram ? std::to_string(sch.dayProgram[d]) : "null");
    return JsonObject().add("enable", sch.enabled).addRaw("programs", programs + "]").addRaw("days", days + "]").str();
}

int runPrograms(const Options& o, Session& s) {
    const std::string what = o.args.size() > 1 ? o.args[1] : "";
    if (what == "get") {
        Reply r;
        if (!s.call(opCode(s.variant(), Op::GetPrograms), {}, r)) return kFailed;
        Schedule sch;
        if (!decodeThermostatBlock(r.data.data(), r.data.size(), sch)) return fail("unreadable thermostat block");
        std::printf("%s", o.json ? (programsJson(sch) + "\n").c_str() : formatPrograms(sch).c_str());
        return kOk;
    }
    if (what == "off") return s.simple(opCode(s.variant(), Op::SetPrograms), {1, 0}, "SetThermostatPrograms");
    if (what == "set" && o.args.size() == 3) {
        std::string text;
        if (o.args[2] == "-") {
            text.assign(std::istreambuf_iterator<char>(std::cin), {});
        } else {
            std::ifstream in(o.args[2]);
            if (!in) return fail("cannot read " + o.args[2]);
            text.assign(std::istreambuf_iterator<char>(in), {});
        }
        Schedule sch;
        std::string error;
        if (!parsePrograms(text, sch, error)) return fail(error);
        return s.simple(opCode(s.variant(), Op::SetPrograms), encodeThermostatBlock(sch), "SetThermostatPrograms");
    }
    return fail("programs get | programs set FILE | programs off");
}

int runWatch(const Options& o, Session& s) {
    long seen = 0;
    Bytes m;
    while (o.count < 0 || seen < o.count) {
        if (!s.link().notification(m, 60 * 60 * 1000)) {
            // An hour of quiet is normal; a closed connection ends the watch.
            if (s.link().closed()) return fail("connection closed");
            continue;
        }
        Notification n;
        if (!decodeNotification(m, n)) continue;
        const uint16_t a = n.wordA, w = n.wordB;
        char when[32];
        std::snprintf(when, sizeof when, "%04d-%02d-%02d %02d:%02d:%02d", n.year, n.month, n.day, n.hour, n.minute,
                      n.second);
        if (o.json) {
            std::printf("%s\n", JsonObject()
                                    .addString("time", when)
                                    .add("status_word_a", a)
                                    .add("status_word_b", w)
                                    .addRaw("faults", jsonList(faultNames(a)))
                                    .addRaw("warnings", jsonList(warningNames(w)))
                                    .str()
                                    .c_str());
        } else {
            std::printf("%s A=0x%04X B=0x%04X faults: %s; warnings: %s\n", when, a, w, textList(faultNames(a)).c_str(),
                        textList(warningNames(w)).c_str());
        }
        std::fflush(stdout);
        ++seen;
    }
    return kOk;
}

}  // namespace

int run(int argc, char** argv) {
    Options o;
    std::string error;
    if (!parseOptions(argc, argv, o, error)) return fail(error + " (see --help)");
    if (o.args.empty() || o.args[0] == "help") {
        std::printf("%s%s%s", kUsage, settableKeys().c_str(), kProgramsHelp);
        return o.args.empty() ? kFailed : kOk;
    }
    const std::string& cmd = o.args[0];
    if (cmd == "discover") return runDiscover(o);

    static const char* const kCommands[] = {"info", "status", "set", "start", "stop", "clock", "reset-fuel",
                                            "programs", "watch"};
    bool known = false;
    for (const char* c : kCommands) known = known || cmd == c;
    if (!known) return fail("unknown command " + cmd + " (see --help)");

    Session s(o);
    if (const int rc = s.open(); rc != kOk) return rc;
    if (cmd == "info") return runInfo(o, s);
    if (cmd == "status") return runStatus(o, s);
    if (cmd == "set") return runSet(o, s);
    if (cmd == "start" || cmd == "stop") {
        Bytes data;
        appendU16(data, cmd == "start" ? 1 : 0);
        return s.simple(opCode(s.variant(), Op::StartStop), data, "StartStop");
    }
    if (cmd == "clock") return runClock(o, s);
    if (cmd == "reset-fuel") return runResetFuel(o, s);
    if (cmd == "programs") return runPrograms(o, s);
    return runWatch(o, s);
}

}  // namespace vesk::client

int main(int argc, char** argv) { return vesk::client::run(argc, argv); }
