// User family: limits read from other parameters, both variants' keys and
// ranges, resets by group, normalisation and the user.cfg write order.
#include <gtest/gtest.h>

#include <algorithm>
#include <mutex>
#include <string>
#include <vector>

#include "settings/line_parser.h"
#include "settings/service_table.h"
#include "settings/settings_file.h"
#include "settings/user_table.h"
#include "support/test_support.h"

namespace vesk {
namespace {

constexpr int32_t kToday = 1500;

Settings fresh(Variant v) {
    Settings s;
    serviceDefaults(s, v, true);
    userDefaults(s, v, false, kToday);
    return s;
}

Settings loaded(Variant v, const std::string& userText) {
    test::TempDir dir;
    test::writeText(dir.file("user.cfg"), userText);
    Settings s;
    serviceDefaults(s, v, true);
    EXPECT_TRUE(loadUserSettings(dir.file("user.cfg"), s, v, kToday));
    return s;
}

std::vector<std::string> keysOf(const std::string& text) {
    std::vector<std::string> keys;
    for (std::string_view line : splitLines(text)) keys.emplace_back(line.substr(0, line.find('=')));
    return keys;
}

std::vector<std::string> valveKeys(const std::string& p) {
    std::vector<std::string> k;
    for (const char* n : {"USEWATER", "USEAIR", "USEWH", "WATER", "AIR", "AIRL_CH", "WATL_CH", "AIRH_CH", "WATH_CH",
                          "AIRL_FL", "WATL_FL", "AIRH_FL", "WATH_FL", "MODE", "INT", "STEP", "TOPEN"})
        k.push_back(p + "_" + n);
    return k;
}

std::vector<std::string> orvenaOrder() {
    std::vector<std::string> k = {"POW_UST", "POW_UST_MIN", "TWAT_UST", "TAIR_UST", "TPUMPS_ON", "TPUMPS_ON_HSEP",
                                  "TDHW_UST", "PUMPS_IDLE_MODE", "USE_RECIRC", "TRECIRC_ON", "TRECIRC_OFF",
                                  "TRC_HSEP_OFF", "TRC_HSEP_ON", "USE_WHETHER", "WHETH_WAT_LOW", "WHETH_AIR_LOW",
                                  "WHETH_WAT", "WHETH_AIR", "HEAT_MODE", "FUEL"};
    for (const char* v : {"VLV1", "VLV2"})
        for (auto& key : valveKeys(v)) k.push_back(key);
    for (const char* key :
         {"USE_LTWATW", "LOW_TWATW", "USE_HYDROSEP", "USE_ASH", "ASH_TIME_ON", "ASH_TIME_OFF", "EXFAN_MODE",
          "EXFAN_UST", "USE_EMPTY_SENS", "USE_FULL_SENS", "BUNK_AUTOFILL", "BUNK_TOUT", "BUNK_SIZE", "TAIR_CORR",
          "TOAIR_CORR", "TVAIR_CORR", "TGAS_CORR", "TWAT_CORR", "USER_TBWAT_CORR", "USER_TDHW_CORR", "USER_TCH_CORR",
          "USER_VWAT1_CORR", "USER_VWAT2_CORR", "SA_FAN_BUP", "WORM_CORR", "CONS_CORR", "KEEP_WORM_CORR", "FAN_MAX",
          "FAN_MIN", "CHIMN_TON", "CHIMN_TOFF", "BURN_MODE", "EN_SOUNDPRESS", "BL_LEVEL", "EN_BL_OFF",
          "EN_AUTOHEATER", "LAN_EN_LOC", "LAN_EN_REM", "LAN_PWD", "FANKEEP_USE", "FANKEEP_TPAUSE", "FANKEEP_TON",
          "FANKEEP_POWER", "EXFANKEEP_USE", "EXFANKEEP_TPAUSE", "EXFANKEEP_TON", "EXFANKEEP_POWER",
          "ANTI_FREEZE_ENABLE", "ANTI_FREEZE_TEMP", "ANTI_JAM_ENABLE", "ANTI_LEGION_UST", "ANTI_JAM_PERIOD",
          "ANTI_JAM_DURATION", "ANTI_JAM_MIN", "ANTI_JAM_DAY", "ANTI_LEGION_ENABLE", "ANTI_LEGION_DAY",
          "ANTI_LEGION_CLOCK", "ANTI_LEGION_DURATION", "WORM_TEMP_SENSOR_ENABLE", "GAS_TEMP_SENSOR_ENABLE",
          "GAS_TEMP_SENSOR_FADE_TOUT", "TWAT_UST_LIMIT_MAX", "TWAT_UST_LIMIT_MIN", "PUMP_CH_PAUSE_ENABLE",
          "PUMP_CH_ON_DURATION", "PUMP_CH_OFF_DURATION", "RESPONSE_ON_TMSTAT_TWAT_UST_ENABLE",
          "RESPONSE_ON_TMSTAT_TWAT_UST_DECREASE", "THERMO_SWITCH_ENABLE", "DHW_OPT_ENABLE", "DHW_OPT_DELTA",
          "DHW_OPT_DELTA_OVH", "DHW_OPT_UST_MAX", "DHW_OPT_PAUSE", "PRIME_LOOP_TYPE", "PRIME_LOOP_TANK_UST",
          "PRIME_LOOP_TANK_DELTA", "PRIME_LOOP_TANK_LOAD_DELTA", "REVERSE_TIME_ENABLE", "REVERSE_TIME_REVERSE",
          "REVERSE_TIME_FORWARD", "REVERSE_TIME_PAUSE"})
        k.push_back(key);
    return k;
}

std::vector<std::string> kestraloOrder() {
    std::vector<std::string> k;
    for (const std::string& key : orvenaOrder()) {
        if (key == "USE_EMPTY_SENS" || key == "USE_FULL_SENS" || key == "BUNK_AUTOFILL" || key == "BUNK_TOUT" ||
            key == "BUNK_SIZE" || key == "CONS_CORR" || key == "RESPONSE_ON_TMSTAT_TWAT_UST_ENABLE" ||
            key == "EN_AUTOHEATER")
            continue;
        k.push_back(key);
        if (key == "RESPONSE_ON_TMSTAT_TWAT_UST_DECREASE") k.push_back("THERMOSTAT_RESPONSE");
    }
    for (const char* key : {"EN_AUTOHEATER", "BUNK_SENSOR_ENABLE", "LINE_WRONG_ENABLE"}) k.push_back(key);
    return k;
}

TEST(UserFile, WriteOrderOfEachVariant) {
    EXPECT_EQ(keysOf(formatUserFile(fresh(Variant::Orvena), Variant::Orvena)), orvenaOrder());
    EXPECT_EQ(keysOf(formatUserFile(fresh(Variant::Kestralo), Variant::Kestralo)), kestraloOrder());
}

TEST(UserFile, LineShapes) {
    Settings s = fresh(Variant::Orvena);
    s.usr.WORM_CORR[1] = -7;
    s.usr.VLV2.AIRH_CH = -31;
    const std::string text = formatUserFile(s, Variant::Orvena);
    EXPECT_TRUE(text.starts_with("POW_UST=100\nPOW_UST_MIN=15\nTWAT_UST=75\n"));
    EXPECT_NE(text.find("\nWORM_CORR=0,-7,0,0,0,0\n"), std::string::npos);
    EXPECT_NE(text.find("\nFAN_MIN=20,30,5,10,0,0\n"), std::string::npos);
    EXPECT_NE(text.find("\nFAN_MAX=80,80,80,80,80,80\n"), std::string::npos);
    EXPECT_NE(text.find("\nVLV2_AIRH_CH=-31\n"), std::string::npos);
    EXPECT_NE(text.find("\nANTI_JAM_DAY=1500\n"), std::string::npos);
    EXPECT_NE(text.find("\nANTI_JAM_MIN=-1\n"), std::string::npos);
    EXPECT_EQ(text.find('\r'), std::string::npos);
    EXPECT_TRUE(text.ends_with("\nREVERSE_TIME_PAUSE=2\n"));
}

class UserRoundTrip : public ::testing::TestWithParam<Variant> {};

TEST_P(UserRoundTrip, SavedSettingsLoadBackUnchanged) {
    const Variant v = GetParam();
    Settings s = fresh(v);
    applyUserText("TWAT_UST=62\nFUEL=2\nVLV1_MODE=1\nVLV1_WATER=45\nVLV2_AIRL_CH=10\nVLV2_TOPEN=600\n"
                  "TAIR_CORR=-100\nUSER_VWAT2_CORR=100\nWORM_CORR=-50,50,1,2,3,4\nKEEP_WORM_CORR=-20,20,0,0,0,1\n"
                  "FAN_MAX=70,90,75,76,77,78\nFAN_MIN=5,6,7,8,9,5\nEN_SOUNDPRESS=1\nLAN_EN_LOC=1\nLAN_PWD=999999\n"
                  "ANTI_JAM_MIN=1439\nTWAT_UST_LIMIT_MIN=40\nPRIME_LOOP_TANK_UST=-3\nPRIME_LOOP_TYPE=-8\n"
                  "THERMOSTAT_RESPONSE=3\nLINE_WRONG_ENABLE=0\nBUNK_SIZE=9999\nCONS_CORR=-50,0,0,0,0,50\n",
                  s, v);
    ASSERT_EQ(s.usr.FUEL, 2);
    ASSERT_EQ(s.usr.FAN_MAX[1], 90);
    ASSERT_EQ(s.usr.PRIME_LOOP_TANK_UST, -3);
    const std::string text = formatUserFile(s, v);

    test::TempDir dir;
    std::mutex lock;
    ASSERT_TRUE(saveUserSettings(dir.file("user.cfg"), s, v, lock));
    EXPECT_EQ(test::readText(dir.file("user.cfg")), text);
    Settings back;
    serviceDefaults(back, v, true);
    ASSERT_TRUE(loadUserSettings(dir.file("user.cfg"), back, v, 7));
    EXPECT_EQ(formatUserFile(back, v), text);
}

INSTANTIATE_TEST_SUITE_P(BothVariants, UserRoundTrip, ::testing::Values(Variant::Orvena, Variant::Kestralo));

TEST(UserFile, GasSensorFlagIsWrittenButNotReadBack) {
    Settings s = fresh(Variant::Orvena);
    s.usr.GAS_TEMP_SENSOR_ENABLE = 0;
    const std::string text = formatUserFile(s, Variant::Orvena);
    EXPECT_NE(text.find("\nGAS_TEMP_SENSOR_ENABLE=0\n"), std::string::npos);
    EXPECT_EQ(loaded(Variant::Orvena, text).usr.GAS_TEMP_SENSOR_ENABLE, 1);
}

TEST(UserValues, SetPointTestedAgainstTheLimitsInForceWhenRead) {
    EXPECT_EQ(loaded(Variant::Orvena, "TWAT_UST=95\n").usr.TWAT_UST, 75);
    Settings s = loaded(Variant::Orvena, "TWAT_UST=88\nTWAT_UST_LIMIT_MAX=90\n");
    EXPECT_EQ(s.usr.TWAT_UST, 75);
    EXPECT_EQ(s.usr.TWAT_UST_LIMIT_MAX, 90);
    EXPECT_EQ(loaded(Variant::Orvena, "TWAT_UST_LIMIT_MAX=90\nTWAT_UST=88\n").usr.TWAT_UST, 88);
    // Only the upper limit is tested, so a set-point the installer allowed
    // below the default lower limit survives a restart.
    EXPECT_EQ(loaded(Variant::Orvena, "TWAT_UST=45\nTWAT_UST_LIMIT_MIN=40\n").usr.TWAT_UST, 45);
    EXPECT_EQ(loaded(Variant::Orvena, "LOW_TWATW=-4\nWHETH_WAT_LOW=86\n").usr.LOW_TWATW, -4);
    EXPECT_EQ(loaded(Variant::Orvena, "WHETH_WAT_LOW=86\n").usr.WHETH_WAT_LOW, 20);
}

TEST(UserValues, LimitsFromTheServiceFamily) {
    Settings s = fresh(Variant::Orvena);
    s.svc.POWER_MIN = 20;
    s.svc.MAX_TSENS_CORR = 3;
    s.svc.WORM_CORR_MAX = 10;
    s.svc.FAN100 = 95;
    applyUserText("POW_UST_MIN=19\nTAIR_CORR=-30\nTOAIR_CORR=31\nWORM_CORR=11,-10,10,-11\nFAN_MAX=84,85,100,101\n", s,
                  Variant::Orvena);
    EXPECT_EQ(s.usr.POW_UST_MIN, 15);  // still its default
    EXPECT_EQ(s.usr.TAIR_CORR, -30);
    EXPECT_EQ(s.usr.TOAIR_CORR, 0);
    EXPECT_EQ(std::vector<int32_t>(s.usr.WORM_CORR, s.usr.WORM_CORR + 4), (std::vector<int32_t>{0, -10, 10, 0}));
    EXPECT_EQ(std::vector<int32_t>(s.usr.FAN_MAX, s.usr.FAN_MAX + 4), (std::vector<int32_t>{80, 85, 100, 80}));
    applyUserText("POW_UST_MIN=20\n", s, Variant::Orvena);
    EXPECT_EQ(s.usr.POW_UST_MIN, 20);
}

TEST(UserValues, FanMinimumFollowsTheServiceValueOfTheFuelInForce) {
    // Model 16 kW type 0: service FAN_MIN 20, 30, 5, 10, 0, 0.
    Settings o = loaded(Variant::Orvena, "FUEL=1\nFAN_MIN=26,34,25,35\n");
    EXPECT_EQ(std::vector<int32_t>(o.usr.FAN_MIN, o.usr.FAN_MIN + 4), (std::vector<int32_t>{26, 34, 5, 10}));
    Settings k = loaded(Variant::Kestralo, "FUEL=1\nFAN_MIN=29,30,35,36\n");
    EXPECT_EQ(std::vector<int32_t>(k.usr.FAN_MIN, k.usr.FAN_MIN + 4), (std::vector<int32_t>{20, 30, 35, 10}));
}

TEST(UserValues, FuelIsAlwaysAValidIndex) {
    EXPECT_EQ(loaded(Variant::Orvena, "FUEL=5\n").usr.FUEL, 5);
    EXPECT_EQ(loaded(Variant::Orvena, "FUEL=6\n").usr.FUEL, 0);
    EXPECT_EQ(loaded(Variant::Orvena, "FUEL=-1\n").usr.FUEL, 0);
    Settings s = fresh(Variant::Orvena);
    s.usr.FUEL = -3;  // set behind the table's back: the test stays in bounds
    applyUserText("FAN_MIN=21\n", s, Variant::Orvena);
    EXPECT_EQ(s.usr.FAN_MIN[0], 21);
}

TEST(UserValues, SignedUpperBoundsLetNegativesThrough) {
    Settings s = loaded(Variant::Orvena, "VLV1_MODE=-1\nBURN_MODE=3\nEXFAN_MODE=-2\nLAN_PWD=1000000\nTWAT_UST=70\n"
                                         "PRIME_LOOP_TANK_UST=70\nANTI_JAM_DAY=-1\nANTI_LEGION_CLOCK=1440\n");
    EXPECT_EQ(s.usr.VLV1.MODE, -1);
    EXPECT_EQ(s.usr.BURN_MODE, 0);
    EXPECT_EQ(s.usr.EXFAN_MODE, -2);
    EXPECT_EQ(s.usr.LAN_PWD, 0);
    EXPECT_EQ(s.usr.PRIME_LOOP_TANK_UST, 75);  // 70 is not below TWAT_UST 70
    EXPECT_EQ(s.usr.ANTI_JAM_DAY, kToday);
    EXPECT_EQ(s.usr.ANTI_LEGION_CLOCK, 1440);
}

TEST(UserValues, KestraloKeysAndRanges) {
    const std::string text =
        "TWAT_UST=88\nWHETH_WAT=41\nTDHW_UST=84\nASH_TIME_OFF=999\nKEEP_WORM_CORR=50,-21\nTHERMOSTAT_RESPONSE=3\n"
        "BUNK_SENSOR_ENABLE=0\nLINE_WRONG_ENABLE=0\nBUNK_SIZE=50\nCONS_CORR=5\nUSE_EMPTY_SENS=1\n"
        "RESPONSE_ON_TMSTAT_TWAT_UST_ENABLE=0\n";
    Settings k = loaded(Variant::Kestralo, text);
    EXPECT_EQ(k.usr.TWAT_UST, 88);
    EXPECT_EQ(k.usr.WHETH_WAT, 41);
    EXPECT_EQ(k.usr.TDHW_UST, 84);
    EXPECT_EQ(k.usr.ASH_TIME_OFF, 999);
    EXPECT_EQ(k.usr.KEEP_WORM_CORR[0], 50);
    EXPECT_EQ(k.usr.KEEP_WORM_CORR[1], 0);
    EXPECT_EQ(k.usr.THERMOSTAT_RESPONSE, 3);
    EXPECT_EQ(k.usr.BUNK_SENSOR_ENABLE, 0);
    EXPECT_EQ(k.usr.LINE_WRONG_ENABLE, 0);
    EXPECT_EQ(k.usr.BUNK_SIZE, 0);
    EXPECT_EQ(k.usr.CONS_CORR[0], 0);
    EXPECT_EQ(k.usr.USE_EMPTY_SENS, 0);
    EXPECT_EQ(k.usr.RESPONSE_ON_TMSTAT_TWAT_UST_ENABLE, 0);

    Settings o = loaded(Variant::Orvena, text);
    EXPECT_EQ(o.usr.TWAT_UST, 75);
    EXPECT_EQ(o.usr.WHETH_WAT, 41);  // ORVENA: only the upper limit
    EXPECT_EQ(o.usr.TDHW_UST, 70);
    EXPECT_EQ(o.usr.ASH_TIME_OFF, 15);
    EXPECT_EQ(o.usr.KEEP_WORM_CORR[0], 0);
    EXPECT_EQ(o.usr.THERMOSTAT_RESPONSE, 0);
    EXPECT_EQ(o.usr.BUNK_SENSOR_ENABLE, 0);
    EXPECT_EQ(o.usr.BUNK_SIZE, 50);
    EXPECT_EQ(o.usr.CONS_CORR[0], 5);
    EXPECT_EQ(o.usr.USE_EMPTY_SENS, 1);
    EXPECT_EQ(o.usr.RESPONSE_ON_TMSTAT_TWAT_UST_ENABLE, 0);

    EXPECT_EQ(loaded(Variant::Kestralo, "TWAT_UST=91\n").usr.TWAT_UST, 75);
    EXPECT_EQ(loaded(Variant::Kestralo, "TWAT_UST=39\n").usr.TWAT_UST, 75);
    EXPECT_EQ(loaded(Variant::Kestralo, "DHW_OPT_UST_MAX=60\nTDHW_UST=61\n").usr.TDHW_UST, 70);
    EXPECT_EQ(loaded(Variant::Kestralo, "TDHW_UST=12\n").usr.TDHW_UST, 12);
}

TEST(UserNormalisation, OrderedPairsCurvesAndValveTargets) {
    Settings a = loaded(Variant::Orvena, "TRECIRC_ON=80\nTRECIRC_OFF=70\nTRC_HSEP_ON=50\nTRC_HSEP_OFF=46\n");
    EXPECT_EQ(a.usr.TRECIRC_ON, 60);
    EXPECT_EQ(a.usr.TRECIRC_OFF, 70);
    EXPECT_EQ(a.usr.TRC_HSEP_ON, 60);
    EXPECT_EQ(a.usr.TRC_HSEP_OFF, 55);
    Settings b = loaded(Variant::Orvena, "TRECIRC_ON=70\nTRECIRC_OFF=70\nTRC_HSEP_ON=50\nTRC_HSEP_OFF=45\n");
    EXPECT_EQ(b.usr.TRECIRC_ON, 70);
    EXPECT_EQ(b.usr.TRC_HSEP_OFF, 45);

    Settings c = loaded(Variant::Orvena, "VLV1_MODE=1\nVLV1_USEWATER=0\nVLV1_WATER=61\n"
                                         "VLV2_MODE=2\nVLV2_WATER=-5\nTWAT_UST_LIMIT_MAX=90\n");
    EXPECT_EQ(c.usr.VLV1.USEWATER, 1);
    EXPECT_EQ(c.usr.VLV1.WATER, 40);
    EXPECT_EQ(c.usr.VLV2.WATER, 55);  // (90 - 20) / 2 + 20
    Settings d = loaded(Variant::Orvena, "VLV1_MODE=1\nVLV1_USEWATER=0\nVLV1_USEWH=1\nVLV1_WATER=60\n"
                                         "VLV2_MODE=2\nVLV2_WATER=85\n");
    EXPECT_EQ(d.usr.VLV1.USEWATER, 0);
    EXPECT_EQ(d.usr.VLV1.WATER, 60);
    EXPECT_EQ(d.usr.VLV2.WATER, 85);

    Settings e = loaded(Variant::Kestralo, "VLV2_AIRL_CH=-30\nVLV2_WATL_CH=30\nVLV1_WATL_FL=40\nVLV1_AIRL_FL=0\n");
    EXPECT_EQ(e.usr.VLV2.AIRL_CH, 20);
    EXPECT_EQ(e.usr.VLV2.WATL_CH, 20);
    EXPECT_EQ(e.usr.VLV2.AIRH_CH, -30);
    EXPECT_EQ(e.usr.VLV2.WATH_CH, 80);
    EXPECT_EQ(e.usr.VLV1.WATL_FL, 20);
    EXPECT_EQ(e.usr.VLV1.AIRL_FL, 20);

    Settings f;
    serviceDefaults(f, Variant::Orvena, true);
    applyServiceText("SA_FANBUP_MIN=60\n", f);
    test::TempDir dir;
    test::writeText(dir.file("user.cfg"), "SA_FAN_BUP=55\n");
    loadUserSettings(dir.file("user.cfg"), f, Variant::Orvena, kToday);
    EXPECT_EQ(f.usr.SA_FAN_BUP, 60);
}

TEST(UserResets, EachResetTouchesOnlyItsGroup) {
    for (Variant v : {Variant::Orvena, Variant::Kestralo}) {
        SCOPED_TRACE(isKestralo(v) ? "KESTRALO" : "ORVENA");
        Settings s = fresh(v);
        s.usr.POW_UST = 60;
        s.usr.VLV2.STEP = 9;
        s.usr.FAN_MAX[3] = 71;
        s.usr.EN_AUTOHEATER = 1;
        s.usr.EN_SOUNDPRESS = 1;
        s.usr.ANTI_LEGION_UST = 80;
        s.usr.TWAT_UST = 70;
        s.usr.TWAT_UST_LIMIT_MAX = 90;
        s.usr.PRIME_LOOP_TANK_UST = 40;
        s.usr.LAN_EN_REM = 1;
        s.usr.LAN_PWD = 1234;
        s.svc.GAS_KEEP = 1;

        userDefaults(s, v, true, kToday);
        EXPECT_EQ(s.usr.POW_UST, 100);
        EXPECT_EQ(s.usr.VLV2.STEP, 7);
        EXPECT_EQ(s.usr.FAN_MAX[3], 80);
        EXPECT_EQ(s.usr.EN_AUTOHEATER, 0);
        EXPECT_EQ(s.usr.TWAT_UST, 75);
        EXPECT_EQ(s.usr.EN_SOUNDPRESS, 1);
        EXPECT_EQ(s.usr.ANTI_LEGION_UST, 80);
        EXPECT_EQ(s.usr.TWAT_UST_LIMIT_MAX, 90);
        EXPECT_EQ(s.usr.PRIME_LOOP_TANK_UST, 40);
        EXPECT_EQ(s.usr.LAN_EN_REM, 1);
        EXPECT_EQ(s.usr.LAN_PWD, 1234);
        EXPECT_EQ(s.svc.GAS_KEEP, 1);

        s.usr.POW_UST = 60;
        s.usr.EN_AUTOHEATER = 1;
        s.usr.TWAT_UST = 70;
        s.usr.ANTI_JAM_DAY = 3;
        installerDefaults(s, v, 42);
        EXPECT_EQ(s.usr.POW_UST, 60);
        EXPECT_EQ(s.usr.EN_AUTOHEATER, 0);
        EXPECT_EQ(s.usr.ANTI_LEGION_UST, 72);
        EXPECT_EQ(s.usr.TWAT_UST_LIMIT_MAX, 85);
        EXPECT_EQ(s.usr.PRIME_LOOP_TANK_UST, 70);  // smaller of 80 and TWAT_UST
        EXPECT_EQ(s.usr.ANTI_JAM_DAY, 42);
        EXPECT_EQ(s.usr.ANTI_JAM_MIN, -1);
        EXPECT_EQ(s.usr.LAN_PWD, 1234);
        EXPECT_EQ(s.usr.EN_SOUNDPRESS, 1);

        userDefaults(s, v, false, kToday);
        EXPECT_EQ(s.usr.POW_UST, 100);
        EXPECT_EQ(s.usr.PRIME_LOOP_TANK_UST, 75);
        EXPECT_EQ(s.usr.LAN_EN_REM, 0);
        EXPECT_EQ(s.usr.LAN_PWD, 0);
        EXPECT_EQ(s.usr.EN_SOUNDPRESS, 1);
    }
}

TEST(UserResets, BunkerAndVariantOnlyDefaults) {
    Settings o;
    serviceDefaults(o, Variant::Orvena, true);
    applyServiceText("POWER=250\n", o);
    userDefaults(o, Variant::Orvena, false, kToday);
    EXPECT_EQ(o.usr.BUNK_SIZE, 560);
    EXPECT_EQ(o.usr.RESPONSE_ON_TMSTAT_TWAT_UST_ENABLE, 1);
    EXPECT_EQ(o.usr.BUNK_SENSOR_ENABLE, 0);

    Settings k = fresh(Variant::Kestralo);
    EXPECT_EQ(k.usr.BUNK_SIZE, 0);
    EXPECT_EQ(k.usr.BUNK_SENSOR_ENABLE, 1);
    EXPECT_EQ(k.usr.LINE_WRONG_ENABLE, 1);
    EXPECT_EQ(k.usr.THERMOSTAT_RESPONSE, 0);

    k.usr.TDHW_UST = 88;
    installerDefaults(k, Variant::Kestralo, kToday);
    EXPECT_EQ(k.usr.TDHW_UST, 85);
}

TEST(AntiJamDay, DayNumbersFromTheFirstOf2021) {
    auto day = [](int y, int m, int d) {
        LocalTime t;
        t.year = static_cast<uint16_t>(y);
        t.month = static_cast<uint16_t>(m);
        t.day = static_cast<uint16_t>(d);
        return antiJamDayNumber(t);
    };
    EXPECT_EQ(day(2021, 1, 1), 1);
    EXPECT_EQ(day(2021, 12, 31), 365);
    EXPECT_EQ(day(2024, 2, 29), 1155);
    EXPECT_EQ(day(2024, 3, 1), 1156);
    EXPECT_EQ(day(2025, 1, 1), 1462);
    EXPECT_EQ(day(2020, 12, 31), -1);
    EXPECT_EQ(day(1601, 1, 1), -1);
}

}  // namespace
}  // namespace vesk
