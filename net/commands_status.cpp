// Commands that read the boiler, set the clock, start or stop the burner and
// reset the fuel counters.
#include <mutex>

#include "net/commands_common.h"
#include "platform/clock.h"
#include "settings/schedule.h"

namespace vesk {
namespace {

// What the system's clock would refuse: fields outside their range or a
// day the month does not have.
bool validLocalTime(const LocalTime& t) {
    if (t.second > 59 || t.minute > 59 || t.hour > 23 || t.month < 1 || t.month > 12 || t.day < 1) return false;
    const LocalTime back = fromEpochSeconds(toEpochSeconds(t));
    return back.day == t.day && back.month == t.month && back.year == t.year;
}

}  // namespace

CommandReply getDeviceInfo(CommandContext& c, const uint8_t*, size_t) {
    if (!c.replyWanted) return done();
    ControllerState& s = c.state();
    std::lock_guard<std::recursive_mutex> g(s.stateLock);
    std::vector<uint8_t> r;
    if (isKestralo(s.variant)) {
        r.push_back(static_cast<uint8_t>(s.svc.BOILER_TYPE));
        appendU16(r, static_cast<uint16_t>(s.svc.POWER));
        r.insert(r.end(), {23, 4});
        appendU16(r, s.boardVersion);
    } else {
        r.push_back(0);
        appendU16(r, static_cast<uint16_t>(s.svc.POWER));
        r.insert(r.end(), {17, 4});
        appendU16(r, static_cast<uint16_t>(s.boardVersion >> 4));
    }
    return replyWith(std::move(r));
}

CommandReply getStatus(CommandContext& c, const uint8_t*, size_t) {
    if (!c.replyWanted) return done();
    int enabled;
    {
        std::lock_guard<std::mutex> g(c.services.schedule.scheduleLock);
        enabled = c.services.schedule.schedule.enabled;
    }
    FuelReadout fuel;
    if (!isKestralo(c.variant()) && c.services.readFuel) fuel = c.services.readFuel();
    ControllerState& s = c.state();
    std::lock_guard<std::recursive_mutex> g(s.stateLock);
    return replyWith(buildStatusRecord(s, enabled, fuel));
}

CommandReply resetFuelCounters(CommandContext& c, const uint8_t* d, size_t) {
    const uint16_t mask = getU16(d);
    if (mask && c.services.resetFuelCounters) c.services.resetFuelCounters(mask & 0x7);
    c.refresh();
    return done();
}

CommandReply setClock(CommandContext& c, const uint8_t* d, size_t) {
    LocalTime t;
    t.second = d[0];
    t.minute = d[1];
    t.hour = d[2];
    t.day = d[3];
    t.month = d[4];
    t.year = static_cast<uint16_t>(2000 + d[5]);
    if (!validLocalTime(t)) return refused();
    t.dayOfWeek = fromEpochSeconds(toEpochSeconds(t)).dayOfWeek;
    c.services.clock.setLocalTime(t);
    c.refresh();
    return done();
}

// Whether or not the burner moved, the request was taken.
CommandReply startStop(CommandContext& c, const uint8_t* d, size_t) {
    const bool start = getU16(d) != 0;
    if (c.services.commandBurner) c.services.commandBurner(start ? 5 : 6);
    c.refresh();
    return done();
}

CommandReply getProtocolVersion(CommandContext& c, const uint8_t*, size_t) {
    if (!c.replyWanted) return done();
    std::vector<uint8_t> r;
    appendU16(r, 2);
    return replyWith(std::move(r));
}

}  // namespace vesk
