// The settings in force: the service family (service.cfg) and the user
// family (user.cfg). Field names are the settings keys.
#pragma once
#include <cstdint>

namespace vesk {

constexpr int kFuelCount = 6;
using FuelArray = int32_t[kFuelCount];

struct ServiceParams {
    int32_t GAS_BURNUP = 0;
    int32_t FAN_BURNUP = 0;
    int32_t WORM_BURNUP = 0;
    int32_t BURNUP_TRY = 0;
    int32_t BURNUP_TOUT = 0;
    int32_t GAS_KEEP = 0;
    int32_t PRECHIMN_WORM = 0;
    int32_t POWER = 0;
    int32_t BOILER_TYPE = 0;
    int32_t POWER_MIN = 0;
    FuelArray FAN_MIN = {};
    FuelArray FAN_MIN_MODEL = {};  // KESTRALO: model FAN_MIN kept aside, in no file
    FuelArray WORM_PERIOD = {};
    FuelArray WORM100 = {};
    FuelArray feedRate = {};       // 0.1 kg per hour of auger run, from the model
    int32_t WORM_CORR_MAX = 0;
    int32_t FAN100 = 0;
    int32_t DHW_HYST = 0;
    int32_t AIR_HYST = 0;
    FuelArray BLOWUP_TIME = {};
    int32_t GAS_MAX = 0;
    int32_t GAS_CLEAN = 0;
    int32_t PUMPS_TOUT = 0;
    int32_t DHWFALL_TOUT = 0;
    int32_t MAX_TSENS_CORR = 0;
    int32_t WORM_SPEED = 0;
    int32_t WORM_OVC_CUR = 0;
    int32_t WORM_OVC_TOUT = 0;
    int32_t WORM_REV_TIME = 0;
    int32_t WORM_FORW_TIME = 0;
    int32_t WORM_PAUSE_TIME = 0;
    int32_t SERIAL = 0;
    int32_t spare5 = 0;   // carried in no file, default 5
    int32_t spare10 = 0;  // carried in no file, default 10
    int16_t EMSTART_TEMP = 0;
    int16_t EMSTART_DELTA = 0;
    int16_t EMSTART_TIMEON = 0;
    int16_t EMSTART_TIMEOFF = 0;
    uint8_t EMSTART_ENABLE = 0;
    int32_t SA_GAS_BURNUP = 0;
    int32_t SA_FANBUP_MIN = 0;
    int32_t SA_BUP_TIME = 0;
    int32_t SA_GAS_LIM = 0;
    int32_t SA_FADE_TIME = 0;
    int32_t SA_BLOW_TIME = 0;
    int32_t SA_FAN_MIN = 0;
    int32_t SA_WPID_KP = 0, SA_WPID_KI = 0, SA_WPID_KD = 0;
    int32_t WPID_KP = 0, WPID_KI = 0, WPID_KD = 0;
    int32_t GPID_KP = 0, GPID_KI = 0, GPID_KD = 0;
    int32_t APID_KP = 0, APID_KI = 0, APID_KD = 0;
    int32_t modelBunkerVolume = 0;  // column 19 of the matched model record
    int32_t resetToZero = 0;        // carried in no file, 0 at defaults
    int32_t TESTVAL_1 = 0;
};

// One mixing valve's twenty user keys (VLV1_* / VLV2_*), in file order.
struct ValveParams {
    int32_t USEWATER = 0, USEAIR = 0, USEWH = 0;
    int32_t WATER = 0;
    int32_t AIR = 0;
    int32_t AIRL_CH = 0, WATL_CH = 0, AIRH_CH = 0, WATH_CH = 0;
    int32_t AIRL_FL = 0, WATL_FL = 0, AIRH_FL = 0, WATH_FL = 0;
    int32_t MODE = 0;
    int32_t INT = 0;
    int32_t STEP = 0;
    int32_t TOPEN = 0;
};

struct UserParams {
    int32_t POW_UST = 0;
    int32_t POW_UST_MIN = 0;
    int32_t TWAT_UST = 0;
    int32_t TAIR_UST = 0;
    int32_t TPUMPS_ON = 0;
    int32_t TPUMPS_ON_HSEP = 0;
    int32_t TDHW_UST = 0;
    int32_t PUMPS_IDLE_MODE = 0;
    int32_t USE_RECIRC = 0;
    int32_t TRECIRC_ON = 0;
    int32_t TRECIRC_OFF = 0;
    int32_t TRC_HSEP_OFF = 0;
    int32_t TRC_HSEP_ON = 0;
    int32_t USE_WHETHER = 0;
    int32_t WHETH_WAT_LOW = 0;
    int32_t WHETH_AIR_LOW = 0;
    int32_t WHETH_WAT = 0;
    int32_t WHETH_AIR = 0;
    int32_t HEAT_MODE = 0;
    int32_t FUEL = 0;
    ValveParams VLV1;
    ValveParams VLV2;
    int32_t USE_LTWATW = 0;
    int32_t LOW_TWATW = 0;
    int32_t USE_HYDROSEP = 0;
    int32_t USE_ASH = 0;
    int32_t ASH_TIME_ON = 0;
    int32_t ASH_TIME_OFF = 0;
    int32_t EXFAN_MODE = 0;
    int32_t EXFAN_UST = 0;
    int32_t USE_EMPTY_SENS = 0;
    int32_t USE_FULL_SENS = 0;
    int32_t BUNK_AUTOFILL = 0;
    int32_t BUNK_TOUT = 0;
    int32_t BUNK_SIZE = 0;
    int32_t TAIR_CORR = 0, TOAIR_CORR = 0, TVAIR_CORR = 0, TGAS_CORR = 0;
    int32_t TWAT_CORR = 0, USER_TBWAT_CORR = 0, USER_TDHW_CORR = 0;
    int32_t USER_TCH_CORR = 0, USER_VWAT1_CORR = 0, USER_VWAT2_CORR = 0;
    int32_t SA_FAN_BUP = 0;
    FuelArray WORM_CORR = {};
    FuelArray CONS_CORR = {};
    FuelArray KEEP_WORM_CORR = {};
    FuelArray FAN_MAX = {};
    FuelArray FAN_MIN = {};
    int32_t CHIMN_TON = 0;
    int32_t CHIMN_TOFF = 0;
    int32_t BURN_MODE = 0;
    int32_t EN_SOUNDPRESS = 0;
    int32_t BL_LEVEL = 0;
    int32_t EN_BL_OFF = 0;
    int32_t EN_AUTOHEATER = 0;
    int32_t LAN_EN_LOC = 0;
    int32_t LAN_EN_REM = 0;
    int32_t LAN_PWD = 0;
    int32_t FANKEEP_USE = 0, FANKEEP_TPAUSE = 0, FANKEEP_TON = 0, FANKEEP_POWER = 0;
    int32_t EXFANKEEP_USE = 0, EXFANKEEP_TPAUSE = 0, EXFANKEEP_TON = 0, EXFANKEEP_POWER = 0;
    int32_t ANTI_FREEZE_ENABLE = 0, ANTI_FREEZE_TEMP = 0;
    int32_t ANTI_JAM_ENABLE = 0;
    int32_t ANTI_LEGION_UST = 0;
    int32_t ANTI_JAM_PERIOD = 0;
    int32_t ANTI_JAM_DURATION = 0;
    int32_t ANTI_JAM_MIN = 0;
    int32_t ANTI_JAM_DAY = 0;
    int32_t ANTI_LEGION_ENABLE = 0;
    int32_t ANTI_LEGION_DAY = 0;
    int32_t ANTI_LEGION_CLOCK = 0;
    int32_t ANTI_LEGION_DURATION = 0;
    int32_t WORM_TEMP_SENSOR_ENABLE = 0;
    int32_t GAS_TEMP_SENSOR_ENABLE = 0;
    int32_t GAS_TEMP_SENSOR_FADE_TOUT = 0;
    int32_t TWAT_UST_LIMIT_MAX = 0;
    int32_t TWAT_UST_LIMIT_MIN = 0;
    int32_t PUMP_CH_PAUSE_ENABLE = 0, PUMP_CH_ON_DURATION = 0, PUMP_CH_OFF_DURATION = 0;
    int32_t RESPONSE_ON_TMSTAT_TWAT_UST_ENABLE = 0;
    int32_t RESPONSE_ON_TMSTAT_TWAT_UST_DECREASE = 0;
    int32_t THERMO_SWITCH_ENABLE = 0;
    int32_t DHW_OPT_ENABLE = 0, DHW_OPT_DELTA = 0, DHW_OPT_DELTA_OVH = 0;
    int32_t DHW_OPT_UST_MAX = 0, DHW_OPT_PAUSE = 0;
    int32_t PRIME_LOOP_TYPE = 0;
    int32_t PRIME_LOOP_TANK_UST = 0;
    int32_t PRIME_LOOP_TANK_DELTA = 0, PRIME_LOOP_TANK_LOAD_DELTA = 0;
    int32_t REVERSE_TIME_ENABLE = 0, REVERSE_TIME_REVERSE = 0;
    int32_t REVERSE_TIME_FORWARD = 0, REVERSE_TIME_PAUSE = 0;
    // KESTRALO only
    int32_t THERMOSTAT_RESPONSE = 0;
    int32_t BUNK_SENSOR_ENABLE = 0;
    int32_t LINE_WRONG_ENABLE = 0;
};

// Both families together: user acceptance tests read service values.
struct Settings {
    ServiceParams svc;
    UserParams usr;
};

}  // namespace vesk
