// Descriptor table of the service keys and the defaults, acceptance and
// normalisation built on it.
#include "settings/service_table.h"

#include <algorithm>

namespace vesk {
namespace {

using P = ServiceParams;

int32_t modelWormPeriod(const P&, const ModelRecord& r, int i) { return r.wormPeriod[i]; }
int32_t modelWorm100(const P&, const ModelRecord& r, int i) { return r.worm100[i]; }
int32_t modelFanMin(const P&, const ModelRecord& r, int i) { return r.fanMin[i]; }
int32_t blowupDefault(const P&, const ModelRecord&, int i) { return i == 2 ? 3 : 5; }
// TALVO runs hotter flue gas.
int32_t gasMaxDefault(const P& p, const ModelRecord&, int) { return p.BOILER_TYPE == 3 ? 310 : 260; }
int32_t gasCleanDefault(const P& p, const ModelRecord&, int) { return p.BOILER_TYPE == 3 ? 290 : 240; }

const ServiceKey kServiceKeys[] = {
    {"POWER", &P::POWER, modelPower(), 16, true},
    {"BOILER_TYPE", &P::BOILER_TYPE, range(0, 4), 0, true},
    {"SERIAL", &P::SERIAL, any(), 2},
    {"GAS_BURNUP", &P::GAS_BURNUP, range(0, 150), 45},
    {"FAN_BURNUP", &P::FAN_BURNUP, range(70, 90), 50},
    {"WORM_BURNUP", &P::WORM_BURNUP, range(0, 60), 30},
    {"BURNUP_TRY", &P::BURNUP_TRY, range(0, 5), 3},
    {"BURNUP_TOUT", &P::BURNUP_TOUT, range(1, 30), 3},
    {"GAS_KEEP", &P::GAS_KEEP, range(0, 500), 100},
    {"PRECHIMN_WORM", &P::PRECHIMN_WORM, range(0, 60), 10},
    {"WORM_PERIOD", &P::WORM_PERIOD, range(5, 3600), modelWormPeriod},
    {"WORM100", &P::WORM100, range(1, 9999), modelWorm100},
    {"FAN_MIN", &P::FAN_MIN, range(10, 40), modelFanMin},
    // Positions 3..5 keep what they hold.
    {"BLOWUP_TIME", &P::BLOWUP_TIME, range(0, 30), {blowupDefault, 3}},
    {"WORM_CORR_MAX", &P::WORM_CORR_MAX, atMost(50), 50},
    {"FAN100", &P::FAN100, range(70, 90), 80},
    {"AIR_HYST", &P::AIR_HYST, range(1, 10), 2},
    {"DHW_HYST", &P::DHW_HYST, range(1, 30), 5},
    {"GAS_MAX", &P::GAS_MAX, range(0, 500), gasMaxDefault},
    {"GAS_CLEAN", &P::GAS_CLEAN, range(0, 500), gasCleanDefault},
    {"PUMPS_TOUT", &P::PUMPS_TOUT, range(0, 30), 5},
    {"DHWFALL_TOUT", &P::DHWFALL_TOUT, range(0, 300), 30},
    {"MAX_TSENS_CORR", &P::MAX_TSENS_CORR, range(1, 50), 10},
    {"WORM_OVC_CUR", &P::WORM_OVC_CUR, range(5, 100), 30},
    {"WORM_OVC_TOUT", &P::WORM_OVC_TOUT, range(5, 25), 10},
    {"WORM_SPEED", &P::WORM_SPEED, atMost(2), 0},
    {"WORM_REV_TIME", &P::WORM_REV_TIME, range(1, 30), 4},
    {"WORM_FORW_TIME", &P::WORM_FORW_TIME, range(1, 30), 7},
    {"WORM_PAUSE_TIME", &P::WORM_PAUSE_TIME, range(1, 30), 2},
    {"SA_GAS_BURNUP", &P::SA_GAS_BURNUP, range(0, 150), 100},
    {"SA_FANBUP_MIN", &P::SA_FANBUP_MIN, range(0, 100), 40},
    {"SA_BUP_TIME", &P::SA_BUP_TIME, range(1, 90), 60},
    {"SA_BLOW_TIME", &P::SA_BLOW_TIME, range(1, 60), 20},
    {"SA_FADE_TIME", &P::SA_FADE_TIME, range(1, 60), 30},
    {"SA_GAS_LIM", &P::SA_GAS_LIM, range(0, 350), 240},
    {"SA_FAN_MIN", &P::SA_FAN_MIN, range(1, 20), 1},
    {"SA_WPID_KP", &P::SA_WPID_KP, atMost(200), 30},
    {"SA_WPID_KI", &P::SA_WPID_KI, atMost(200), 30},
    {"SA_WPID_KD", &P::SA_WPID_KD, atMost(200), 30},
    {"WPID_KP", &P::WPID_KP, atMost(200), 30},
    {"WPID_KI", &P::WPID_KI, atMost(200), 30},
    {"WPID_KD", &P::WPID_KD, atMost(200), 30},
    {"GPID_KP", &P::GPID_KP, atMost(200), 30},
    {"GPID_KI", &P::GPID_KI, atMost(200), 30},
    {"GPID_KD", &P::GPID_KD, atMost(200), 30},
    {"APID_KP", &P::APID_KP, atMost(200), 30},
    {"APID_KI", &P::APID_KI, atMost(200), 30},
    {"APID_KD", &P::APID_KD, atMost(200), 30},
    {"POWER_MIN", &P::POWER_MIN, range(10, 30), 15},
    {"EMSTART_TEMP", &P::EMSTART_TEMP, range(50, 100), 75},
    {"EMSTART_DELTA", &P::EMSTART_DELTA, range(1, 5), 1},
    {"EMSTART_TIMEON", &P::EMSTART_TIMEON, range(1, 999), 90},
    {"EMSTART_TIMEOFF", &P::EMSTART_TIMEOFF, range(1, 10), 5},
    {"EMSTART_ENABLE", &P::EMSTART_ENABLE, flag(), 1},
    {"TESTVAL_1", &P::TESTVAL_1, any(), -1},
};

// The record the defaults come from: the type's record of this power, else
// the type's first record, else the first record of type 0.
const ModelRecord& defaultsRecord(const P& p) {
    if (const ModelRecord* r = findModelRecord(p.BOILER_TYPE, p.POWER)) return *r;
    auto table = modelTable(p.BOILER_TYPE);
    if (!table.empty()) return table.front();
    return modelTable(0).front();
}

}  // namespace

std::span<const ServiceKey> serviceKeys() { return kServiceKeys; }

const ServiceKey* findServiceKey(std::string_view key) {
    for (const ServiceKey& k : kServiceKeys)
        if (k.key == key) return &k;
    return nullptr;
}

bool applyServiceValue(Settings& s, std::string_view key, const int32_t* values, int count) {
    const ServiceKey* k = findServiceKey(key);
    if (!k) return false;
    if (count <= 0) return true;
    if (k->rule.test == Test::ModelPower) {
        ModelMatch m = findModelByPower(values[0]);
        if (!m.record) return true;
        s.svc.POWER = values[0];
        s.svc.modelBunkerVolume = m.record->bunkerVolume;
        if (m.boilerType == 2 || m.boilerType == 3)
            std::copy(std::begin(m.record->feedRate), std::end(m.record->feedRate), s.svc.feedRate);
        return true;
    }
    const int n = std::min(count, k->field.count());
    for (int i = 0; i < n; ++i)
        if (k->rule.accepts(s, values[i])) k->field.set(s.svc, i, values[i]);
    return true;
}

void serviceDefaults(Settings& s, Variant v, bool factory) {
    P& p = s.svc;
    if (factory) {
        p.POWER = 16;
        p.BOILER_TYPE = 0;
    }
    p.resetToZero = 0;
    const ModelRecord& rec = defaultsRecord(p);
    for (const ServiceKey& k : kServiceKeys) {
        if (k.factoryOnly) continue;
        const int n = k.field.count() == 1 ? 1 : k.def.positions;
        for (int i = 0; i < n; ++i)
            k.field.set(p, i, k.def.computed ? k.def.computed(p, rec, i) : k.def.value);
    }
    std::fill(std::begin(p.feedRate), std::end(p.feedRate), 0);
    std::fill(std::begin(p.FAN_MIN_MODEL), std::end(p.FAN_MIN_MODEL), 0);
    if (isKestralo(v)) std::copy(std::begin(rec.fanMin), std::end(rec.fanMin), p.FAN_MIN_MODEL);
    p.modelBunkerVolume = rec.bunkerVolume;
    p.spare5 = 5;
    p.spare10 = 10;
}

void loadModelRecord(ServiceParams& p, const ModelRecord& r, Variant v) {
    p.POWER = r.power;
    std::copy(std::begin(r.wormPeriod), std::end(r.wormPeriod), p.WORM_PERIOD);
    std::copy(std::begin(r.worm100), std::end(r.worm100), p.WORM100);
    std::copy(std::begin(r.fanMin), std::end(r.fanMin), p.FAN_MIN);
    if (isKestralo(v)) std::copy(std::begin(r.fanMin), std::end(r.fanMin), p.FAN_MIN_MODEL);
    std::copy(std::begin(r.feedRate), std::end(r.feedRate), p.feedRate);
    p.modelBunkerVolume = r.bunkerVolume;
}

void normaliseService(Settings& s) {
    P& p = s.svc;
    for (int i = 0; i < kFuelCount; ++i) {
        const int64_t limit = int64_t{p.WORM_PERIOD[i]} * 10 - 10;
        // Positions beyond the model's fuel list have period 0: their
        // on-time stays 0 instead of going negative.
        if (p.WORM100[i] > limit) p.WORM100[i] = static_cast<int32_t>(std::max<int64_t>(limit, 0));
    }
}

}  // namespace vesk
