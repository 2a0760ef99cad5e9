// Parsing of automation lines: strict numbers, pen points on the screen,
// so that nothing malformed ever reaches the UI loop.
#include <charconv>
#include <string_view>

#include "platform/display/automation_server.h"
#include "platform/display/display.h"

namespace vesk {

namespace {

// Longest pen hold accepted: an hour of panel time.
constexpr int64_t kMaxHoldMs = 3600 * 1000;

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trim(std::string_view s) {
    while (!s.empty() && (isBlank(s.front()) || s.front() == '\r' || s.front() == '\n')) s.remove_prefix(1);
    while (!s.empty() && (isBlank(s.back()) || s.back() == '\r' || s.back() == '\n')) s.remove_suffix(1);
    return s;
}

std::string_view nextWord(std::string_view& rest) {
    size_t i = 0;
    while (i < rest.size() && !isBlank(rest[i])) ++i;
    std::string_view word = rest.substr(0, i);
    rest.remove_prefix(i);
    while (!rest.empty() && isBlank(rest.front())) rest.remove_prefix(1);
    return word;
}

bool toInt(std::string_view w, int64_t& v) {
    if (w.empty()) return false;
    auto [p, ec] = std::from_chars(w.data(), w.data() + w.size(), v);
    return ec == std::errc() && p == w.data() + w.size();
}

// A reply is one line: keep whatever the client sent printable and short.
std::string printable(std::string_view w) {
    std::string s;
    for (char c : w.substr(0, 32)) s += (c >= 0x20 && c < 0x7F) ? c : '?';
    return s;
}

bool fail(std::string& error, std::string why) {
    error = std::move(why);
    return false;
}

bool parsePoint(std::string_view& rest, AutomationCommand& out, std::string& error) {
    std::string_view wx = nextWord(rest), wy = nextWord(rest);
    if (wx.empty() || wy.empty()) return fail(error, "expected X Y");
    int64_t x = 0, y = 0;
    if (!toInt(wx, x) || !toInt(wy, y)) return fail(error, "X and Y must be integers");
    if (x < 0 || x >= kScreenWidth || y < 0 || y >= kScreenHeight)
        return fail(error, "point outside the 320x240 screen");
    out.x = int(x);
    out.y = int(y);
    return true;
}

}  // namespace

bool parseAutomationCommand(const std::string& line, AutomationCommand& out, std::string& error) {
    std::string_view rest = trim(line);
    if (rest.empty()) return fail(error, "empty command");
    std::string_view verb = nextWord(rest);
    using K = AutomationCommand::Kind;
    out.x = out.y = 0;
    out.holdMs = 0;
    out.path.clear();

    if (verb == "down" || verb == "move" || verb == "up" || verb == "tap" || verb == "hold") {
        out.kind = verb == "down" ? K::Down
                 : verb == "move" ? K::Move
                 : verb == "up"   ? K::Up
                 : verb == "tap"  ? K::Tap
                                  : K::Hold;
        if (!parsePoint(rest, out, error)) return false;
        if (out.kind == K::Hold) {
            std::string_view wms = nextWord(rest);
            if (wms.empty()) return fail(error, "expected X Y MS");
            if (!toInt(wms, out.holdMs) || out.holdMs < 0 || out.holdMs > kMaxHoldMs)
                return fail(error, "MS must be an integer from 0 to 3600000");
        }
        if (!rest.empty()) return fail(error, "unexpected text after the command");
        return true;
    }
    if (verb == "shot") {
        // The rest of the line, so that paths may hold spaces.
        if (rest.empty()) return fail(error, "expected PATH");
        out.kind = K::Shot;
        out.path = std::string(rest);
        return true;
    }
    if (verb == "sync" || verb == "sounds") {
        if (!rest.empty()) return fail(error, "unexpected text after the command");
        out.kind = verb == "sync" ? K::Sync : K::Sounds;
        return true;
    }
    return fail(error, "unknown command " + printable(verb));
}

}  // namespace vesk
