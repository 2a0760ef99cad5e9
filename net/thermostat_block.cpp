// Reading and writing the thermostat block of the remote protocol.
#include "net/thermostat_block.h"

#include <algorithm>

namespace vesk {
namespace {

constexpr size_t kPeriodBytes = 5;

struct WirePeriod {
    uint8_t begin, end, flags, air, water;
};

Period toPeriod(const WirePeriod& w, int32_t begin, int32_t end) {
    Period p;
    p.begin = begin;
    p.end = end;
    p.useAir = (w.flags & kPeriodUseAir) ? 1 : 0;
    p.useWater = (w.flags & kPeriodUseWater) ? 1 : 0;
    p.pause = (w.flags & kPeriodPause) ? 1 : 0;
    p.airTarget = w.air;
    p.waterTarget = w.water;
    return p;
}

// Hours within the day, begins non-decreasing and not inside the previous
// period, at most one period past midnight, last, ending by the first begin.
bool periodsValid(const std::vector<WirePeriod>& ps, int32_t waterMin, int32_t waterMax) {
    int previousEnd = 0;
    int previousBegin = 0;
    for (size_t i = 0; i < ps.size(); ++i) {
        const WirePeriod& w = ps[i];
        if (w.begin >= 24 || w.end > 24 || w.begin < previousBegin || w.begin < previousEnd) return false;
        if (w.begin >= w.end) {
            if (i + 1 != ps.size() || w.end > ps.front().begin) return false;
        }
        if ((w.flags & kPeriodUseAir) && (w.air < 5 || w.air > 35)) return false;
        if ((w.flags & kPeriodUseWater) && (w.water < waterMin || w.water > waterMax)) return false;
        previousBegin = w.begin;
        previousEnd = w.end;
    }
    return true;
}

// The periods as the record keeps them; false when they do not fit.
bool storeProgram(const std::vector<WirePeriod>& ps, bool full, Program& out) {
    std::vector<Period> early;  // parts after midnight go first
    std::vector<Period> rest;
    for (const WirePeriod& w : ps) {
        if (w.begin >= 24 || w.end > 24) continue;  // only reached without the full check
        if (w.begin < w.end) {
            rest.push_back(toPeriod(w, w.begin, w.end));
        } else {
            if (w.end > 0) early.push_back(toPeriod(w, 0, w.end));
            rest.push_back(toPeriod(w, w.begin, 24));
        }
    }
    early.insert(early.end(), rest.begin(), rest.end());
    if (early.size() > static_cast<size_t>(kMaxPeriods)) {
        if (full) return false;
        early.resize(kMaxPeriods);
    }
    out = Program{};
    for (const Period& p : early) out.periods[out.count++] = p;
    return true;
}

// What the programs file would make of the record after a restart.
void keepLoadable(Schedule& s, int32_t waterMin, int32_t waterMax) {
    for (Program& prog : s.programs) {
        for (int i = 0; i < prog.count; ++i) {
            Period& p = prog.periods[i];
            p.airTarget = std::clamp(p.airTarget, 5, 35);
            if (waterMin <= waterMax) p.waterTarget = std::clamp(p.waterTarget, waterMin, waterMax);
            if (!p.useAir && !p.useWater) p.useWater = 1;
        }
    }
    sortPrograms(s);
    for (Program& prog : s.programs)
        if (!validateProgram(prog)) prog.count = 0;
}

}  // namespace

std::vector<uint8_t> encodeThermostatBlock(const Schedule& s) {
    std::vector<uint8_t> out{1, static_cast<uint8_t>(s.enabled ? 1 : 0)};
    for (const Program& prog : s.programs) {
        const int count = std::clamp<int32_t>(prog.count, 0, kMaxPeriods);
        out.push_back(static_cast<uint8_t>(count));
        for (int i = 0; i < count; ++i) {
            const Period& p = prog.periods[i];
            uint8_t flags = 0;
            if (p.useAir) flags |= kPeriodUseAir;
            if (p.useWater) flags |= kPeriodUseWater;
            if (p.pause) flags |= kPeriodPause;
            out.insert(out.end(), {static_cast<uint8_t>(p.begin), static_cast<uint8_t>(p.end), flags,
                                   static_cast<uint8_t>(p.airTarget), static_cast<uint8_t>(p.waterTarget)});
        }
    }
    for (int32_t d : s.dayProgram) out.push_back(static_cast<uint8_t>(d));
    return out;
}

bool decodeThermostatBlock(const uint8_t* data, size_t n, Schedule& out) {
    if (!data || n < 2 || data[0] != 1) return false;
    out = Schedule{};
    out.enabled = data[1] ? 1 : 0;
    size_t at = 2;
    for (Program& prog : out.programs) {
        if (at >= n) return false;
        const size_t count = data[at++];
        if (count > static_cast<size_t>(kMaxPeriods) || n - at < count * kPeriodBytes) return false;
        for (size_t i = 0; i < count; ++i, at += kPeriodBytes) {
            const WirePeriod w{data[at], data[at + 1], data[at + 2], data[at + 3], data[at + 4]};
            prog.periods[prog.count++] = toPeriod(w, w.begin, w.end);
        }
    }
    if (n - at < static_cast<size_t>(kScheduleDays)) return false;
    for (int d = 0; d < kScheduleDays; ++d) out.dayProgram[d] = data[at + d];
    return true;
}

bool parseThermostatBlock(const uint8_t* data, size_t n, int32_t waterMin, int32_t waterMax, ThermostatCheck check,
                          ThermostatRequest& out) {
    const bool full = check == ThermostatCheck::Full;
    if (!data || n < 2 || data[0] != 1) return false;
    out = ThermostatRequest{};
    if (data[1] == 0) {
        out.disableOnly = true;
        return true;
    }
    size_t at = 2;
    Schedule& s = out.schedule;
    s.enabled = 1;
    for (Program& prog : s.programs) {
        if (at >= n) return false;
        const size_t count = data[at++];
        if (count > static_cast<size_t>(kMaxPeriods) || n - at < count * kPeriodBytes) return false;
        std::vector<WirePeriod> periods;
        for (size_t i = 0; i < count; ++i, at += kPeriodBytes)
            periods.push_back({data[at], data[at + 1], data[at + 2], data[at + 3], data[at + 4]});
        if (full && !periodsValid(periods, waterMin, waterMax)) return false;
        if (!storeProgram(periods, full, prog)) return false;
    }
    if (n - at < static_cast<size_t>(kScheduleDays)) return false;
    for (int d = 0; d < kScheduleDays; ++d) {
        const uint8_t program = data[at + d];
        if (full && program > kNoProgram) return false;
        s.dayProgram[d] = std::min<int32_t>(program, kNoProgram);
    }
    keepLoadable(s, waterMin, waterMax);
    return true;
}

}  // namespace vesk
