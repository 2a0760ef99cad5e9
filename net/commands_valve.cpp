// SetValveCircuit: one mixing valve's mode, sources, curve and drive timing.
#include "net/commands_common.h"

namespace vesk {
namespace {

struct CurvePoints {
    int32_t watLow, airLow, watHigh, airHigh;
};

CurvePoints curveAt(const uint8_t* d) { return {d[0], s8(d[1]), d[2], s8(d[3])}; }

bool curveValid(const CurvePoints& p, int32_t waterMax) {
    auto air = [](int32_t v) { return v >= -50 && v <= 25; };
    auto water = [&](int32_t v) { return v >= 20 && v <= waterMax; };
    return air(p.airLow) && air(p.airHigh) && water(p.watLow) && water(p.watHigh) && p.watLow < p.watHigh &&
           p.airHigh < p.airLow;
}

// Keys of circuit 0; circuit 1's rules are the same.
bool timingAccepted(const ControllerState& s, int32_t step, int32_t interval, int32_t open) {
    return keyAccepts(s, "VLV1_STEP", step) && keyAccepts(s, "VLV1_INT", interval) && keyAccepts(s, "VLV1_TOPEN", open);
}

}  // namespace

CommandReply setValveCircuit(CommandContext& c, const uint8_t* d, size_t) {
    const int circuit = d[0];
    const int mode = d[1];
    bool useWater = d[2] & 1;
    const bool useAir = d[2] & 2;
    const bool useCurve = d[2] & 4;
    const int32_t water = d[3], air = d[4];
    const CurvePoints floor = curveAt(d + 5);
    const CurvePoints radiator = curveAt(d + 9);
    const int32_t step = d[13], interval = getU16(d + 14), open = getU16(d + 16);

    return editUserSettings(c, SaveWhen::IfChanged, [&](const ControllerState& s, UserParams& u) {
        if (circuit >= 2 || mode >= 3) return false;
        const bool regulating = mode == 1 || mode == 2;
        if (regulating) {
            const int32_t waterMax = mode == 1 ? 60 : s.usr.TWAT_UST_LIMIT_MAX;
            if (!(useWater || useAir || useCurve)) return false;
            if (useAir && !keyAccepts(s, "VLV1_AIR", air)) return false;
            if (!timingAccepted(s, step, interval, open)) return false;
            if (!useWater && !useCurve) return false;
            if (useWater && !useCurve && (water < 20 || water > waterMax)) return false;
            if (useCurve && !curveValid(mode == 1 ? floor : radiator, waterMax)) return false;
            if (useCurve) useWater = false;
        }

        ValveParams& v = circuit == 0 ? u.VLV1 : u.VLV2;
        v.MODE = mode;
        v.USEWATER = useWater;
        v.USEAIR = useAir;
        v.USEWH = useCurve;
        if (useCurve && regulating) {
            const CurvePoints& p = mode == 1 ? floor : radiator;
            int32_t& watLow = mode == 1 ? v.WATL_FL : v.WATL_CH;
            int32_t& airLow = mode == 1 ? v.AIRL_FL : v.AIRL_CH;
            int32_t& watHigh = mode == 1 ? v.WATH_FL : v.WATH_CH;
            int32_t& airHigh = mode == 1 ? v.AIRH_FL : v.AIRH_CH;
            watLow = p.watLow;
            airLow = p.airLow;
            watHigh = p.watHigh;
            airHigh = p.airHigh;
        }
        const bool timingDiffers = (useWater && water != v.WATER) || (useAir && air != v.AIR) || step != v.STEP ||
                                   interval != v.INT || open != v.TOPEN;
        if (timingDiffers) {
            // A value the request did not have to pass (a switched-off
            // valve's timing, the room target without the room source) is
            // stored only within its key's limits.
            v.WATER = water;
            if (keyAccepts(s, "VLV1_AIR", air)) v.AIR = air;
            if (keyAccepts(s, "VLV1_STEP", step)) v.STEP = step;
            if (keyAccepts(s, "VLV1_INT", interval)) v.INT = interval;
            if (keyAccepts(s, "VLV1_TOPEN", open)) v.TOPEN = open;
        }
        return true;
    });
}

}  // namespace vesk
