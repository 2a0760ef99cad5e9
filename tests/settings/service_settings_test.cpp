// Service family: model tables, POWER look-up, acceptance, defaults,
// normalisation and the service tool's file order.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/line_parser.h"
#include "settings/model_tables.h"
#include "settings/service_table.h"
#include "settings/settings_file.h"
#include "support/test_support.h"

namespace vesk {
namespace {

Settings factory(Variant v = Variant::Orvena) {
    Settings s;
    serviceDefaults(s, v, true);
    return s;
}

void apply(Settings& s, std::string_view text) { applyServiceText(text, s); }

std::vector<int32_t> arr(const FuelArray& a) { return {a, a + kFuelCount}; }

TEST(ModelTables, PowerSearchAcrossTablesIgnoringType) {
    EXPECT_EQ(findModelByPower(16).boilerType, 0);
    EXPECT_EQ(findModelByPower(85).boilerType, 1);
    EXPECT_EQ(findModelByPower(150).boilerType, 2);
    EXPECT_EQ(findModelByPower(100).boilerType, 4);
    EXPECT_EQ(findModelByPower(17).record, nullptr);
    EXPECT_EQ(findModelByPower(0).record, nullptr);
    EXPECT_EQ(modelTable(1).size(), 8u);
    EXPECT_EQ(modelTable(3).size(), 3u);
    EXPECT_TRUE(modelTable(5).empty());
    EXPECT_TRUE(modelTable(-1).empty());
    ASSERT_NE(findModelRecord(1, 135), nullptr);
    EXPECT_EQ(findModelRecord(1, 135)->worm100[1], 238);
    EXPECT_EQ(findModelRecord(0, 300), nullptr);
}

TEST(ModelTables, FuelListsAndModelNames) {
    EXPECT_EQ(fuelNames(1, 45).size(), 6u);
    EXPECT_EQ(fuelNames(1, 45)[1], "БМСШ");
    EXPECT_EQ(fuelNames(1, 85).size(), 4u);
    EXPECT_EQ(fuelNames(4, 15), (std::vector<std::string_view>{"УГОЛЬ Б.О.", "УГОЛЬ Д.О.", "ПЕЛЛЕТЫ"}));
    EXPECT_EQ(fuelNames(2, 150)[3], "ПЕЛЛЕТЫ ЛП");
    EXPECT_EQ(modelName(3), "TALVO");
    EXPECT_EQ(modelName(4), "Кестрало");
    EXPECT_EQ(modelName(7), "KESTRALO");
}

TEST(ServiceValues, PowerOnlyFromTheModelTables) {
    Settings s = factory();
    apply(s, "POWER=17\n");
    EXPECT_EQ(s.svc.POWER, 16);
    EXPECT_EQ(s.svc.modelBunkerVolume, 400);

    apply(s, "POWER=150\n");  // BOILER_TYPE is still 0
    EXPECT_EQ(s.svc.POWER, 150);
    EXPECT_EQ(s.svc.modelBunkerVolume, 420);
    EXPECT_EQ(arr(s.svc.feedRate), (std::vector<int32_t>{1563, 1563, 1563, 1563, 0, 0}));
    // A POWER line does not reload the per-fuel arrays.
    EXPECT_EQ(arr(s.svc.WORM100), (std::vector<int32_t>{55, 84, 47, 50, 0, 0}));

    apply(s, "POWER=85\n");  // not a table 2/3 record: feed rates stay
    EXPECT_EQ(s.svc.modelBunkerVolume, 800);
    EXPECT_EQ(s.svc.feedRate[0], 1563);
}

TEST(ServiceValues, RangesSignedBoundsAndPerFuelEntries) {
    Settings s = factory();
    apply(s, "GPID_KP=-5\nWORM_CORR_MAX=-3\nWORM_SPEED=3\nFAN100=69\nFAN_BURNUP=91\n"
             "FAN_MIN=12,45,9,40\nBLOWUP_TIME=31,0\nEMSTART_TEMP=100\nEMSTART_ENABLE=0\n"
             "SERIAL=-7\nTESTVAL_1=123456\nBOILER_TYPE=5\nUNKNOWN=1\nTWAT_UST=60\n");
    EXPECT_EQ(s.svc.GPID_KP, -5);
    EXPECT_EQ(s.svc.WORM_CORR_MAX, -3);
    EXPECT_EQ(s.svc.WORM_SPEED, 0);
    EXPECT_EQ(s.svc.FAN100, 80);
    EXPECT_EQ(s.svc.FAN_BURNUP, 50);  // default outside its own range stays
    EXPECT_EQ(arr(s.svc.FAN_MIN), (std::vector<int32_t>{12, 30, 5, 40, 0, 0}));
    EXPECT_EQ(s.svc.BLOWUP_TIME[0], 5);
    EXPECT_EQ(s.svc.BLOWUP_TIME[1], 0);
    EXPECT_EQ(s.svc.EMSTART_TEMP, 100);
    EXPECT_EQ(s.svc.EMSTART_ENABLE, 0);
    EXPECT_EQ(s.svc.SERIAL, -7);
    EXPECT_EQ(s.svc.TESTVAL_1, 123456);
    EXPECT_EQ(s.svc.BOILER_TYPE, 0);
    EXPECT_FALSE(applyServiceValue(s, "UNKNOWN", nullptr, 0));
}

TEST(ServiceValues, AugerOnTimeKeptBelowItsPeriodAfterLoading) {
    test::TempDir dir;
    test::writeText(dir.file("service.cfg"), "WORM_PERIOD=20,20,40\nWORM100=300,300,300\n");
    Settings s;
    ASSERT_TRUE(loadServiceSettings(dir.file("service.cfg"), s, Variant::Orvena));
    EXPECT_EQ(arr(s.svc.WORM100), (std::vector<int32_t>{190, 190, 300, 50, 0, 0}));
    EXPECT_EQ(arr(s.svc.WORM_PERIOD), (std::vector<int32_t>{20, 20, 40, 90, 0, 0}));
}

TEST(ServiceDefaults, FactoryStateAndModelRecord) {
    Settings s;
    s.svc.POWER = 250;
    s.svc.BOILER_TYPE = 3;
    s.svc.BLOWUP_TIME[4] = 9;
    s.svc.feedRate[0] = 7;
    s.svc.resetToZero = 4;
    serviceDefaults(s, Variant::Kestralo, true);
    EXPECT_EQ(s.svc.POWER, 16);
    EXPECT_EQ(s.svc.BOILER_TYPE, 0);
    EXPECT_EQ(arr(s.svc.WORM_PERIOD), (std::vector<int32_t>{90, 180, 90, 90, 0, 0}));
    EXPECT_EQ(arr(s.svc.FAN_MIN_MODEL), (std::vector<int32_t>{20, 30, 5, 10, 0, 0}));
    EXPECT_EQ(arr(s.svc.BLOWUP_TIME), (std::vector<int32_t>{5, 5, 3, 0, 9, 0}));
    EXPECT_EQ(s.svc.feedRate[0], 0);
    EXPECT_EQ(s.svc.modelBunkerVolume, 400);
    EXPECT_EQ(s.svc.resetToZero, 0);
    EXPECT_EQ(s.svc.spare5, 5);
    EXPECT_EQ(s.svc.spare10, 10);
    EXPECT_EQ(s.svc.GAS_MAX, 260);
    EXPECT_EQ(s.svc.TESTVAL_1, -1);
    EXPECT_EQ(s.svc.EMSTART_TIMEON, 90);

    Settings o = factory(Variant::Orvena);
    EXPECT_EQ(arr(o.svc.FAN_MIN_MODEL), (std::vector<int32_t>(kFuelCount, 0)));
}

TEST(ServiceDefaults, WithoutFactoryStepTheModelIsKept) {
    Settings s = factory();
    s.svc.BOILER_TYPE = 3;
    s.svc.POWER = 200;
    s.svc.GAS_KEEP = 1;
    serviceDefaults(s, Variant::Orvena, false);
    EXPECT_EQ(s.svc.POWER, 200);
    EXPECT_EQ(s.svc.BOILER_TYPE, 3);
    EXPECT_EQ(s.svc.GAS_KEEP, 100);
    EXPECT_EQ(s.svc.GAS_MAX, 310);
    EXPECT_EQ(s.svc.GAS_CLEAN, 290);
    EXPECT_EQ(arr(s.svc.WORM100), (std::vector<int32_t>{40, 68, 39, 42, 0, 0}));
    EXPECT_EQ(s.svc.modelBunkerVolume, 420);

    // A power the type does not have falls back to the type's first record.
    s.svc.BOILER_TYPE = 4;
    s.svc.POWER = 200;
    serviceDefaults(s, Variant::Orvena, false);
    EXPECT_EQ(arr(s.svc.WORM_PERIOD), (std::vector<int32_t>{120, 240, 90, 0, 0, 0}));
    EXPECT_EQ(s.svc.GAS_MAX, 260);
}

TEST(ServiceFile, ServiceToolOrderAndRoundTrip) {
    const std::vector<std::string> order = {
        "POWER", "BOILER_TYPE", "SERIAL", "GAS_BURNUP", "FAN_BURNUP", "WORM_BURNUP", "BURNUP_TRY",
        "BURNUP_TOUT", "GAS_KEEP", "PRECHIMN_WORM", "WORM_PERIOD", "WORM100", "FAN_MIN", "BLOWUP_TIME",
        "WORM_CORR_MAX", "FAN100", "AIR_HYST", "DHW_HYST", "GAS_MAX", "GAS_CLEAN", "PUMPS_TOUT",
        "DHWFALL_TOUT", "MAX_TSENS_CORR", "WORM_OVC_CUR", "WORM_OVC_TOUT", "WORM_SPEED", "WORM_REV_TIME",
        "WORM_FORW_TIME", "WORM_PAUSE_TIME", "SA_GAS_BURNUP", "SA_FANBUP_MIN", "SA_BUP_TIME", "SA_BLOW_TIME",
        "SA_FADE_TIME", "SA_GAS_LIM", "SA_FAN_MIN", "SA_WPID_KP", "SA_WPID_KI", "SA_WPID_KD", "WPID_KP",
        "WPID_KI", "WPID_KD", "GPID_KP", "GPID_KI", "GPID_KD", "APID_KP", "APID_KI", "APID_KD", "POWER_MIN",
        "EMSTART_TEMP", "EMSTART_DELTA", "EMSTART_TIMEON", "EMSTART_TIMEOFF", "EMSTART_ENABLE", "TESTVAL_1"};

    Settings s = factory();
    apply(s, "POWER=105\nBOILER_TYPE=1\nSERIAL=123456\nWORM_PERIOD=30,60,15,15,20,20\n"
             "WORM100=111,186,42,45,7,8\nFAN_MIN=20,30,10,10,11,12\nBLOWUP_TIME=1,2,3,4,5,6\n"
             "GPID_KD=-9\nEMSTART_TIMEON=999\nEMSTART_ENABLE=0\nTESTVAL_1=-44\n");
    const std::string text = formatServiceFile(s);

    std::vector<std::string> keys;
    for (std::string_view line : splitLines(text)) keys.emplace_back(line.substr(0, line.find('=')));
    EXPECT_EQ(keys, order);
    EXPECT_NE(text.find("\nWORM100=111,186,42,45,7,8\n"), std::string::npos);
    EXPECT_NE(text.find("\nGPID_KD=-9\n"), std::string::npos);
    EXPECT_EQ(text.substr(0, 10), "POWER=105\n");
    EXPECT_EQ(text.back(), '\n');

    test::TempDir dir;
    ASSERT_TRUE(saveServiceSettings(dir.file("service.cfg"), s));
    Settings back;
    ASSERT_TRUE(loadServiceSettings(dir.file("service.cfg"), back, Variant::Orvena));
    EXPECT_EQ(formatServiceFile(back), text);
    EXPECT_EQ(back.svc.modelBunkerVolume, 800);
}

TEST(ServiceFile, MissingFileLeavesFactoryDefaults) {
    test::TempDir dir;
    Settings s;
    s.svc.POWER = 300;
    EXPECT_FALSE(loadServiceSettings(dir.file("service.cfg"), s, Variant::Orvena));
    EXPECT_EQ(s.svc.POWER, 16);
    EXPECT_EQ(s.svc.WORM100[1], 84);
}

}  // namespace
}  // namespace vesk
