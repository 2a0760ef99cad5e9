// Status words, the status records of both variants and the notification.
#include "net/status_record.h"

#include <algorithm>

#include "core/controller_state.h"
#include "net/message.h"

namespace vesk {
namespace {

uint16_t bit(uint32_t word, int from, int to) { return static_cast<uint16_t>(((word >> from) & 1u) << to); }

bool bunkerEmptyInput(const ControllerState& s) {
    return s.boardInputs & (isKestralo(s.variant) ? kInBunkerFull : kInBunkerEmpty);
}

// KESTRALO has no USE_EMPTY_SENS; its bunker-empty sensor is switched by
// BUNK_SENSOR_ENABLE, as for the bunker-empty sound.
bool emptySensorInUse(const ControllerState& s) {
    return isKestralo(s.variant) ? s.usr.BUNK_SENSOR_ENABLE == 1 : s.usr.USE_EMPTY_SENS == 1;
}

class RecordWriter {
public:
    explicit RecordWriter(size_t size) : bytes_(size, 0) {}
    void u8(size_t at, int32_t v) { bytes_.at(at) = static_cast<uint8_t>(v); }
    void u16(size_t at, uint32_t v) {
        u8(at, static_cast<int32_t>(v & 0xFF));
        u8(at + 1, static_cast<int32_t>((v >> 8) & 0xFF));
    }
    void u32(size_t at, uint32_t v) {
        u16(at, v & 0xFFFF);
        u16(at + 2, v >> 16);
    }
    // Consecutive one-byte values from `at` on.
    void bytes(size_t at, std::initializer_list<int32_t> values) {
        for (int32_t v : values) u8(at++, v);
    }
    std::vector<uint8_t> take() { return std::move(bytes_); }

private:
    std::vector<uint8_t> bytes_;
};

uint16_t saturate16(uint32_t v) { return static_cast<uint16_t>(std::min<uint32_t>(v, 0xFFFF)); }

// Readings 4 (raw), then 2, 0, 1, 3, 10, 5, 6, 7, 8, 9 through the
// firmware's unit, status words, power, state and the first settings.
void writeHead(RecordWriter& w, const ControllerState& s) {
    w.u8(0, 1);
    w.u16(1, static_cast<uint32_t>(s.sensors[kSensorGas]));
    static constexpr int kOrder[] = {kSensorWater,  kSensorAir, kSensorOutdoor, kSensorReturn,   kSensorBoardRef,
                                     kSensorCh,     kSensorDhw, kSensorValve1,  kSensorValveAir, kSensorValve2};
    size_t at = 3;
    for (int index : kOrder) {
        w.u16(at, static_cast<uint16_t>(static_cast<int16_t>(s.readSensor(index))));
        at += 2;
    }
    w.u16(23, statusWordA(s.faults));
    w.u16(25, statusWordB(s, WordBUse::Record));
    w.u8(27, std::clamp(s.burner.powerDisplay, 0, 100));
    w.u8(28, isKestralo(s.variant) ? s.reportedBurnerState : s.burnerState);
    const UserParams& u = s.usr;
    w.bytes(29, {u.BURN_MODE, u.FUEL, u.HEAT_MODE, u.USE_HYDROSEP, u.POW_UST_MIN, u.POW_UST, u.TWAT_UST, u.TAIR_UST});
    // The weather-compensated water target (255: none).
    w.u8(37, s.combustion.weatherTarget);
}

int fuelIndex(const ControllerState& s) { return std::clamp(s.usr.FUEL, 0, kFuelCount - 1); }

void writeServiceLimits(RecordWriter& w, size_t at, const ControllerState& s) {
    const ServiceParams& p = s.svc;
    w.bytes(at, {p.MAX_TSENS_CORR, p.WORM_CORR_MAX, p.POWER_MIN, p.FAN_MIN[fuelIndex(s)], p.FAN100});
}

void writePumpsAndWeather(RecordWriter& w, size_t at, const UserParams& u) {
    w.bytes(at, {u.PUMPS_IDLE_MODE, u.TPUMPS_ON, u.TPUMPS_ON_HSEP, u.TDHW_UST, u.USE_RECIRC, u.TRECIRC_ON,
                 u.TRECIRC_OFF, u.TRC_HSEP_ON, u.TRC_HSEP_OFF, u.EXFAN_MODE, u.EXFAN_UST, u.USE_WHETHER,
                 u.WHETH_WAT_LOW, u.WHETH_AIR_LOW, u.WHETH_WAT, u.WHETH_AIR});
}

void writeValve(RecordWriter& w, size_t at, const ValveParams& v) {
    const int flags = (v.USEWATER & 1) | (v.USEAIR & 1) << 1 | (v.USEWH & 1) << 2;
    w.bytes(at, {v.MODE, flags, v.WATER, v.AIR, v.WATL_FL, v.AIRL_FL, v.WATH_FL, v.AIRH_FL, v.WATL_CH, v.AIRL_CH,
                 v.WATH_CH, v.AIRH_CH, v.STEP});
    w.u16(at + 13, static_cast<uint32_t>(v.INT));
    w.u16(at + 15, static_cast<uint32_t>(v.TOPEN));
}

void writeTailSettings(RecordWriter& w, size_t at, const ControllerState& s, int fuels) {
    const UserParams& u = s.usr;
    w.bytes(at, {s.smsControlEnable, u.USE_LTWATW, u.LOW_TWATW});
    at += 3;
    for (int i = 0; i < fuels; ++i) w.u8(at++, u.KEEP_WORM_CORR[i]);
    w.bytes(at, {u.CHIMN_TOFF, u.CHIMN_TON, u.TAIR_CORR, u.TOAIR_CORR, u.TVAIR_CORR});
}

// Thermostat enable, the period in force and its targets.
void writeThermostat(RecordWriter& w, size_t at, const ControllerState& s, int enabled) {
    const Period& p = s.activePeriod;
    const bool active = s.scheduleActive != 0;
    int state = 0;
    if (active) state = 1 | (p.useAir & 1) << 1 | (p.useWater & 1) << 2 | (p.pause & 1) << 3;
    w.u8(at, enabled);
    w.u8(at + 1, state);
    w.u8(at + 2, active && p.useAir ? p.airTarget : 255);
    w.u8(at + 3, active ? p.waterTarget : 255);
}

// The curve targets the two mixing valves work to (255: none).
void writeValveTargets(RecordWriter& w, size_t at, const ControllerState& s) {
    w.bytes(at, {s.valves[0].curveTarget, s.valves[1].curveTarget});
}

uint16_t commonOutputs(const ControllerState& s) {
    uint16_t out = 0;
    if (s.pumpCh) out |= 0x001;
    if (s.pumpDhw) out |= 0x002;
    if (s.pumpLoop) out |= 0x004;
    out |= s.outputFlags & 0x078;  // valve drives
    if (s.augerOn) out |= 0x080;
    return out;
}

int bunkerLevel(const ControllerState& s, const FuelReadout& fuel) {
    if (s.usr.USE_FULL_SENS == 0) return 255;
    if ((s.boardInputs & kInBunkerEmpty) && s.usr.USE_EMPTY_SENS == 1) return 254;
    if (fuel.remainingPercent < 0) return 255;
    return std::min(fuel.remainingPercent, 253);
}

std::vector<uint8_t> orvenaRecord(const ControllerState& s, int thermostatEnabled, const FuelReadout& fuel) {
    RecordWriter w(kStatusRecordSizeOrvena);
    const UserParams& u = s.usr;
    writeHead(w, s);
    for (int i = 0; i < kFuelCount; ++i) {
        w.bytes(38 + 2 * i, {u.FAN_MIN[i], u.FAN_MAX[i]});
        w.u8(50 + i, u.WORM_CORR[i]);
        w.u8(56 + i, u.CONS_CORR[i]);
    }
    writeServiceLimits(w, 62, s);
    writePumpsAndWeather(w, 67, u);
    writeValve(w, 83, u.VLV1);
    writeValve(w, 100, u.VLV2);
    w.u8(117, (u.USE_EMPTY_SENS & 1) | (u.USE_FULL_SENS & 1) << 1);
    w.u8(118, u.BUNK_AUTOFILL);
    w.u16(119, static_cast<uint32_t>(u.BUNK_TOUT));
    writeTailSettings(w, 121, s, kFuelCount);

    uint16_t out = commonOutputs(s);
    out |= static_cast<uint16_t>((s.outputFlags & (kOutBunkerFiller | kOutAshRemover)) >> 1);
    if (s.controlFlags & kFlagIgniter) out |= 0x400;
    if (s.fanPower) out |= 0x800;
    if (s.exhaustFanPower) out |= 0x1000;
    w.u16(135, out);

    int flags = 0;
    if (s.boardInputs & kInBunkerEmpty) flags |= 0x01;
    if (s.boardInputs & kInBunkerFull) flags |= 0x02;
    if (s.controlFlags & 0x100) flags |= 0x04;
    if (s.expansionConnected) flags |= 0x08;
    if (s.pumps.legionActive) flags |= 0x10;  // anti-legionella window open
    if (s.controlFlags & 0x010) flags |= 0x20;
    if (s.svc.EMSTART_ENABLE) flags |= 0x40;
    w.u8(137, flags);

    w.u16(139, saturate16(fuel.last24hKg));
    w.u16(141, saturate16(fuel.lastWeekKg));
    w.u32(143, fuel.lastMonthKg);
    w.u32(147, fuel.ownKg);
    w.u32(151, fuel.totalKg);
    w.u8(155, bunkerLevel(s, fuel));
    writeThermostat(w, 156, s, thermostatEnabled);
    writeValveTargets(w, 160, s);
    w.bytes(162, {u.USE_ASH, u.ASH_TIME_ON, u.ASH_TIME_OFF});
    return w.take();
}

// Room for three fuels only: fuels 3..5 of the six-fuel models are not
// carried.
std::vector<uint8_t> kestraloRecord(const ControllerState& s, int thermostatEnabled) {
    constexpr int kFuels = 3;
    RecordWriter w(kStatusRecordSizeKestralo);
    const UserParams& u = s.usr;
    writeHead(w, s);
    for (int i = 0; i < kFuels; ++i) {
        w.bytes(38 + 2 * i, {u.FAN_MIN[i], u.FAN_MAX[i]});
        w.u8(44 + i, u.WORM_CORR[i]);
    }
    writeServiceLimits(w, 47, s);
    writePumpsAndWeather(w, 52, u);
    writeValve(w, 68, u.VLV1);
    writeValve(w, 85, u.VLV2);
    writeTailSettings(w, 102, s, kFuels);

    uint16_t out = commonOutputs(s);
    if (s.outputFlags & kOutAshRemover) out |= 0x200;
    if (s.fanPower) out |= 0x400;
    if (s.exhaustFanPower) out |= 0x800;
    w.u16(113, out);

    uint16_t flags = 0;
    if (s.controlFlags & kFlagDhwDemand) flags |= 0x1;
    if (s.pumps.legionActive) flags |= 0x2;  // anti-legionella window open
    if (s.pumps.frostLatch) flags |= 0x4;    // anti-freeze holding the pumps on
    if (s.controlFlags & 0x008) flags |= 0x8;
    w.u16(115, flags);
    writeThermostat(w, 117, s, thermostatEnabled);
    writeValveTargets(w, 121, s);
    return w.take();
}

}  // namespace

uint16_t statusWordA(uint32_t f) {
    uint16_t a = bit(f, 6, 0) | bit(f, 1, 1) | bit(f, 0, 3) | bit(f, 5, 4) | bit(f, 4, 5) | bit(f, 3, 6) | bit(f, 2, 7);
    a |= static_cast<uint16_t>(((f >> 7) & 0xF) << 8);
    return a;
}

uint16_t statusWordB(const ControllerState& s, WordBUse use) {
    const uint32_t w = s.warnings;
    uint16_t b = bit(w, 2, 0) | bit(w, 0, 1) | bit(w, 1, 2);
    b |= static_cast<uint16_t>(w & 0xF8);
    if (bunkerEmptyInput(s) && s.usr.BUNK_AUTOFILL == 0 && emptySensorInUse(s)) b |= 0x100;
    const bool fillFailed = use == WordBUse::Record ? (s.controlFlags & kFlagBunkerFillFailed) != 0 : (w & 0x100) != 0;
    if (fillFailed) b |= 0x200;
    return b;
}

uint32_t notificationStatus(const ControllerState& s) {
    return statusWordA(s.faults) | static_cast<uint32_t>(statusWordB(s, WordBUse::Notification)) << 16;
}

std::vector<uint8_t> buildStatusRecord(const ControllerState& s, int thermostatEnabled, const FuelReadout& fuel) {
    return isKestralo(s.variant) ? kestraloRecord(s, thermostatEnabled) : orvenaRecord(s, thermostatEnabled, fuel);
}

std::vector<uint8_t> makeStatusNotification(uint32_t status, const LocalTime& t) {
    uint8_t body[12] = {};
    putU32(body + 2, status);
    body[6] = static_cast<uint8_t>(t.second);
    body[7] = static_cast<uint8_t>(t.minute);
    body[8] = static_cast<uint8_t>(t.hour);
    body[9] = static_cast<uint8_t>(t.day);
    body[10] = static_cast<uint8_t>(t.month);
    body[11] = static_cast<uint8_t>(t.year - 2000);
    return makeMessage(kGroupCommand, kKindNotify, body, sizeof body);
}

}  // namespace vesk
