// Reading frames of the five board firmwares.
#include "board/reading_frame.h"

#include "board/command_frame.h"

namespace vesk {

namespace {

enum class Unit { Whole, Quarter, Counts };

struct ReadingLayout {
    uint16_t version;
    Unit unit;
    int sensorAt[kSensorCount];  // byte offset of each reading, -1 when absent
    int inputsAt;
    int faultBitsAt;             // inverter overheat and auger jam, -1 when in the inputs byte
    int adcScaleAt;
    size_t size;                 // payload bytes the layout reads
};

// Offsets by sensor index: air, outdoor, water, return, gas, heating circuit,
// DHW, valve 1, valve air, valve 2, board reference, auxiliary.
constexpr ReadingLayout kLayouts[] = {
    {kFirmware1000, Unit::Whole, {7, 9, 5, 11, 3, 15, 17, 19, 21, 23, 13, -1}, 2, -1, -1, 25},
    {kFirmware1100, Unit::Quarter, {7, 9, 5, 11, 3, 15, 17, 19, 21, 23, 13, -1}, 2, -1, -1, 25},
    {kFirmware2200, Unit::Quarter, {2, 8, 18, 4, 24, 10, 6, 14, 12, 16, 22, 20}, 26, -1, -1, 27},
    {kFirmware2214, Unit::Quarter, {2, 8, 18, 4, 24, 10, 6, 14, 12, 16, 22, 20}, 30, 64, -1, 65},
    // 0x2215 reports the valve air sensor in the outdoor bytes.
    {kFirmware2215, Unit::Counts, {2, 8, 18, 4, 24, 10, 6, 14, 8, 16, 22, 20}, 32, 66, 26, 67},
};

const ReadingLayout* layoutFor(uint16_t version) {
    for (const auto& l : kLayouts)
        if (l.version == version) return &l;
    return nullptr;
}

int correctionFor(const UserParams& u, int index) {
    switch (index) {
    case kSensorAir: return u.TAIR_CORR;
    case kSensorOutdoor: return u.TOAIR_CORR;
    case kSensorWater: return u.TWAT_CORR;
    case kSensorReturn: return u.USER_TBWAT_CORR;
    case kSensorGas: return u.TGAS_CORR;
    case kSensorCh: return u.USER_TCH_CORR;
    case kSensorDhw: return u.USER_TDHW_CORR;
    case kSensorValve1: return u.USER_VWAT1_CORR;
    case kSensorValveAir: return u.TVAIR_CORR;
    case kSensorValve2: return u.USER_VWAT2_CORR;
    default: return 0;  // board reference and auxiliary are never corrected
    }
}

int s16(const uint8_t* p, int at) { return static_cast<int16_t>(p[at] | (p[at + 1] << 8)); }
unsigned u16(const uint8_t* p, int at) { return static_cast<unsigned>(p[at] | (p[at + 1] << 8)); }
int16_t q16(int v) { return static_cast<int16_t>(v); }

void storeWhole(ControllerState& s, const ReadingLayout& l, const uint8_t* p) {
    for (int i = 0; i < kSensorCount; ++i) {
        if (l.sensorAt[i] < 0) continue;
        const int raw = s16(p, l.sensorAt[i]);
        s.sensors[i] = isValidTemp(raw) ? raw + correctionFor(s.usr, i) : raw;
    }
    const int air = s.sensors[kSensorAir];
    const int water = s.sensors[kSensorWater];
    s.airQ = q16(isValidTemp(air) ? 4 * air : air);
    // A failed water reading keeps its error code: four times a code would
    // wrap to a plausible temperature in 16 bits.
    s.waterQ = q16(isValidTemp(water) ? 4 * water : water);
}

void storeQuarter(ControllerState& s, const ReadingLayout& l, const uint8_t* p) {
    for (int i = 0; i < kSensorCount; ++i) {
        if (l.sensorAt[i] < 0) continue;
        const int raw = s16(p, l.sensorAt[i]);
        if (!isValidTemp(raw))
            s.sensors[i] = raw;
        else if (i == kSensorGas)
            s.sensors[i] = raw + s.usr.TGAS_CORR;  // the flue gas comes in whole degrees
        else
            s.sensors[i] = quarterToWhole(raw) + correctionFor(s.usr, i);
    }
    const int rawAir = s16(p, l.sensorAt[kSensorAir]);
    const int rawWater = s16(p, l.sensorAt[kSensorWater]);
    s.airQ = q16(isValidTemp(rawAir) ? rawAir + 4 * s.usr.TAIR_CORR : rawAir);
    s.waterQ = q16(rawWater + (isValidTemp(s.sensors[kSensorWater]) ? 4 * s.usr.TWAT_CORR : 0));
}

// Tenths to quarter degrees, toward zero.
int tenthsToQuarter(int tenths) { return tenths * 2 / 5; }

void storeCounts(ControllerState& s, const ReadingLayout& l, const uint8_t* p) {
    s.adcScale = static_cast<float>(u16(p, l.adcScaleAt)) * 4.8828126e-05f;
    // The reference first: the thermocouple sits on it.
    const int order[kSensorCount] = {kSensorBoardRef, 0, 1, 2, 3, 5, 6, 7, 8, 9, 11, kSensorGas};
    for (int i : order) {
        const int counts = s16(p, l.sensorAt[i]);
        int v = i == kSensorGas ? thermocoupleCelsius(counts, s.readSensor(kSensorBoardRef))
                                : countsToTenths(counts, s.adcScale);
        // Corrections are kept in the board's unit: tenths here, except
        // the flue gas, which is always whole degrees.
        if (isValidTemp(v)) v += correctionFor(s.usr, i);
        s.sensors[i] = v;
    }
    // airQ and waterQ stay in quarter degrees with every firmware, so the
    // regulators need no second unit.
    const int air = s.sensors[kSensorAir];
    const int water = s.sensors[kSensorWater];
    s.airQ = q16(isValidTemp(air) ? tenthsToQuarter(air) : air);
    s.waterQ = q16(isValidTemp(water) ? tenthsToQuarter(water) : water);
}

void applySubstitution(ControllerState& s, Variant variant) {
    if (s.substAuger >= 0) s.sensors[kSensorValve2] = s.substAuger;
    if (s.substOn != 1) return;
    if (s.substGas >= 0) s.sensors[kSensorGas] = s.substGas;
    if (s.substWater >= 0) {
        s.sensors[kSensorWater] = s.substWater;
        // The value is in the board's unit, like the readings it replaces.
        s.waterQ = q16(s.boardVersion == kFirmware2215 ? tenthsToQuarter(s.substWater) : 4 * s.substWater);
    }
    if (s.substDhw >= 0) s.sensors[isKestralo(variant) ? kSensorReturn : kSensorDhw] = s.substDhw;
}

}  // namespace

int quarterToWhole(int raw) { return raw >= 0 ? (raw + 2) / 4 : -((2 - raw) / 4); }

int countsToTenths(int counts, float adcScale) {
    if (counts <= 0 || counts >= 4095) return kInvalidTemp;
    const float kelvin = static_cast<float>(counts) * adcScale;
    return static_cast<int>((kelvin - 273.15) * 10);
}

int thermocoupleCelsius(int counts, int refC) {
    if (!isValidTemp(refC)) return refC;
    const float v = static_cast<float>(counts) * 0.0040531158f;
    if (v < -3.554f || v > 54.886f) return kSensorAbsent;
    float t;
    if (v < 0.0f)
        t = 25.07386f * v - 0.0266435f - 0.7368674f * v * v;
    else if (v < 20.644f)
        t = 24.963146f * v - 10.552915f - 0.0337890f * v * v;
    else
        t = 19.433937f * v + 66.969429f + 0.0776045f * v * v;
    const int result = static_cast<int16_t>(static_cast<int>(t) + refC);
    if (result < -500 || result > 4000) return kSensorAbsent;
    return result;
}

size_t readingPayloadSize(uint16_t version) {
    const ReadingLayout* l = layoutFor(version);
    return l ? l->size : 0;
}

bool applyReadingFrame(ControllerState& s, Variant variant, const uint8_t* payload, size_t n) {
    if (n < 2) return false;
    const uint16_t version = static_cast<uint16_t>(u16(payload, 0));
    s.boardVersion = version;
    s.boardVersionCopy = version;
    const ReadingLayout* l = layoutFor(version);
    // A frame cut short would leave half of its readings stale; keep all of
    // the last good frame's instead.
    if (!l || n < l->size) return false;

    s.linkOk = 1;
    switch (l->unit) {
    case Unit::Whole: storeWhole(s, *l, payload); break;
    case Unit::Quarter: storeQuarter(s, *l, payload); break;
    case Unit::Counts: storeCounts(s, *l, payload); break;
    }
    uint8_t inputs = payload[l->inputsAt];
    if (l->faultBitsAt >= 0)
        inputs = static_cast<uint8_t>((inputs & ~(kInInverterOverheat | kInAugerJam)) |
                                      ((payload[l->faultBitsAt] & 0x03) << 5));
    s.boardInputs = inputs;
    // These boards drive no second valve.
    if (version == kFirmware2200 || version == kFirmware2214 || version == kFirmware2215) s.usr.VLV2.MODE = 0;

    applySubstitution(s, variant);
    if (s.usr.GAS_TEMP_SENSOR_ENABLE == 0) s.sensors[kSensorGas] = 150;
    return true;
}

}  // namespace vesk
