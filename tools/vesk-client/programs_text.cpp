// Writing and reading the text form of the thermostat programs.
#include "programs_text.h"

#include <sstream>

namespace vesk::client {
namespace {

constexpr const char* kDays[kScheduleDays] = {"MON", "TUE", "WED", "THU", "FRI", "SAT", "SUN"};

// Targets a period does not use; the panel keeps them within its limits.
constexpr int32_t kUnusedAir = 21;
constexpr int32_t kUnusedWater = 60;

bool number(const std::string& s, int32_t& out) {
    if (s.empty() || s.size() > 4) return false;
    for (char c : s)
        if (c < '0' || c > '9') return false;
    out = std::stoi(s);
    return true;
}

bool parsePeriod(std::istringstream& in, const std::string& hours, Period& p) {
    const auto dash = hours.find('-');
    if (dash == std::string::npos || !number(hours.substr(0, dash), p.begin) || !number(hours.substr(dash + 1), p.end))
        return false;
    p.airTarget = kUnusedAir;
    p.waterTarget = kUnusedWater;
    std::string word;
    while (in >> word) {
        if (word == "pause") {
            p.pause = 1;
        } else if (word.rfind("air=", 0) == 0 && number(word.substr(4), p.airTarget)) {
            p.useAir = 1;
        } else if (word.rfind("water=", 0) == 0 && number(word.substr(6), p.waterTarget)) {
            p.useWater = 1;
        } else {
            return false;
        }
    }
    return true;
}

bool parseDays(std::istringstream& in, Schedule& s) {
    std::string word;
    while (in >> word) {
        const auto eq = word.find('=');
        if (eq == std::string::npos) return false;
        int day = -1;
        for (int d = 0; d < kScheduleDays; ++d)
            if (word.compare(0, eq, kDays[d]) == 0 && eq == 3) day = d;
        const std::string value = word.substr(eq + 1);
        int32_t program = kNoProgram;
        if (day < 0 || (value != "-" && (!number(value, program) || program > 3))) return false;
        s.dayProgram[day] = program;
    }
    return true;
}

}  // namespace

std::string formatPrograms(const Schedule& s) {
    std::ostringstream out;
    out << "enable " << (s.enabled ? 1 : 0) << "\n";
    for (int p = 0; p < kSchedulePrograms; ++p) {
        out << "program " << p << "\n";
        const Program& prog = s.programs[p];
        for (int i = 0; i < prog.count && i < kMaxPeriods; ++i) {
            const Period& q = prog.periods[i];
            out << "  " << q.begin << "-" << q.end;
            if (q.useWater) out << " water=" << q.waterTarget;
            if (q.useAir) out << " air=" << q.airTarget;
            if (q.pause) out << " pause";
            out << "\n";
        }
    }
    out << "days";
    for (int d = 0; d < kScheduleDays; ++d) {
        out << " " << kDays[d] << "=";
        if (s.dayProgram[d] >= 0 && s.dayProgram[d] < kNoProgram)
            out << s.dayProgram[d];
        else
            out << "-";
    }
    out << "\n";
    return out.str();
}

bool parsePrograms(const std::string& text, Schedule& out, std::string& error) {
    out = Schedule{};
    out.enabled = 1;
    std::istringstream lines(text);
    std::string line;
    int lineNo = 0;
    int program = -1;
    while (std::getline(lines, line)) {
        ++lineNo;
        if (auto hash = line.find('#'); hash != std::string::npos) line.erase(hash);
        std::istringstream in(line);
        std::string first;
        if (!(in >> first)) continue;
        bool ok = true;
        int32_t v = 0;
        if (first == "enable") {
            std::string value;
            ok = in >> value && number(value, v) && v <= 1;
            out.enabled = v;
        } else if (first == "program") {
            std::string value;
            ok = in >> value && number(value, v) && v < kSchedulePrograms;
            program = v;
        } else if (first == "days") {
            ok = parseDays(in, out);
        } else if (program >= 0) {
            Program& prog = out.programs[program];
            ok = prog.count < kMaxPeriods && parsePeriod(in, first, prog.periods[prog.count]);
            if (ok) ++prog.count;
        } else {
            ok = false;
        }
        if (!ok) {
            error = "line " + std::to_string(lineNo) + ": cannot read \"" + line + "\"";
            return false;
        }
    }
    return true;
}

}  // namespace vesk::client
