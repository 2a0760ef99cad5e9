// tmstat.cfg: the schedule record as indented text.
#include <string_view>

#include "platform/atomic_file.h"
#include "settings/line_parser.h"
#include "settings/schedule.h"

namespace vesk {
namespace {

constexpr std::string_view kDayKeys[kScheduleDays] = {"MON", "TUE", "WED", "THU", "FRI", "SAT", "SUN"};

std::string_view trimLine(std::string_view line) {
    while (!line.empty() && (line.front() == '\t' || line.front() == ' ')) line.remove_prefix(1);
    // A file edited on another system may carry "\r\n".
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return line;
}

bool isFlag(int32_t v) { return v == 0 || v == 1; }

Period freshPeriod() {
    Period p;
    p.airTarget = kTargetUnset;
    p.waterTarget = kTargetUnset;
    return p;
}

void takePeriodValue(Period& p, const SettingsLine& l, int32_t waterMin, int32_t waterMax) {
    const int32_t v = l.values[0];
    const auto u = static_cast<uint32_t>(v);
    if (l.key == "TIME_BEGIN") {
        if (u < 24) p.begin = v;
    } else if (l.key == "TIME_END") {
        if (u <= 24) p.end = v;
    } else if (l.key == "PAUSE") {
        if (isFlag(v)) p.pause = v;
    } else if (l.key == "USE_TAIR") {
        if (isFlag(v)) p.useAir = v;
    } else if (l.key == "USE_TWATER") {
        if (isFlag(v)) p.useWater = v;
    } else if (l.key == "TAIR") {
        if (v >= 5 && v <= 35) p.airTarget = v;
    } else if (l.key == "TWATER") {
        if (v >= waterMin && v <= waterMax) p.waterTarget = v;
    }
}

void takeBodyValue(Schedule& s, const SettingsLine& l) {
    const int32_t v = l.values[0];
    if (l.key == "ENABLE") {
        if (isFlag(v)) s.enabled = v;
        return;
    }
    for (int d = 0; d < kScheduleDays; ++d)
        if (l.key == kDayKeys[d] && static_cast<uint32_t>(v) <= 3) s.dayProgram[d] = v;
}

void finishPeriod(Schedule& s, int32_t program, Period p) {
    const bool valid = static_cast<uint32_t>(p.begin) < static_cast<uint32_t>(p.end) &&
                       p.airTarget != kTargetUnset && p.waterTarget != kTargetUnset;
    if (!valid || static_cast<uint32_t>(program) >= kSchedulePrograms) return;
    Program& prog = s.programs[program];
    if (prog.count >= kMaxPeriods) return;
    if (p.useAir == 0 && p.useWater == 0) p.useWater = 1;
    prog.periods[prog.count++] = p;
}

void appendLine(std::string& out, const char* prefix, std::string_view key, int32_t value) {
    out.append(prefix);
    out.append(key);
    out.push_back('=');
    out.append(std::to_string(value));
    out.push_back('\n');
}

}  // namespace

bool parseSchedule(std::string_view text, Schedule& s, int32_t waterLimitMin, int32_t waterLimitMax) {
    enum class Where { Outside, Body, Program, Period } where = Where::Outside;
    int32_t program = 0;
    Period period;
    for (std::string_view raw : splitLines(text)) {
        const std::string_view line = trimLine(raw);
        SettingsLine kv;
        const bool hasValue = parseSettingsLine(line, kv);
        switch (where) {
        case Where::Outside:
            if (line == "TMSTAT_BEGIN") {
                // The file's programs replace whatever the record held.
                for (Program& p : s.programs) p.count = 0;
                where = Where::Body;
            }
            break;
        case Where::Body:
            if (line == "TMSTAT_END") {
                sortPrograms(s);
                for (Program& p : s.programs)
                    if (!validateProgram(p)) p.count = 0;
                return true;
            }
            if (!hasValue) break;
            if (kv.key == "PROG_BEGIN") {
                program = kv.values[0];
                where = Where::Program;
            } else {
                takeBodyValue(s, kv);
            }
            break;
        case Where::Program:
            if (line == "PROG_END") {
                where = Where::Body;
            } else if (line == "PERIOD_BEGIN") {
                period = freshPeriod();
                where = Where::Period;
            }
            break;
        case Where::Period:
            if (line == "PERIOD_END") {
                finishPeriod(s, program, period);
                where = Where::Program;
            } else if (hasValue) {
                takePeriodValue(period, kv, waterLimitMin, waterLimitMax);
            }
            break;
        }
    }
    resetSchedule(s);
    return false;
}

void loadSchedule(const std::string& path, ScheduleStore& store, int32_t waterLimitMin, int32_t waterLimitMax) {
    std::string text;
    if (!readWholeFile(path, text)) {
        clearSchedule(store);
        return;
    }
    std::lock_guard<std::mutex> g(store.scheduleLock);
    parseSchedule(text, store.schedule, waterLimitMin, waterLimitMax);
}

std::string formatSchedule(const Schedule& s) {
    std::string out = "TMSTAT_BEGIN\n";
    appendLine(out, "\t", "ENABLE", s.enabled);
    for (int d = 0; d < kScheduleDays; ++d) appendLine(out, "\t", kDayKeys[d], s.dayProgram[d]);
    for (int p = 0; p < kSchedulePrograms; ++p) {
        appendLine(out, "\t", "PROG_BEGIN", p);
        const Program& prog = s.programs[p];
        for (int i = 0; i < prog.count && i < kMaxPeriods; ++i) {
            const Period& q = prog.periods[i];
            out.append("\t\tPERIOD_BEGIN\n");
            appendLine(out, "\t\t\t", "TIME_BEGIN", q.begin);
            appendLine(out, "\t\t\t", "TIME_END", q.end);
            appendLine(out, "\t\t\t", "PAUSE", q.pause);
            appendLine(out, "\t\t\t", "USE_TAIR", q.useAir);
            appendLine(out, "\t\t\t", "USE_TWATER", q.useWater);
            appendLine(out, "\t\t\t", "TAIR", q.airTarget);
            appendLine(out, "\t\t\t", "TWATER", q.waterTarget);
            out.append("\t\tPERIOD_END\n");
        }
        out.append("\tPROG_END\n");
    }
    out.append("TMSTAT_END\n");
    return out;
}

bool saveSchedule(const std::string& path, ScheduleStore& store) {
    std::lock_guard<std::mutex> g(store.scheduleLock);
    return writeFileAtomically(path, formatSchedule(store.schedule));
}

}  // namespace vesk
