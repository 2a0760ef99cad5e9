// Settings of vesk-mqtt.
#include "bridge/bridge_config.h"

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "platform/key_value_text.h"

namespace vesk::bridge {

const char* const kUsage = R"(usage: vesk-mqtt [--config FILE] [--KEY VALUE ...]

Bridges Vesk boiler panels (local protocol) to an MQTT broker with Home
Assistant discovery. Every setting can be a KEY=value line of the config
file or a flag --KEY VALUE; flags win.

  broker HOST            MQTT broker (default 127.0.0.1)
  broker-port N          (default 1883; 8883 is usual with TLS)
  username NAME, password TEXT   broker login
  tls 0|1                TLS to the broker
  tls-ca FILE            CA certificate(s) for the broker (default: system's)
  tls-insecure 0|1       do not check the broker's host name
  client-id NAME         (default vesk-mqtt)
  prefix TOPIC           panel topics <prefix>/<serial>/... (default vesk)
  discovery-prefix TOPIC Home Assistant's prefix (default homeassistant)
  panel HOST[:PORT][,SERIAL][,PASSWORD]
                         a panel; repeat for more (a file may list several
                         panel= lines separated by spaces); SERIAL asked by
                         discovery when left out, PASSWORD defaults to
                         panel-password
  panel-password N       network password of the panels (LAN_PWD)
  panel-port N           TCP port of the panels (default 1977)
  discover HOST|broadcast  find panels by asking HOST (or the local
                         network) every discover-every seconds
  discovery-port N       UDP discovery port (default 1981)
  discover-every S       (default 60)
  poll S                 status poll period besides notifications (default 10)
  timeout S              answer time-out of a panel (default 3)
  backoff-max S          longest wait between reconnects (default 30)

Topics: <prefix>/bridge/availability (online/offline, last will),
<prefix>/<serial>/state (retained JSON), .../availability, .../event
(fault and warning raised/cleared), .../set/<item> (commands: water_setpoint,
room_setpoint, dhw_setpoint, heat_mode, burner, burner_mode; JSON value or
{"value": V, "id": X}), .../result (the answer to each command).
)";

namespace {

bool number(const std::string& s, long long lo, long long hi, long long& out) {
    char* end = nullptr;
    errno = 0;
    const long long v = std::strtoll(s.c_str(), &end, 10);
    if (s.empty() || *end || errno || v < lo || v > hi) return false;
    out = v;
    return true;
}

}  // namespace

bool parsePanel(const std::string& text, const BridgeConfig& c, PanelAddress& out, std::string& error) {
    std::vector<std::string> parts;
    std::stringstream in(text);
    for (std::string p; std::getline(in, p, ',');) parts.push_back(p);
    if (parts.empty() || parts.size() > 3 || parts[0].empty()) {
        error = "panel wants HOST[:PORT][,SERIAL][,PASSWORD]: " + text;
        return false;
    }
    out = PanelAddress{};
    out.host = parts[0];
    out.port = c.panelPort;
    out.discoveryPort = c.discoveryPort;
    out.password = c.panelPassword;
    long long n = 0;
    if (const size_t colon = out.host.rfind(':'); colon != std::string::npos) {
        if (!number(out.host.substr(colon + 1), 1, 65535, n)) {
            error = "bad port in " + text;
            return false;
        }
        out.port = static_cast<uint16_t>(n);
        out.host.resize(colon);
    }
    if (parts.size() > 1 && !parts[1].empty()) {
        if (!number(parts[1], 0, 0xFFFFFFFFLL, n)) {
            error = "bad serial in " + text;
            return false;
        }
        out.serial = static_cast<uint32_t>(n);
    }
    if (parts.size() > 2) {
        if (!number(parts[2], 0, 0xFFFFFFFFLL, n)) {
            error = "bad password in " + text;
            return false;
        }
        out.password = static_cast<uint32_t>(n);
    }
    return true;
}

bool applySetting(BridgeConfig& c, const std::string& key, const std::string& v, std::string& error) {
    long long n = 0;
    auto num = [&](long long lo, long long hi) {
        if (number(v, lo, hi, n)) return true;
        error = key + " wants a number " + std::to_string(lo) + ".." + std::to_string(hi) + ", not \"" + v + "\"";
        return false;
    };
    auto seconds = [&](std::chrono::milliseconds& out, long long lo, long long hi) {
        if (!num(lo, hi)) return false;
        out = std::chrono::milliseconds(n * 1000);
        return true;
    };
    if (key == "broker") c.broker.host = v;
    else if (key == "broker-port") { if (!num(1, 65535)) return false; c.broker.port = static_cast<int>(n); }
    else if (key == "username") c.broker.username = v;
    else if (key == "password") c.broker.password = v;
    else if (key == "tls") { if (!num(0, 1)) return false; c.broker.tls = n == 1; }
    else if (key == "tls-ca") { c.broker.tlsCaFile = v; c.broker.tls = true; }
    else if (key == "tls-insecure") { if (!num(0, 1)) return false; c.broker.tlsInsecure = n == 1; }
    else if (key == "client-id") c.broker.clientId = v;
    else if (key == "prefix") c.topics.prefix = v;
    else if (key == "discovery-prefix") c.topics.discoveryPrefix = v;
    else if (key == "panel-password") { if (!num(0, 0xFFFFFFFFLL)) return false; c.panelPassword = static_cast<uint32_t>(n); }
    else if (key == "panel-port") { if (!num(1, 65535)) return false; c.panelPort = static_cast<uint16_t>(n); }
    else if (key == "discovery-port") { if (!num(1, 65535)) return false; c.discoveryPort = static_cast<uint16_t>(n); }
    else if (key == "discover") c.discoverHost = v;
    else if (key == "discover-every") { if (!num(1, 86400)) return false; c.discoverEveryS = static_cast<int>(n); }
    else if (key == "poll") return seconds(c.timing.poll, 1, 3600);
    else if (key == "timeout") return seconds(c.timing.answer, 1, 60);
    else if (key == "backoff-max") return seconds(c.timing.backoffMax, 1, 3600);
    else if (key == "panel") {
        // Several panels on one line, separated by spaces.
        std::stringstream in(v);
        for (std::string one; in >> one;) {
            PanelAddress p;
            if (!parsePanel(one, c, p, error)) return false;
            c.panels.push_back(p);
        }
    } else {
        error = "unknown setting " + key;
        return false;
    }
    return true;
}

bool loadConfigFile(BridgeConfig& c, const std::string& path, std::string& error) {
    std::ifstream in(path);
    if (!in) {
        error = "cannot read " + path;
        return false;
    }
    std::stringstream text;
    text << in.rdbuf();
    // A panel line per panel: the file may repeat "panel=".
    std::string panels;
    for (std::string line; std::getline(text, line);) {
        if (line.rfind("panel=", 0) == 0) panels += " " + line.substr(6);
    }
    for (const auto& [key, value] : parseKeyValueText(text.str())) {
        if (key == "panel") continue;
        if (!applySetting(c, key, value, error)) {
            error = path + ": " + error;
            return false;
        }
    }
    if (!panels.empty() && !applySetting(c, "panel", panels, error)) {
        error = path + ": " + error;
        return false;
    }
    return true;
}

bool parseArguments(BridgeConfig& c, int argc, char** argv, std::string& error) {
    for (int i = 1; i + 1 < argc; ++i)
        if (std::string(argv[i]) == "--config" && !loadConfigFile(c, argv[i + 1], error)) return false;
    // Panels last, so that they take panel-password and panel-port wherever
    // those stand.
    std::string panels;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a.rfind("--", 0) != 0 || i + 1 >= argc) {
            error = "bad argument " + a;
            return false;
        }
        const std::string value = argv[++i];
        if (a == "--config") continue;
        if (a == "--panel")
            panels += " " + value;
        else if (!applySetting(c, a.substr(2), value, error))
            return false;
    }
    if (!panels.empty() && !applySetting(c, "panel", panels, error)) return false;
    if (c.panels.empty() && c.discoverHost.empty()) {
        error = "no panel given (panel or discover)";
        return false;
    }
    return true;
}

}  // namespace vesk::bridge
