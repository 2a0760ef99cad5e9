// Commands that change user settings: set-points, per-fuel corrections,
// weather curve, pumps, recirculation, exhaust fan, ash remover, bunker and
// sensor corrections.
#include <algorithm>
#include <cstdlib>

#include "net/commands_common.h"

namespace vesk {
namespace {

bool inRange(int32_t v, int32_t lo, int32_t hi) { return v >= lo && v <= hi; }
bool isFlag(int32_t v) { return v == 0 || v == 1; }
int fuelInForce(const ControllerState& s) { return std::clamp(s.usr.FUEL, 0, kFuelCount - 1); }

}  // namespace

CommandReply setPowerLimits(CommandContext& c, const uint8_t* d, size_t) {
    return editUserSettings(c, SaveWhen::Always, [&](const ControllerState& s, UserParams& u) {
        if (!keyAccepts(s, "POW_UST_MIN", d[0]) || !keyAccepts(s, "POW_UST", d[1])) return false;
        u.POW_UST_MIN = d[0];
        u.POW_UST = d[1];
        return true;
    });
}

CommandReply setWaterSetpoint(CommandContext& c, const uint8_t* d, size_t) {
    const int32_t v = getU16(d);
    return editUserSettings(c, SaveWhen::Always, [&](const ControllerState& s, UserParams& u) {
        if (!inRange(v, s.usr.TWAT_UST_LIMIT_MIN, s.usr.TWAT_UST_LIMIT_MAX)) return false;
        u.TWAT_UST = v;
        return true;
    });
}

CommandReply setAirSetpoint(CommandContext& c, const uint8_t* d, size_t) {
    const int32_t v = getU16(d);
    return editUserSettings(c, SaveWhen::Always, [&](const ControllerState& s, UserParams& u) {
        if (!keyAccepts(s, "TAIR_UST", v)) return false;
        u.TAIR_UST = v;
        return true;
    });
}

// The fan minimum is bounded by the service minimum of the fuel in force,
// whichever fuel's entry the request names.
CommandReply setFanLimits(CommandContext& c, const uint8_t* d, size_t) {
    const int index = d[0];
    return editUserSettings(c, SaveWhen::Always, [&](const ControllerState& s, UserParams& u) {
        if (index >= kFuelCount) return false;
        const int32_t m = s.svc.FAN_MIN[fuelInForce(s)];
        if (!inRange(d[1], m, m + 4) || !keyAccepts(s, "FAN_MAX", d[2])) return false;
        u.FAN_MIN[index] = d[1];
        u.FAN_MAX[index] = d[2];
        return true;
    });
}

CommandReply setAugerCorrection(CommandContext& c, const uint8_t* d, size_t) {
    const int index = d[0];
    const int32_t v = s8(d[1]);
    return editUserSettings(c, SaveWhen::Always, [&](const ControllerState& s, UserParams& u) {
        if (index >= kFuelCount || !keyAccepts(s, "WORM_CORR", v)) return false;
        u.WORM_CORR[index] = v;
        return true;
    });
}

CommandReply setConsumptionCorrection(CommandContext& c, const uint8_t* d, size_t) {
    const int index = d[0];
    const int32_t v = s8(d[1]);
    return editUserSettings(c, SaveWhen::Always, [&](const ControllerState& s, UserParams& u) {
        if (index >= kFuelCount || !keyAccepts(s, "CONS_CORR", v)) return false;
        u.CONS_CORR[index] = v;
        return true;
    });
}

// SMS control belongs to the expansion module and is kept beside the user
// settings; the other two are user settings.
CommandReply setSmsOptions(CommandContext& c, const uint8_t* d, size_t) {
    ControllerState& s = c.state();
    std::lock_guard<std::recursive_mutex> g(s.stateLock);
    if (!isFlag(d[0]) || !keyAccepts(s, "USE_LTWATW", d[1]) || !keyAccepts(s, "LOW_TWATW", d[2])) return refused();
    s.smsControlEnable = d[0];
    s.usr.USE_LTWATW = d[1];
    s.usr.LOW_TWATW = d[2];
    saveUserFile(c.services);
    c.refresh();
    return done();
}

CommandReply setWeatherCurve(CommandContext& c, const uint8_t* d, size_t) {
    const int32_t use = d[0], watLow = d[1], airLow = s8(d[2]), wat = d[3], air = s8(d[4]);
    return editUserSettings(c, SaveWhen::Always, [&](const ControllerState& s, UserParams& u) {
        if (!isFlag(use) || watLow < 20 || airLow > 25 || air < -50) return false;
        if (!inRange(wat, s.usr.TWAT_UST_LIMIT_MIN, s.usr.TWAT_UST_LIMIT_MAX)) return false;
        if (watLow >= wat || air >= airLow) return false;
        u.USE_WHETHER = use;
        u.WHETH_WAT_LOW = watLow;
        u.WHETH_AIR_LOW = airLow;
        u.WHETH_WAT = wat;
        u.WHETH_AIR = air;
        return true;
    });
}

CommandReply setFuelAndHeatMode(CommandContext& c, const uint8_t* d, size_t) {
    return editUserSettings(c, SaveWhen::IfChanged, [&](const ControllerState& s, UserParams& u) {
        if (!keyAccepts(s, "FUEL", d[0]) || !keyAccepts(s, "HEAT_MODE", d[1]) || !keyAccepts(s, "USE_HYDROSEP", d[2]))
            return false;
        u.FUEL = d[0];
        u.HEAT_MODE = d[1];
        u.USE_HYDROSEP = d[2];
        return true;
    });
}

CommandReply setKeepAndChimney(CommandContext& c, const uint8_t* d, size_t) {
    const int index = d[0];
    const int32_t keep = s8(d[1]);
    return editUserSettings(c, SaveWhen::IfChanged, [&](const ControllerState& s, UserParams& u) {
        if (index >= kFuelCount || !inRange(keep, -20, 20)) return false;
        if (!keyAccepts(s, "CHIMN_TOFF", d[2]) || !keyAccepts(s, "CHIMN_TON", d[3])) return false;
        u.KEEP_WORM_CORR[index] = keep;
        u.CHIMN_TOFF = d[2];
        u.CHIMN_TON = d[3];
        return true;
    });
}

CommandReply setPumps(CommandContext& c, const uint8_t* d, size_t) {
    return editUserSettings(c, SaveWhen::IfChanged, [&](const ControllerState& s, UserParams& u) {
        const int32_t dhwMax = isKestralo(s.variant) ? s.usr.DHW_OPT_UST_MAX : 80;
        if (!keyAccepts(s, "PUMPS_IDLE_MODE", d[0]) || !keyAccepts(s, "TPUMPS_ON", d[1]) ||
            !keyAccepts(s, "TPUMPS_ON_HSEP", d[2]) || !inRange(d[3], 30, dhwMax))
            return false;
        u.PUMPS_IDLE_MODE = d[0];
        u.TPUMPS_ON = d[1];
        u.TPUMPS_ON_HSEP = d[2];
        u.TDHW_UST = d[3];
        return true;
    });
}

CommandReply setRecirculation(CommandContext& c, const uint8_t* d, size_t) {
    const int32_t use = d[0], on = d[1], off = d[2], hsepOn = d[3], hsepOff = d[4];
    return editUserSettings(c, SaveWhen::IfChanged, [&](const ControllerState&, UserParams& u) {
        if (!isFlag(use) || on < 40 || off > 90 || off <= on) return false;
        if (hsepOn > 70 || hsepOff < 30 || hsepOn < hsepOff + 5) return false;
        u.USE_RECIRC = use;
        u.TRECIRC_ON = on;
        u.TRECIRC_OFF = off;
        u.TRC_HSEP_ON = hsepOn;
        u.TRC_HSEP_OFF = hsepOff;
        return true;
    });
}

CommandReply setExhaustFan(CommandContext& c, const uint8_t* d, size_t) {
    return editUserSettings(c, SaveWhen::IfChanged, [&](const ControllerState& s, UserParams& u) {
        if (!keyAccepts(s, "EXFAN_MODE", d[0]) || !keyAccepts(s, "EXFAN_UST", d[1])) return false;
        u.EXFAN_MODE = d[0];
        u.EXFAN_UST = d[1];
        return true;
    });
}

// USE_ASH is a switch: anything but 0 or 1 is refused rather than stored.
CommandReply setAshCleaning(CommandContext& c, const uint8_t* d, size_t) {
    return editUserSettings(c, SaveWhen::IfChanged, [&](const ControllerState& s, UserParams& u) {
        if (!isFlag(d[0]) || !keyAccepts(s, "ASH_TIME_ON", d[1]) || !keyAccepts(s, "ASH_TIME_OFF", d[2]))
            return false;
        u.USE_ASH = d[0];
        u.ASH_TIME_ON = d[1];
        u.ASH_TIME_OFF = d[2];
        return true;
    });
}

// Flags: bit 0 the bunker-empty sensor, bit 1 the bunker-full sensor, as
// in the status record. With the empty sensor off the other bunker
// settings are left alone.
CommandReply setBunker(CommandContext& c, const uint8_t* d, size_t) {
    const int flags = d[0];
    const int32_t autofill = d[1];
    const int32_t timeout = getU16(d + 2);
    return editUserSettings(c, SaveWhen::IfChanged, [&](const ControllerState& s, UserParams& u) {
        if (!keyAccepts(s, "BUNK_TOUT", timeout)) return false;
        if (!(flags & 1)) {
            u.USE_EMPTY_SENS = 0;
            return true;
        }
        if (!isFlag(autofill)) return false;
        u.USE_EMPTY_SENS = 1;
        u.USE_FULL_SENS = (flags >> 1) & 1;
        u.BUNK_AUTOFILL = autofill;
        u.BUNK_TOUT = timeout;
        return true;
    });
}

CommandReply setSensorCorrections(CommandContext& c, const uint8_t* d, size_t) {
    const int32_t air = s8(d[0]), outdoor = s8(d[1]), valveAir = s8(d[2]);
    return editUserSettings(c, SaveWhen::IfChanged, [&](const ControllerState& s, UserParams& u) {
        // KESTRALO takes the key's whole range; ORVENA stays strictly inside the service limit.
        const int32_t limit = s.svc.MAX_TSENS_CORR;
        auto ok = [&](int32_t v) { return isKestralo(s.variant) ? std::abs(v) <= 10 * limit : std::abs(v) < limit; };
        if (!ok(air) || !ok(outdoor) || !ok(valveAir)) return false;
        u.TAIR_CORR = air;
        u.TOAIR_CORR = outdoor;
        u.TVAIR_CORR = valveAir;
        return true;
    });
}

}  // namespace vesk
