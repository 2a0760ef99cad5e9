// Descriptor table of the user keys and the resets, acceptance and
// normalisation built on it.
#include "settings/user_table.h"

#include <algorithm>

namespace vesk {
namespace {

using U = UserParams;
using V = ValveParams;

constexpr uint8_t kU = kUserGroup;
constexpr uint8_t kI = kInstallerGroup;
constexpr uint8_t kN = kNetworkGroup;
constexpr uint8_t kUI = kUserGroup | kInstallerGroup;

// FUEL is kept to 0..5 when read, but the field is public; never index
// outside the arrays whatever it holds.
int fuelIndex(const Settings& s) { return std::clamp(s.usr.FUEL, 0, kFuelCount - 1); }

int32_t limitMax(const Settings& s) { return s.usr.TWAT_UST_LIMIT_MAX; }
int32_t twatUst(const Settings& s) { return s.usr.TWAT_UST; }
int32_t powerMin(const Settings& s) { return s.svc.POWER_MIN; }
int32_t dhwOptMax(const Settings& s) { return s.usr.DHW_OPT_UST_MAX; }
int32_t corrLow(const Settings& s) { return -10 * s.svc.MAX_TSENS_CORR; }
int32_t corrHigh(const Settings& s) { return 10 * s.svc.MAX_TSENS_CORR; }
int32_t wormCorrLow(const Settings& s) { return -s.svc.WORM_CORR_MAX; }
int32_t wormCorrHigh(const Settings& s) { return s.svc.WORM_CORR_MAX; }
int32_t fanMaxLow(const Settings& s) { return s.svc.FAN100 - 10; }
int32_t fanMaxHigh(const Settings& s) { return std::min(s.svc.FAN100 + 10, 100); }
// The user fan minimum follows the service value of the fuel in force, not
// of the entry's own position.
int32_t fanMinLow(const Settings& s) { return s.svc.FAN_MIN[fuelIndex(s)] - 4; }
int32_t fanMinHigh(const Settings& s) { return s.svc.FAN_MIN[fuelIndex(s)] + 4; }
int32_t fanMinLowK(const Settings& s) { return s.svc.FAN_MIN[fuelIndex(s)]; }
int32_t fanMinHighK(const Settings& s) { return s.svc.FAN_MIN[fuelIndex(s)] + 5; }

int32_t powMinDefault(const Settings& s, int, int32_t) { return s.svc.POWER_MIN; }
int32_t bunkerDefault(const Settings& s, int, int32_t) { return s.svc.modelBunkerVolume; }
int32_t fanMaxDefault(const Settings& s, int, int32_t) { return s.svc.FAN100; }
int32_t fanMinDefault(const Settings& s, int i, int32_t) { return s.svc.FAN_MIN[i]; }
int32_t antiJamDefault(const Settings&, int, int32_t day) { return day; }
int32_t tankDefault(const Settings& s, int, int32_t) { return std::min(80, s.usr.TWAT_UST); }

// The seventeen keys of one mixing valve, in file order.
#define VESK_VALVE_ROWS(VLV)                                                            \
    {#VLV "_USEWATER", {&U::VLV, &V::USEWATER}, flag(), 1, kU},                         \
    {#VLV "_USEAIR", {&U::VLV, &V::USEAIR}, flag(), 0, kU},                             \
    {#VLV "_USEWH", {&U::VLV, &V::USEWH}, flag(), 0, kU},                               \
    {#VLV "_WATER", {&U::VLV, &V::WATER}, any(), 35, kU},                               \
    {#VLV "_AIR", {&U::VLV, &V::AIR}, range(5, 35), 25, kU},                            \
    {#VLV "_AIRL_CH", {&U::VLV, &V::AIRL_CH}, range(-50, 25), 20, kU},                  \
    {#VLV "_WATL_CH", {&U::VLV, &V::WATL_CH}, atMost(limitMax), 20, kU},                \
    {#VLV "_AIRH_CH", {&U::VLV, &V::AIRH_CH}, range(-50, 25), -30, kU},                 \
    {#VLV "_WATH_CH", {&U::VLV, &V::WATH_CH}, atMost(limitMax), 80, kU},                \
    {#VLV "_AIRL_FL", {&U::VLV, &V::AIRL_FL}, range(-50, 25), 20, kU},                  \
    {#VLV "_WATL_FL", {&U::VLV, &V::WATL_FL}, range(20, 60), 20, kU},                   \
    {#VLV "_AIRH_FL", {&U::VLV, &V::AIRH_FL}, range(-50, 25), -30, kU},                 \
    {#VLV "_WATH_FL", {&U::VLV, &V::WATH_FL}, range(20, 60), 40, kU},                   \
    {#VLV "_MODE", {&U::VLV, &V::MODE}, atMost(2), 0, kU},                              \
    {#VLV "_INT", {&U::VLV, &V::INT}, range(10, 600), 60, kU},                          \
    {#VLV "_STEP", {&U::VLV, &V::STEP}, range(3, 60), 7, kU},                           \
    {#VLV "_TOPEN", {&U::VLV, &V::TOPEN}, range(30, 600), 180, kU}

// "atMost" rows whose documented range also names a lower bound test only
// the upper one: user.cfg holds TWAT_UST before the limits, so a lower test
// against the default limits would drop set-points the installer allowed.
const UserKey kUserKeys[] = {
    {"POW_UST", &U::POW_UST, range(50, 100), 100, kU},
    {"POW_UST_MIN", &U::POW_UST_MIN, range(powerMin, 30), powMinDefault, kU},
    {"TWAT_UST", &U::TWAT_UST, atMost(limitMax), 75, kU, kBothVariants, range(40, 90)},
    {"TAIR_UST", &U::TAIR_UST, range(5, 35), 30, kU},
    {"TPUMPS_ON", &U::TPUMPS_ON, range(30, 55), 40, kU},
    {"TPUMPS_ON_HSEP", &U::TPUMPS_ON_HSEP, range(30, 70), 40, kU},
    {"TDHW_UST", &U::TDHW_UST, range(30, 80), 70, kU, kBothVariants, atMost(dhwOptMax)},
    {"PUMPS_IDLE_MODE", &U::PUMPS_IDLE_MODE, atMost(2), 0, kU},
    {"USE_RECIRC", &U::USE_RECIRC, flag(), 1, kU},
    {"TRECIRC_ON", &U::TRECIRC_ON, range(40, 90), 60, kU},
    {"TRECIRC_OFF", &U::TRECIRC_OFF, range(40, 90), 70, kU},
    {"TRC_HSEP_OFF", &U::TRC_HSEP_OFF, range(30, 70), 55, kU},
    {"TRC_HSEP_ON", &U::TRC_HSEP_ON, range(30, 70), 60, kU},
    {"USE_WHETHER", &U::USE_WHETHER, flag(), 0, kU},
    {"WHETH_WAT_LOW", &U::WHETH_WAT_LOW, atMost(limitMax), 20, kU},
    {"WHETH_AIR_LOW", &U::WHETH_AIR_LOW, range(-50, 25), 20, kU},
    {"WHETH_WAT", &U::WHETH_WAT, atMost(limitMax), 80, kU, kBothVariants, range(40, 90)},
    {"WHETH_AIR", &U::WHETH_AIR, range(-50, 25), -30, kU},
    {"HEAT_MODE", &U::HEAT_MODE, range(0, 3), 0, kU},
    // FUEL indexes every per-fuel array: a negative one is refused too.
    {"FUEL", &U::FUEL, range(0, kFuelCount - 1), 0, kU},
    VESK_VALVE_ROWS(VLV1),
    VESK_VALVE_ROWS(VLV2),
    {"USE_LTWATW", &U::USE_LTWATW, flag(), 1, kU},
    {"LOW_TWATW", &U::LOW_TWATW, atMost(limitMax), 10, kU},
    {"USE_HYDROSEP", &U::USE_HYDROSEP, flag(), 0, kU},
    {"USE_ASH", &U::USE_ASH, flag(), 0, kU},
    {"ASH_TIME_ON", &U::ASH_TIME_ON, range(3, 60), 10, kU},
    {"ASH_TIME_OFF", &U::ASH_TIME_OFF, range(1, 60), 15, kU, kBothVariants, range(1, 999)},
    {"EXFAN_MODE", &U::EXFAN_MODE, atMost(3), 0, kU},
    {"EXFAN_UST", &U::EXFAN_UST, range(10, 100), 50, kU},
    {"USE_EMPTY_SENS", &U::USE_EMPTY_SENS, flag(), 0, kU, kOrvenaOnly},
    {"USE_FULL_SENS", &U::USE_FULL_SENS, flag(), 0, kU, kOrvenaOnly},
    {"BUNK_AUTOFILL", &U::BUNK_AUTOFILL, flag(), 0, kU, kOrvenaOnly},
    {"BUNK_TOUT", &U::BUNK_TOUT, range(10, 1800), 30, kU, kOrvenaOnly},
    {"BUNK_SIZE", &U::BUNK_SIZE, range(10, 9999), bunkerDefault, kUI, kOrvenaOnly},
    {"TAIR_CORR", &U::TAIR_CORR, range(corrLow, corrHigh), 0, kU},
    {"TOAIR_CORR", &U::TOAIR_CORR, range(corrLow, corrHigh), 0, kU},
    {"TVAIR_CORR", &U::TVAIR_CORR, range(corrLow, corrHigh), 0, kU},
    {"TGAS_CORR", &U::TGAS_CORR, range(corrLow, corrHigh), 0, kU},
    {"TWAT_CORR", &U::TWAT_CORR, range(corrLow, corrHigh), 0, kU},
    {"USER_TBWAT_CORR", &U::USER_TBWAT_CORR, range(corrLow, corrHigh), 0, kU},
    {"USER_TDHW_CORR", &U::USER_TDHW_CORR, range(corrLow, corrHigh), 0, kU},
    {"USER_TCH_CORR", &U::USER_TCH_CORR, range(corrLow, corrHigh), 0, kU},
    {"USER_VWAT1_CORR", &U::USER_VWAT1_CORR, range(corrLow, corrHigh), 0, kU},
    {"USER_VWAT2_CORR", &U::USER_VWAT2_CORR, range(corrLow, corrHigh), 0, kU},
    {"SA_FAN_BUP", &U::SA_FAN_BUP, range(0, 100), 50, kU},
    {"WORM_CORR", &U::WORM_CORR, range(wormCorrLow, wormCorrHigh), 0, kU},
    {"CONS_CORR", &U::CONS_CORR, range(-50, 50), 0, kU, kOrvenaOnly},
    {"KEEP_WORM_CORR", &U::KEEP_WORM_CORR, range(-20, 20), 0, kU, kBothVariants, range(-20, 50)},
    {"FAN_MAX", &U::FAN_MAX, range(fanMaxLow, fanMaxHigh), fanMaxDefault, kU},
    {"FAN_MIN", &U::FAN_MIN, range(fanMinLow, fanMinHigh), fanMinDefault, kU, kBothVariants,
     range(fanMinLowK, fanMinHighK)},
    {"CHIMN_TON", &U::CHIMN_TON, range(5, 20), 15, kU},
    {"CHIMN_TOFF", &U::CHIMN_TOFF, range(60, 180), 120, kU},
    {"BURN_MODE", &U::BURN_MODE, atMost(2), 0, kU},
    {"EN_SOUNDPRESS", &U::EN_SOUNDPRESS, flag(), 0, kNoReset},
    {"BL_LEVEL", &U::BL_LEVEL, range(10, 100), 50, kU},
    {"EN_BL_OFF", &U::EN_BL_OFF, flag(), 1, kU},
    {"EN_AUTOHEATER", &U::EN_AUTOHEATER, flag(), 0, kUI, kOrvenaOnly},
    {"LAN_EN_LOC", &U::LAN_EN_LOC, flag(), 0, kN},
    {"LAN_EN_REM", &U::LAN_EN_REM, flag(), 0, kN},
    {"LAN_PWD", &U::LAN_PWD, below(1000000), 0, kN},
    {"FANKEEP_USE", &U::FANKEEP_USE, flag(), 0, kU},
    {"FANKEEP_TPAUSE", &U::FANKEEP_TPAUSE, range(0, 99), 30, kU},
    {"FANKEEP_TON", &U::FANKEEP_TON, range(5, 60), 30, kU},
    {"FANKEEP_POWER", &U::FANKEEP_POWER, range(10, 100), 50, kU},
    {"EXFANKEEP_USE", &U::EXFANKEEP_USE, flag(), 0, kU},
    {"EXFANKEEP_TPAUSE", &U::EXFANKEEP_TPAUSE, range(0, 99), 30, kU},
    {"EXFANKEEP_TON", &U::EXFANKEEP_TON, range(5, 60), 30, kU},
    {"EXFANKEEP_POWER", &U::EXFANKEEP_POWER, range(10, 100), 50, kU},
    {"ANTI_FREEZE_ENABLE", &U::ANTI_FREEZE_ENABLE, flag(), 1, kI},
    {"ANTI_FREEZE_TEMP", &U::ANTI_FREEZE_TEMP, range(2, 20), 6, kI},
    {"ANTI_JAM_ENABLE", &U::ANTI_JAM_ENABLE, flag(), 1, kI},
    {"ANTI_LEGION_UST", &U::ANTI_LEGION_UST, range(70, 80), 72, kI},
    {"ANTI_JAM_PERIOD", &U::ANTI_JAM_PERIOD, range(7, 100), 30, kI},
    {"ANTI_JAM_DURATION", &U::ANTI_JAM_DURATION, range(1, 120), 30, kI},
    {"ANTI_JAM_MIN", &U::ANTI_JAM_MIN, range(0, 1439), -1, kI},
    {"ANTI_JAM_DAY", &U::ANTI_JAM_DAY, atLeast(0), antiJamDefault, kI},
    {"ANTI_LEGION_ENABLE", &U::ANTI_LEGION_ENABLE, flag(), 1, kI},
    {"ANTI_LEGION_DAY", &U::ANTI_LEGION_DAY, range(0, 6), 5, kI},
    {"ANTI_LEGION_CLOCK", &U::ANTI_LEGION_CLOCK, range(0, 1440), 1439, kI},
    {"ANTI_LEGION_DURATION", &U::ANTI_LEGION_DURATION, range(1, 10), 2, kI},
    {"WORM_TEMP_SENSOR_ENABLE", &U::WORM_TEMP_SENSOR_ENABLE, flag(), 1, kI},
    // Saved but never loaded: after a restart it is back at its default.
    {"GAS_TEMP_SENSOR_ENABLE", &U::GAS_TEMP_SENSOR_ENABLE, notRead(), 1, kI},
    {"GAS_TEMP_SENSOR_FADE_TOUT", &U::GAS_TEMP_SENSOR_FADE_TOUT, range(1, 90), 30, kI},
    {"TWAT_UST_LIMIT_MAX", &U::TWAT_UST_LIMIT_MAX, range(75, 90), 85, kI},
    {"TWAT_UST_LIMIT_MIN", &U::TWAT_UST_LIMIT_MIN, range(40, 60), 60, kI},
    {"PUMP_CH_PAUSE_ENABLE", &U::PUMP_CH_PAUSE_ENABLE, flag(), 0, kI},
    {"PUMP_CH_ON_DURATION", &U::PUMP_CH_ON_DURATION, range(1, 60), 5, kI},
    {"PUMP_CH_OFF_DURATION", &U::PUMP_CH_OFF_DURATION, range(5, 300), 30, kI},
    {"RESPONSE_ON_TMSTAT_TWAT_UST_ENABLE", &U::RESPONSE_ON_TMSTAT_TWAT_UST_ENABLE, flag(), 1, kI, kOrvenaOnly},
    {"RESPONSE_ON_TMSTAT_TWAT_UST_DECREASE", &U::RESPONSE_ON_TMSTAT_TWAT_UST_DECREASE, range(5, 40), 20, kI},
    {"THERMOSTAT_RESPONSE", &U::THERMOSTAT_RESPONSE, range(0, 3), 0, kI, kKestraloOnly},
    {"THERMO_SWITCH_ENABLE", &U::THERMO_SWITCH_ENABLE, flag(), 1, kI},
    {"DHW_OPT_ENABLE", &U::DHW_OPT_ENABLE, flag(), 1, kI},
    {"DHW_OPT_DELTA", &U::DHW_OPT_DELTA, range(1, 20), 5, kI},
    {"DHW_OPT_DELTA_OVH", &U::DHW_OPT_DELTA_OVH, range(1, 20), 2, kI},
    {"DHW_OPT_UST_MAX", &U::DHW_OPT_UST_MAX, range(40, 85), 85, kI},
    {"DHW_OPT_PAUSE", &U::DHW_OPT_PAUSE, range(5, 900), 15, kI},
    {"PRIME_LOOP_TYPE", &U::PRIME_LOOP_TYPE, any(), 0, kI},
    {"PRIME_LOOP_TANK_UST", &U::PRIME_LOOP_TANK_UST, below(twatUst), tankDefault, kI},
    {"PRIME_LOOP_TANK_DELTA", &U::PRIME_LOOP_TANK_DELTA, range(0, 20), 5, kI},
    {"PRIME_LOOP_TANK_LOAD_DELTA", &U::PRIME_LOOP_TANK_LOAD_DELTA, range(5, 50), 30, kI},
    {"REVERSE_TIME_ENABLE", &U::REVERSE_TIME_ENABLE, flag(), 0, kI},
    {"REVERSE_TIME_REVERSE", &U::REVERSE_TIME_REVERSE, range(1, 30), 4, kI},
    {"REVERSE_TIME_FORWARD", &U::REVERSE_TIME_FORWARD, range(1, 30), 7, kI},
    {"REVERSE_TIME_PAUSE", &U::REVERSE_TIME_PAUSE, range(1, 30), 2, kI},
    // KESTRALO writes these three last.
    {"EN_AUTOHEATER", &U::EN_AUTOHEATER, flag(), 0, kUI, kKestraloOnly},
    {"BUNK_SENSOR_ENABLE", &U::BUNK_SENSOR_ENABLE, flag(), 1, kI, kKestraloOnly},
    {"LINE_WRONG_ENABLE", &U::LINE_WRONG_ENABLE, flag(), 1, kI, kKestraloOnly},
};

#undef VESK_VALVE_ROWS

void applyGroupDefaults(Settings& s, Variant v, uint8_t group, int32_t antiJamDay) {
    for (const UserKey& k : kUserKeys) {
        if (!k.in(v) || !(k.groups & group)) continue;
        for (int i = 0; i < k.field.count(); ++i) k.field.set(s.usr, i, k.def.get(s, i, antiJamDay));
    }
}

void normaliseValve(ValveParams& vp, int32_t limitMaxValue) {
    auto u = [](int32_t x) { return static_cast<uint32_t>(x); };
    if (vp.MODE == 1) {
        if (vp.USEWH == 0) vp.USEWATER = 1;
        if (u(vp.WATER) - 20u > 40u) vp.WATER = 40;
    } else if (vp.MODE == 2) {
        if (u(vp.WATER) < 20u || u(vp.WATER) > u(limitMaxValue)) vp.WATER = (limitMaxValue - 20) / 2 + 20;
    }
}

void normaliseCurves(ValveParams& vp) {
    if (vp.AIRL_CH <= vp.AIRH_CH || vp.WATL_CH >= vp.WATH_CH) {
        vp.AIRL_CH = 20;
        vp.WATL_CH = 20;
        vp.AIRH_CH = -30;
        vp.WATH_CH = 80;
    }
    if (vp.AIRL_FL <= vp.AIRH_FL || vp.WATL_FL >= vp.WATH_FL) {
        vp.AIRL_FL = 20;
        vp.WATL_FL = 20;
        vp.AIRH_FL = -30;
        vp.WATH_FL = 40;
    }
}

}  // namespace

std::span<const UserKey> userKeys() { return kUserKeys; }

const UserKey* findUserKey(Variant v, std::string_view key) {
    for (const UserKey& k : kUserKeys)
        if (k.in(v) && k.key == key) return &k;
    return nullptr;
}

bool applyUserValue(Settings& s, Variant v, std::string_view key, const int32_t* values, int count) {
    const UserKey* k = findUserKey(v, key);
    if (!k) return false;
    const Rule& rule = k->ruleFor(v);
    const int n = std::min(count, k->field.count());
    for (int i = 0; i < n; ++i)
        if (rule.accepts(s, values[i])) k->field.set(s.usr, i, values[i]);
    return true;
}

void userDefaults(Settings& s, Variant v, bool keepInstaller, int32_t antiJamDay) {
    applyGroupDefaults(s, v, kUserGroup, antiJamDay);
    if (keepInstaller) return;
    installerDefaults(s, v, antiJamDay);
    applyGroupDefaults(s, v, kNetworkGroup, antiJamDay);
}

void installerDefaults(Settings& s, Variant v, int32_t antiJamDay) {
    applyGroupDefaults(s, v, kInstallerGroup, antiJamDay);
    if (s.usr.TDHW_UST > 85) s.usr.TDHW_UST = 85;
}

void normaliseUser(Settings& s) {
    UserParams& u = s.usr;
    if (u.TRECIRC_ON > u.TRECIRC_OFF) {
        u.TRECIRC_ON = 60;
        u.TRECIRC_OFF = 70;
    }
    if (u.TRC_HSEP_OFF > u.TRC_HSEP_ON - 5) {
        u.TRC_HSEP_ON = 60;
        u.TRC_HSEP_OFF = 55;
    }
    normaliseValve(u.VLV1, u.TWAT_UST_LIMIT_MAX);
    normaliseValve(u.VLV2, u.TWAT_UST_LIMIT_MAX);
    normaliseCurves(u.VLV1);
    normaliseCurves(u.VLV2);
    if (static_cast<uint32_t>(u.SA_FAN_BUP) < static_cast<uint32_t>(s.svc.SA_FANBUP_MIN)) u.SA_FAN_BUP = s.svc.SA_FANBUP_MIN;
}

int32_t antiJamDayNumber(const LocalTime& t) {
    if (t.year < 2021) return -1;
    static constexpr int kMonthDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    int32_t days = 0;
    for (int y = 2021; y < t.year; ++y) days += (y % 4 == 0) ? 366 : 365;
    const int month = std::clamp<int>(t.month, 1, 12);
    for (int m = 1; m < month; ++m) days += kMonthDays[m - 1];
    days += t.day;
    if (t.year % 4 == 0 && month > 2) ++days;
    return days;
}

}  // namespace vesk
