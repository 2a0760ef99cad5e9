// Reading and replacing the thermostat programs.
#include <mutex>

#include "net/commands_common.h"
#include "net/thermostat_block.h"
#include "settings/schedule.h"

namespace vesk {

CommandReply getThermostatPrograms(CommandContext& c, const uint8_t*, size_t) {
    if (!c.replyWanted) return done();
    std::lock_guard<std::mutex> g(c.services.schedule.scheduleLock);
    return replyWith(encodeThermostatBlock(c.services.schedule.schedule));
}

CommandReply setThermostatPrograms(CommandContext& c, const uint8_t* d, size_t n) {
    int32_t waterMin, waterMax;
    {
        ControllerState& s = c.state();
        std::lock_guard<std::recursive_mutex> g(s.stateLock);
        waterMin = s.usr.TWAT_UST_LIMIT_MIN;
        waterMax = s.usr.TWAT_UST_LIMIT_MAX;
    }
    const ThermostatCheck check = c.options.thermostatStructureOnly ? ThermostatCheck::StructureOnly : ThermostatCheck::Full;
    ThermostatRequest request;
    if (!parseThermostatBlock(d, n, waterMin, waterMax, check, request)) return refused();

    ScheduleStore& store = c.services.schedule;
    {
        std::lock_guard<std::mutex> g(store.scheduleLock);
        if (request.disableOnly)
            store.schedule.enabled = 0;
        else
            store.schedule = request.schedule;
    }
    saveScheduleFile(c.services);
    c.refresh();
    return done();
}

}  // namespace vesk
