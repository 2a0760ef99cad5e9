// module-sim's requests and the texts of the panel's replies.
#include "requests.h"

#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "net/expansion_messages.h"
#include "net/message.h"
#include "net/tls_session.h"
#include "tools/common/tool_text.h"

namespace vesk {

namespace {

constexpr uint16_t kGetStatus = 1;
constexpr int16_t kNoReading = 0x7FBC;

ModuleCommand bad(const std::string& why) {
    ModuleCommand c;
    c.kind = ModuleCommand::Bad;
    c.error = why;
    return c;
}

ModuleCommand send(std::vector<ModuleMessage> requests) {
    ModuleCommand c;
    c.kind = ModuleCommand::Send;
    c.requests = std::move(requests);
    return c;
}

bool parseAddress(const std::string& text, uint8_t out[4]) {
    unsigned a, b, c, d;
    char tail;
    if (std::sscanf(text.c_str(), "%u.%u.%u.%u%c", &a, &b, &c, &d, &tail) != 4 || a > 255 || b > 255 || c > 255 ||
        d > 255)
        return false;
    out[0] = static_cast<uint8_t>(a);
    out[1] = static_cast<uint8_t>(b);
    out[2] = static_cast<uint8_t>(c);
    out[3] = static_cast<uint8_t>(d);
    return true;
}

ModuleCommand setCommand(const std::vector<std::string>& w) {
    // Items in flag-bit order, each at most once.
    std::optional<uint8_t> items[5];
    static const char* const kNames[5] = {"startstop", "power", "water", "air", "thermostat"};
    if (w.size() < 3 || (w.size() - 1) % 2 != 0) return bad("set takes ITEM VALUE pairs");
    for (size_t i = 1; i + 1 < w.size(); i += 2) {
        int bit = -1;
        for (int b = 0; b < 5; ++b)
            if (w[i] == kNames[b]) bit = b;
        long v = 0;
        if (bit == 4 && (w[i + 1] == "on" || w[i + 1] == "off"))
            v = w[i + 1] == "on" ? 20 : 0;
        else if (bit < 0 || !parseNumber(w[i + 1], 0, 255, v))
            return bad("set items: power N, water N, air N, thermostat on|off|N");
        items[bit] = static_cast<uint8_t>(v);
    }
    ModuleMessage m{kModuleSet, 0};
    for (int b = 0; b < 5; ++b) {
        if (!items[b]) continue;
        m[1] |= static_cast<uint8_t>(1 << b);
        m.push_back(*items[b]);
    }
    return send({m});
}

std::string temperatureText(const uint8_t* p) {
    const int16_t t = static_cast<int16_t>(getU16(p));
    return t == kNoReading ? std::string("--") : std::to_string(t);
}

const char* moduleCodeText(int code) {
    switch (code) {
    case 2: return "no fault";
    case 101: return "burning";
    case 102: return "idle";
    case 103: return "boiler went out";
    case 104: return "manual mode";
    case 105: return "boiler overheat";
    case 106: return "water sensor";
    case 107: return "flue-gas sensor";
    case 108: return "fuse";
    case 109: return "emergency thermostat";
    case 110: return "auger jam";
    case 112: return "heating circuit sensor";
    case 113: return "room air sensor";
    default: return "?";
    }
}

std::string statusSummary(const uint8_t* r, size_t n) {
    if (n < 37) return "";
    char line[200];
    std::snprintf(line, sizeof line, " (water=%d air=%d burner=%u power=%u%% twat_ust=%u tair_ust=%u a=0x%04x b=0x%04x)",
                  static_cast<int16_t>(getU16(r + 3)), static_cast<int16_t>(getU16(r + 5)), r[28], r[27], r[35],
                  r[36], getU16(r + 23), getU16(r + 25));
    return line;
}

}  // namespace

ModuleMessage signalRequest(int value) { return {kModuleSignal, static_cast<uint8_t>(value)}; }
ModuleMessage eventsRequest() { return {kModuleEvents}; }

ModuleCommand parseModuleCommand(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> w;
    for (std::string word; in >> word;) w.push_back(word);
    if (w.empty()) return {};
    const std::string& verb = w[0];
    long a = 0, b = 0;
    if (verb == "quit" || verb == "exit") {
        ModuleCommand c;
        c.kind = ModuleCommand::Quit;
        return c;
    }
    if (verb == "help") {
        ModuleCommand c;
        c.kind = ModuleCommand::Help;
        return c;
    }
    if (w.size() == 1) {
        if (verb == "status")
            return send({{kModuleFaults}, {kModuleTemperatures}, {kModuleSetpoints}, {kModuleState}});
        if (verb == "faults") return send({{kModuleFaults}});
        if (verb == "temps") return send({{kModuleTemperatures}});
        if (verb == "setpoints") return send({{kModuleSetpoints}});
        if (verb == "sms") return send({{kModuleSmsControl}});
        if (verb == "state") return send({{kModuleState}});
        if (verb == "start" || verb == "stop")
            return send({{kModuleSet, kSetStartStop, static_cast<uint8_t>(verb == "start" ? 101 : 100)}});
        if (verb == "id") return send({{kModuleIdentity}});
        if (verb == "events") return send({eventsRequest()});
    }
    if (verb == "set") return setCommand(w);
    if (verb == "signal") {
        if (w.size() != 2 || !parseNumber(w[1], 0, 255, a)) return bad("signal takes a value 0..255");
        return send({signalRequest(static_cast<int>(a))});
    }
    if (verb == "login") {
        if (w.size() != 3 || !parseNumber(w[1], 0, 0xFFFFFFFFL, a) || !parseNumber(w[2], 0, 0xFFFFFFFFL, b))
            return bad("login takes SERIAL PASSWORD");
        ModuleMessage m{kModuleLogin};
        appendU16(m, 0);
        appendU16(m, 6);
        appendU32(m, static_cast<uint32_t>(a));
        appendU32(m, static_cast<uint32_t>(b));
        return send({m});
    }
    if (verb == "relay") {
        ModuleMessage m{kModuleRelay};
        if (w.size() == 2 && w[1] == "status") {
            appendU16(m, kGetStatus);
            return send({m});
        }
        std::vector<uint8_t> data;
        if (w.size() < 2 || w.size() > 3 || !parseNumber(w[1], 0, 65535, a) ||
            (w.size() == 3 && (data = bytesFromHex(w[2])).empty()))
            return bad("relay takes CODE and hex data, or status");
        appendU16(m, static_cast<uint16_t>(a));
        m.insert(m.end(), data.begin(), data.end());
        return send({m});
    }
    if (verb == "report") {
        uint8_t address[4];
        long extra = 0, connections = 0, internet = 0;
        if (w.size() != 6 || !parseNumber(w[1], 0, 65535, a) || !parseAddress(w[2], address) ||
            !parseNumber(w[3], 0, 255, extra) || !parseNumber(w[4], 0, 255, connections) || !parseNumber(w[5], 0, 1, internet))
            return bad("report takes TYPE A.B.C.D EXTRA CONNECTIONS INTERNET(0/1)");
        ModuleMessage m{kModuleNetReport};
        appendU16(m, static_cast<uint16_t>(a));
        m.insert(m.end(), address, address + 4);
        m.push_back(static_cast<uint8_t>(extra));
        m.push_back(static_cast<uint8_t>(connections));
        m.push_back(static_cast<uint8_t>(internet));
        return send({m});
    }
    if (verb == "raw" && w.size() == 2) {
        std::vector<uint8_t> m = bytesFromHex(w[1]);
        if (m.empty()) return bad("raw takes the message in hex");
        return send({m});
    }
    return bad("unknown command: " + line + " (try help)");
}

std::optional<EventReply> parseEventReply(const std::vector<uint8_t>& r) {
    if (r.size() != 10) return std::nullopt;
    return EventReply{getU16(r.data()), getU16(r.data() + 4), getU16(r.data() + 6), r[8], r[9]};
}

std::string describeReply(const ModuleMessage& request, const std::vector<uint8_t>& r) {
    const int code = request.empty() ? -1 : request[0];
    char line[240];
    const size_t n = r.size();
    if (code == kModuleFaults && n == 2) {
        std::snprintf(line, sizeof line, "faults code=%u (%s) warnings=0x%x", r[0], moduleCodeText(r[0]), r[1] / 2u);
    } else if (code == kModuleTemperatures && n == 8) {
        return "temperatures water=" + temperatureText(r.data()) + " room=" + temperatureText(r.data() + 2) +
               " outdoor=" + temperatureText(r.data() + 4) + " flue=" + temperatureText(r.data() + 6);
    } else if (code == kModuleSetpoints && n == 3) {
        std::snprintf(line, sizeof line, "setpoints power=%u%% water=%u air=%u", r[0], r[1], r[2]);
    } else if (code == kModuleSet && n == 1) {
        std::snprintf(line, sizeof line, "set accepted=0x%02x", r[0]);
    } else if (code == kModuleSmsControl && n == 1) {
        return r[0] == 100 ? "sms control allowed" : "sms control not allowed";
    } else if (code == kModuleState && n == 2) {
        if (r[1] == 255)
            std::snprintf(line, sizeof line, "state code=%u (%s) bunker=unknown", r[0], moduleCodeText(r[0]));
        else
            std::snprintf(line, sizeof line, "state code=%u (%s) bunker=%u%%", r[0], moduleCodeText(r[0]), r[1]);
    } else if (code == kModuleSignal && n == 1) {
        std::snprintf(line, sizeof line, "signal taken (%u)", r[0]);
    } else if (code == kModuleIdentity && n == 8) {
        std::snprintf(line, sizeof line, "id serial=%u", getU32(r.data() + 4));
    } else if (code == kModuleEvents && n == 10) {
        const EventReply e = *parseEventReply(r);
        std::snprintf(line, sizeof line, "events counter=%u a=0x%04x b=0x%04x time=%02d:%02d", e.counter, e.wordA,
                      e.wordB, e.minute, e.second);
    } else if (code == kModuleLogin && n == 2) {
        std::snprintf(line, sizeof line, "login result=%u", getU16(r.data()));
    } else if (code == kModuleRelay && n >= 2) {
        const uint16_t relayed = request.size() >= 3 ? getU16(request.data() + 1) : 0;
        std::snprintf(line, sizeof line, "relay code=%u result=%u len=%zu data=", relayed, getU16(r.data()), n - 2);
        std::string out = line + hexText(r.data() + 2, n - 2);
        if ((relayed & 0xFF) == kGetStatus) out += statusSummary(r.data() + 2, n - 2);
        return out;
    } else if (code == kModuleNetReport && n == 3) {
        std::snprintf(line, sizeof line, "report access local=%d remote=%d", (r[2] >> 1) & 1, r[2] & 1);
    } else {
        return "reply " + hexText(r.data(), n);
    }
    return line;
}

}  // namespace vesk
