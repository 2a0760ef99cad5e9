// remote-sim's command language and its message printer.
#include "commands.h"

#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "net/message.h"
#include "net/status_record.h"
#include "net/tls_session.h"
#include "tools/common/tool_text.h"

namespace vesk {

namespace {

constexpr uint16_t kGetDeviceInfo = 0;
constexpr uint16_t kGetStatus = 1;
constexpr uint16_t kSetPowerLimits = 2;
constexpr uint16_t kSetWaterSetpoint = 3;
constexpr uint16_t kSetAirSetpoint = 4;
constexpr uint16_t kGetProtocolVersion = 128;

uint16_t startStopCode(Variant v) { return isKestralo(v) ? 19 : 23; }

SimCommand bad(const std::string& why) {
    SimCommand c;
    c.kind = SimCommand::Bad;
    c.error = why;
    return c;
}

SimCommand send(std::vector<uint8_t> m) {
    SimCommand c;
    c.kind = SimCommand::Send;
    c.message = std::move(m);
    return c;
}

std::string statusLine(const uint8_t* r, size_t n) {
    if (n != kStatusRecordSizeOrvena && n != kStatusRecordSizeKestralo) return "";
    auto s16 = [&](size_t at) { return static_cast<int16_t>(getU16(r + at)); };
    char line[200];
    std::snprintf(line, sizeof line,
                  "status water=%d air=%d burner=%u power=%u twat_ust=%u tair_ust=%u a=0x%04x b=0x%04x", s16(3),
                  s16(5), r[28], r[27], r[35], r[36], getU16(r + 23), getU16(r + 25));
    return line;
}

}  // namespace

std::vector<uint8_t> loginMessage(uint32_t serial, uint32_t password) {
    std::vector<uint8_t> body;
    appendU16(body, 0);
    appendU16(body, 6);
    appendU32(body, serial);
    appendU32(body, password);
    return makeMessage(kGroupLogin, kKindRequest, body);
}

std::vector<uint8_t> commandMessage(uint16_t code, const std::vector<uint8_t>& data, bool replyWanted) {
    std::vector<uint8_t> body;
    appendU16(body, code);
    body.insert(body.end(), data.begin(), data.end());
    return makeMessage(kGroupCommand, replyWanted ? kKindRequest : kKindNoReply, body);
}

SimCommand parseSimCommand(const std::string& line, Variant v) {
    std::istringstream in(line);
    std::vector<std::string> w;
    for (std::string word; in >> word;) w.push_back(word);
    if (w.empty()) return {};
    const std::string& verb = w[0];
    long a = 0, b = 0;
    auto hexArg = [&](size_t at, std::vector<uint8_t>& out) {
        if (w.size() <= at) return true;
        if (w.size() > at + 1) return false;
        out = bytesFromHex(w[at]);
        return !out.empty();
    };
    if (verb == "quit" || verb == "exit") {
        SimCommand c;
        c.kind = SimCommand::Quit;
        return c;
    }
    if (verb == "status" && w.size() == 1) return send(commandMessage(kGetStatus, {}, true));
    if (verb == "info" && w.size() == 1) return send(commandMessage(kGetDeviceInfo, {}, true));
    if (verb == "version" && w.size() == 1) return send(commandMessage(kGetProtocolVersion, {}, true));
    if ((verb == "start" || verb == "stop") && w.size() == 1)
        return send(commandMessage(startStopCode(v), {static_cast<uint8_t>(verb == "start"), 0}, true));
    if (verb == "set" && w.size() >= 3) {
        if ((w[1] == "TWAT_UST" || w[1] == "TAIR_UST") && w.size() == 3 && parseNumber(w[2], 0, 65535, a))
            return send(commandMessage(w[1] == "TWAT_UST" ? kSetWaterSetpoint : kSetAirSetpoint,
                                       {static_cast<uint8_t>(a), static_cast<uint8_t>(a >> 8)}, true));
        // Both power limits travel together; without reading the panel first
        // there is no current value to fill in for a missing one.
        if (w.size() == 5 && ((w[1] == "POW_UST_MIN" && w[3] == "POW_UST") ||
                              (w[1] == "POW_UST" && w[3] == "POW_UST_MIN"))) {
            const bool minFirst = w[1] == "POW_UST_MIN";
            if (parseNumber(w[minFirst ? 2 : 4], 0, 255, a) && parseNumber(w[minFirst ? 4 : 2], 0, 255, b))
                return send(
                    commandMessage(kSetPowerLimits, {static_cast<uint8_t>(a), static_cast<uint8_t>(b)}, true));
        }
        return bad("set takes TWAT_UST N, TAIR_UST N or POW_UST_MIN N POW_UST M");
    }
    if (verb == "login") {
        SimCommand c;
        c.kind = SimCommand::Login;
        if (w.size() == 1) return c;
        if (w.size() == 3 && parseNumber(w[1], 0, 0xFFFFFFFFL, a) && parseNumber(w[2], 0, 0xFFFFFFFFL, b)) {
            c.credentials = true;
            c.serial = static_cast<uint32_t>(a);
            c.password = static_cast<uint32_t>(b);
            return c;
        }
        return bad("login takes no arguments or SERIAL PASSWORD");
    }
    if ((verb == "cmd" || verb == "send") && w.size() >= 2) {
        std::vector<uint8_t> data;
        if (!parseNumber(w[1], 0, 65535, a) || !hexArg(2, data)) return bad(verb + " takes CODE and hex data");
        return send(commandMessage(static_cast<uint16_t>(a), data, verb == "cmd"));
    }
    if (verb == "raw" && w.size() >= 3) {
        std::vector<uint8_t> body;
        if (!parseNumber(w[1], 0, 65535, a) || !parseNumber(w[2], 0, 65535, b) || !hexArg(3, body) || body.size() > kMaxBody)
            return bad("raw takes GROUP KIND and hex body");
        return send(makeMessage(static_cast<uint16_t>(a), static_cast<uint16_t>(b), body));
    }
    return bad("unknown command: " + line);
}

std::string describeMessage(const uint8_t* msg, size_t n) {
    MessageHeader h;
    if (!readHeader(msg, n, h)) return "error short message";
    const uint8_t* body = msg + kHeaderSize;
    const size_t len = n - kHeaderSize;
    char line[160];
    if (h.group == kGroupLink && h.kind == kKindNoReply && len == 8) {
        std::snprintf(line, sizeof line, "hello serial=%u", getU32(body + 4));
        return line;
    }
    if (h.group == kGroupLogin && h.kind == kKindReply && len == 4) {
        std::snprintf(line, sizeof line, "login result=%u", getU16(body + 2));
        return line;
    }
    if (h.kind == kKindKeepAlive) return "keepalive";
    if (h.group == kGroupCommand && h.kind == kKindNotify && len == 12) {
        std::snprintf(line, sizeof line, "notification a=0x%04x b=0x%04x time=%04u-%02u-%02u %02u:%02u:%02u",
                      getU16(body + 2), getU16(body + 4), 2000u + body[11], body[10], body[9], body[8], body[7],
                      body[6]);
        return line;
    }
    if (h.group == kGroupCommand && h.kind == kKindReply && len >= 4) {
        const uint16_t code = getU16(body);
        std::snprintf(line, sizeof line, "reply code=%u result=%u len=%zu data=", code, getU16(body + 2), len - 4);
        std::string out = line + hexText(body + 4, len - 4);
        if (code == kGetStatus) {
            std::string s = statusLine(body + 4, len - 4);
            if (!s.empty()) out += "\n" + s;
        }
        return out;
    }
    std::snprintf(line, sizeof line, "message group=%u kind=%u len=%zu data=", h.group, h.kind, len);
    return line + hexText(body, len);
}

}  // namespace vesk
