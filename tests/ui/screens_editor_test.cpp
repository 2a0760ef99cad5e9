// The editor pattern through the real AppFrame: limits at the press, the
// selected field, check boxes and options, what "ОК" stores and when it
// writes user.cfg, and the editors with extra steps.
#include "menu_fixture.h"
#include "platform/backlight.h"
#include "platform/registry.h"
#include "ui/toolkit/caption_value_field.h"

namespace vesk::test {
namespace {

class OrvenaEditors : public OrvenaMenus {
protected:
    EditorScreen* installerEditor(const std::string& entry) {
        ListMenuScreen* m = openInstallerMenu();
        if (!m) return nullptr;
        return openEditorFrom(m, entry);
    }
    EditorScreen* userEditor(const std::string& entry) { return openEditorFrom(openMenu(), entry); }
    void press(RepeatButton* b, int times = 1) {
        for (int i = 0; i < times; ++i) tapWidget(b);
    }
};

TEST_F(OrvenaEditors, AntiFreezeKeepsTwoToTwentyAndStoresOnOk) {
    locked([](ControllerState& s) { s.usr.ANTI_FREEZE_TEMP = 19; });
    EditorScreen* e = installerEditor("АНТИЗАМОРОЗКА");
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->title()->text(), "АНТИЗАМОРОЗКА");
    EXPECT_EQ(e->valueField(1)->rect().top, 65);
    EXPECT_EQ(e->checkBox(0)->rect().left, 10);
    EXPECT_EQ(e->label(0)->rect().left, 56);
    EXPECT_EQ(e->selected(), 1) << "the only number field is selected from the start";
    EXPECT_EQ(e->increaseButton()->rect().left, 255);
    EXPECT_EQ(e->okButton()->rect().top, 185);
    press(e->increaseButton(), 3);
    EXPECT_EQ(e->valueField(1)->valueText(), "20");
    EXPECT_EQ(state.usr.ANTI_FREEZE_TEMP, 19) << "nothing stored before ОК";
    // The label flips the check box; the box flips itself.
    const bool on = e->checkBox(0)->on();
    tapWidget(e->label(0));
    EXPECT_NE(e->checkBox(0)->on(), on);
    tapWidget(e->okButton());
    EXPECT_EQ(state.usr.ANTI_FREEZE_TEMP, 20);
    EXPECT_EQ(state.usr.ANTI_FREEZE_ENABLE, on ? 0 : 1);
    EXPECT_TRUE(userCfgHas("ANTI_FREEZE_TEMP=20"));

    locked([](ControllerState& s) { s.usr.ANTI_FREEZE_TEMP = 3; });
    e = openEditorFrom(topAs<ListMenuScreen>(), "АНТИЗАМОРОЗКА");
    press(e->decreaseButton(), 4);
    EXPECT_EQ(e->valueField(1)->valueText(), "2");
    tapWidget(e->cancelButton());
    EXPECT_EQ(state.usr.ANTI_FREEZE_TEMP, 3) << "ОТМЕНА stores nothing";
}

TEST_F(OrvenaEditors, OkWithoutChangeDoesNotWriteTheFile) {
    EditorScreen* e = installerEditor("АНТИЗАМОРОЗКА");
    press(e->increaseButton());
    press(e->decreaseButton());
    tapWidget(e->okButton());
    EXPECT_EQ(userCfg(), "");
    // The set-point editors always save.
    tapWidget(topAs<ListMenuScreen>()->backButton());
    e = openEditorFrom(topAs<ListMenuScreen>(), "ТЕМПЕРАТУРА КОТЛА");
    ASSERT_NE(e, nullptr);
    tapWidget(e->okButton());
    EXPECT_TRUE(userCfgHas("TWAT_UST=75"));
}

TEST_F(OrvenaEditors, LoweringTheMaximumPullsTheSetpointDown) {
    locked([](ControllerState& s) { s.usr.TWAT_UST = 85; });
    EditorScreen* e = installerEditor("УСТАВКИ ТЕМПЕРАТУРЫ");
    ASSERT_NE(e, nullptr);
    const int maxField = e->indexOf("TWAT_UST_LIMIT_MAX");
    tapWidget(e->valueField(maxField));
    EXPECT_EQ(e->selected(), maxField);
    EXPECT_FALSE(e->valueField(e->indexOf("TWAT_UST_LIMIT_MIN"))->pressed()) << "the other field is unselected";
    press(e->decreaseButton(), 20);
    EXPECT_EQ(e->copy(maxField), 75);
    tapWidget(e->okButton());
    EXPECT_EQ(state.usr.TWAT_UST_LIMIT_MAX, 75);
    EXPECT_EQ(state.usr.TWAT_UST, 75);
    EXPECT_TRUE(userCfgHas("TWAT_UST=75"));
    EXPECT_TRUE(userCfgHas("TWAT_UST_LIMIT_MAX=75"));
}

TEST_F(OrvenaEditors, LimitsAreReadAtThePress) {
    EditorScreen* e = userEditor("ТЕМПЕРАТУРА КОТЛА");
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->bigValue()->text(), "75°C");
    // Another path lowers the maximum while the editor is open.
    locked([](ControllerState& s) { s.usr.TWAT_UST_LIMIT_MAX = 76; });
    press(e->increaseButton(), 5);
    EXPECT_EQ(e->bigValue()->text(), "76°C");
    tapWidget(e->okButton());
    EXPECT_EQ(state.usr.TWAT_UST, 76);
}

TEST_F(OrvenaEditors, ConsumptionCorrectionShowsSignedPercent) {
    EditorScreen* e = userEditor("КОРРЕКЦИЯ РАСХОДА");
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->bigValue()->text(), "0%");
    press(e->increaseButton(), 5);
    EXPECT_EQ(e->bigValue()->text(), "+5%");
    press(e->decreaseButton(), 10);
    EXPECT_EQ(e->bigValue()->text(), "-5%");
    tapWidget(e->okButton());
    EXPECT_EQ(state.usr.CONS_CORR[state.usr.FUEL], -5);
}

TEST_F(OrvenaEditors, BurnerModeAwayFromAutomaticKeepsTheFuel) {
    locked([](ControllerState& s) {
        s.usr.FUEL = 2;
        s.burnerState = kBurning;
    });
    EditorScreen* e = userEditor("РЕЖИМ РАБОТЫ КОТЛА");
    ASSERT_NE(e, nullptr);
    const int fuel = e->indexOf("FUEL"), heat = e->indexOf("HEAT_MODE"), sep = e->indexOf("USE_HYDROSEP");
    EXPECT_EQ(e->label(fuel)->text(), "ПЕЛЛЕТЫ");
    EXPECT_EQ(e->label(heat)->rect().top, 96);
    tapWidget(e->rightArrow(fuel));
    EXPECT_EQ(e->label(fuel)->text(), "ПЕЛЛЕТЫ ЛП");
    tapWidget(e->rightArrow(fuel));
    EXPECT_EQ(e->label(fuel)->text(), "УГОЛЬ Б.О.") << "wraps";
    tapWidget(e->rightArrow(e->indexOf("BURN_MODE")));
    EXPECT_FALSE(e->label(fuel)->visible());
    EXPECT_EQ(e->label(heat)->rect().top, 60);
    EXPECT_EQ(e->checkBox(sep)->rect().top, 96);
    tapWidget(e->leftArrow(heat));
    EXPECT_EQ(e->label(heat)->text(), "ГВС");
    tapWidget(e->okButton());
    EXPECT_EQ(state.usr.BURN_MODE, 1);
    EXPECT_EQ(state.usr.FUEL, 2);
    EXPECT_EQ(state.usr.HEAT_MODE, 3);
    EXPECT_EQ(state.burnerState, kStop) << "a changed mode goes through commandBurner 0";
    EXPECT_TRUE(userCfgHas("BURN_MODE=1"));
}

TEST_F(OrvenaEditors, FuelListFollowsModelAndPower) {
    state.svc.BOILER_TYPE = 1;
    state.svc.POWER = 20;
    EditorScreen* e = userEditor("РЕЖИМ РАБОТЫ КОТЛА");
    const int fuel = e->indexOf("FUEL");
    tapWidget(e->leftArrow(fuel));
    EXPECT_EQ(e->label(fuel)->text(), "ПЕЛЛЕТЫ ЛП");
    tapWidget(e->leftArrow(fuel));
    EXPECT_EQ(e->label(fuel)->text(), "ПЕЛЛЕТЫ");
    tapWidget(e->leftArrow(fuel));
    EXPECT_EQ(e->label(fuel)->text(), "ДМСШ");
    tapWidget(e->okButton());
    EXPECT_EQ(state.usr.FUEL, 3);
}

TEST_F(OrvenaEditors, ChangedValueReachesStateAndFile) {
    EditorScreen* e = userEditor("МОЩНОСТЬ КОТЛА");
    EXPECT_EQ(e->selected(), 0);
    EXPECT_EQ(e->valueField(0)->rect().top, 50);
    EXPECT_EQ(e->valueField(1)->rect().top, 112);
    EXPECT_EQ(e->valueField(0)->valueText(), "100%");
    press(e->increaseButton());
    EXPECT_EQ(e->valueField(0)->valueText(), "100%") << "at its limit";
    press(e->decreaseButton(), 3);
    tapWidget(e->valueField(1));
    const int minBefore = e->copy(1);
    press(e->decreaseButton(), 50);
    EXPECT_EQ(e->copy(1), state.svc.POWER_MIN);
    EXPECT_LE(e->copy(1), minBefore);
    tapWidget(e->okButton());
    EXPECT_EQ(state.usr.POW_UST, 97);
    EXPECT_TRUE(userCfgHas("POW_UST=97"));
    // What the editor stores loads back from the file.
    Settings loaded;
    loadServiceSettings(dir.file("none.cfg"), loaded, state.variant);
    loadUserSettings(dir.file("user.cfg"), loaded, state.variant, 0);
    EXPECT_EQ(loaded.usr.POW_UST, 97);
}

TEST_F(OrvenaEditors, FailedSaveChangesNothingElse) {
    // A folder where user.cfg should be: the write fails.
    std::filesystem::create_directories(dir.file("user.cfg"));
    EditorScreen* e = installerEditor("АНТИЗАМОРОЗКА");
    press(e->decreaseButton());
    tapWidget(e->okButton());
    EXPECT_EQ(top(), topAs<ListMenuScreen>()) << "the editor closes as usual";
    EXPECT_TRUE(std::filesystem::is_directory(dir.file("user.cfg")));
}

TEST_F(OrvenaEditors, RecirculationLimitsFollowTheOtherField) {
    locked([](ControllerState& s) {
        s.usr.TRECIRC_ON = 60;
        s.usr.TRECIRC_OFF = 62;
    });
    ListMenuScreen* m = openMenu();
    choose(m, "НАСОСЫ И КЛАПАНЫ");
    EditorScreen* e = openEditorFrom(topAs<ListMenuScreen>(), "НАСОС РЕЦИРКУЛЯЦИИ");
    ASSERT_NE(e, nullptr);
    const int on = e->indexOf("TRECIRC_ON"), off = e->indexOf("TRECIRC_OFF");
    press(e->increaseButton(), 5);
    EXPECT_EQ(e->copy(on), 62);
    tapWidget(e->valueField(off));
    press(e->decreaseButton(), 5);
    EXPECT_EQ(e->copy(off), 62);
}

TEST_F(OrvenaEditors, PumpsIdleChoicesAreExclusive) {
    ListMenuScreen* m = openMenu();
    choose(m, "НАСОСЫ И КЛАПАНЫ");
    EditorScreen* e = openEditorFrom(topAs<ListMenuScreen>(), "РАБОТА НАСОСОВ");
    ASSERT_NE(e, nullptr);
    EXPECT_TRUE(e->checkBox(0)->on());
    tapWidget(e->label(2));
    EXPECT_FALSE(e->checkBox(0)->on());
    EXPECT_TRUE(e->checkBox(2)->on());
    tapWidget(e->checkBox(2));
    EXPECT_TRUE(e->checkBox(2)->on()) << "a ticked choice stays ticked";
    tapWidget(e->okButton());
    EXPECT_EQ(state.usr.PUMPS_IDLE_MODE, 2);
}

TEST_F(OrvenaEditors, HeatingPumpsOptionWrapsAndAlwaysSaves) {
    ListMenuScreen* m = openMenu();
    choose(m, "НАСОСЫ И КЛАПАНЫ");
    EditorScreen* e = openEditorFrom(topAs<ListMenuScreen>(), "НАСОСЫ ОТОПЛЕНИЯ ГВС");
    ASSERT_NE(e, nullptr);
    const int idle = e->indexOf("PUMPS_IDLE_MODE");
    tapWidget(e->valueField(idle));
    press(e->decreaseButton());
    EXPECT_EQ(e->copy(idle), 2);
    tapWidget(e->okButton());
    EXPECT_EQ(state.usr.PUMPS_IDLE_MODE, 2);
    EXPECT_TRUE(userCfgHas("TPUMPS_ON=40"));
}

TEST_F(OrvenaEditors, AntiLegionellaEditsTheMinuteOfTheDayAsHoursAndMinutes) {
    locked([](ControllerState& s) { s.usr.ANTI_LEGION_CLOCK = 23 * 60 + 59; });
    EditorScreen* e = installerEditor("АНТИЛЕГИОНЕЛЛА");
    ASSERT_NE(e, nullptr);
    const int day = e->indexOf("ANTI_LEGION_DAY");
    tapWidget(e->valueField(day));
    EXPECT_EQ(e->valueField(day)->valueText(), "СБ");
    // The hours and minutes sit lower in the scrolling field list.
    const int hours = day + 1, minutes = day + 2;
    e->setCopy(hours, 5);
    e->setCopy(minutes, 7);
    tapWidget(e->okButton());
    EXPECT_EQ(state.usr.ANTI_LEGION_CLOCK, 5 * 60 + 7);
}

TEST_F(OrvenaEditors, SensorSwitchOffRestartsTheTimers) {
    locked([](ControllerState& s) {
        s.protection.reminderStart = 1234;
        s.localTime.hour = 10;
        s.localTime.minute = 30;
        s.combustion.fadeCheckMinute = 5;
    });
    EditorScreen* e = installerEditor("ОТКЛЮЧЕНИЕ АВАРИЙНОГО");
    ASSERT_NE(e, nullptr);
    tapWidget(e->checkBox(0));
    tapWidget(e->okButton());
    EXPECT_EQ(state.usr.THERMO_SWITCH_ENABLE, 0);
    EXPECT_EQ(state.protection.reminderStart, -1);

    e = openEditorFrom(topAs<ListMenuScreen>(), "ОТКЛЮЧЕНИЕ ДАТЧИКА");
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->title()->text(), "ОТКЛ. ДАТЧИКА ТЕМПЕРАТУРЫ ШНЕКА");
    tapWidget(e->cancelButton());
}

TEST_F(OrvenaEditors, BacklightAppliesEachPressAndCancelRestores) {
    Registry registry(dir.file("registry.cfg"));
    ctx.registry = &registry;
    ctx.backlightPresent = [] { return true; };
    locked([](ControllerState& s) { s.usr.BL_LEVEL = 55; });
    ListMenuScreen* m = openMenu();
    choose(m, "ОБЩИЕ НАСТРОЙКИ");
    EditorScreen* e = openEditorFrom(topAs<ListMenuScreen>(), "ЯРКОСТЬ ЭКРАНА");
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->valueField(0)->valueText(), "50%");
    press(e->increaseButton(), 6);
    EXPECT_EQ(state.usr.BL_LEVEL, 100) << "each press is applied at once";
    EXPECT_EQ(registry.getInt(kBacklightLevelKey).value_or(0), 999);
    tapWidget(e->cancelButton());
    EXPECT_EQ(state.usr.BL_LEVEL, 50);
    EXPECT_EQ(registry.getInt(kBacklightLevelKey).value_or(0), 325);
    EXPECT_EQ(userCfg(), "");

    e = openEditorFrom(topAs<ListMenuScreen>(), "ЯРКОСТЬ ЭКРАНА");
    press(e->decreaseButton(), 9);
    EXPECT_EQ(state.usr.BL_LEVEL, 10);
    tapWidget(e->okButton());
    EXPECT_TRUE(userCfgHas("BL_LEVEL=10"));
}

TEST_F(KestraloMenus, ThermostatResponseStepsThroughItsTypes) {
    ListMenuScreen* m = openMenu();
    enterCode(m, "МЕНЮ МОНТАЖНИКА", 5827);
    EditorScreen* e = openEditorFrom(topAs<ListMenuScreen>(), "ОТКЛИК НА ТЕРМОСТАТ");
    ASSERT_NE(e, nullptr);
    const int type = e->indexOf("THERMOSTAT_RESPONSE");
    EXPECT_EQ(e->label(type)->text(), "СНИЖЕНИЕ УСТАВКИ");
    EXPECT_EQ(e->label(type)->rect().left, 66);
    tapWidget(e->leftArrow(type));
    EXPECT_EQ(e->label(type)->text(), "ПОДДЕРЖАНИЕ");
    EXPECT_EQ(e->decreaseButton()->rect().left, 7);
    tapWidget(e->increaseButton());
    tapWidget(e->okButton());
    EXPECT_EQ(state.usr.THERMOSTAT_RESPONSE, 3);
    EXPECT_EQ(state.usr.RESPONSE_ON_TMSTAT_TWAT_UST_DECREASE, 21);
}

TEST_F(KestraloMenus, CombustionCorrectionFanMinimumFollowsTheVariantRule) {
    locked([](ControllerState& s) {
        s.usr.FUEL = 0;
        s.usr.FAN_MIN[0] = s.svc.FAN_MIN[0];
    });
    EditorScreen* e = openEditorFrom(openMenu(), "КОРРЕКЦИЯ ГОРЕНИЯ");
    ASSERT_NE(e, nullptr);
    const int fan = e->indexOf("FAN_MIN");
    tapWidget(e->valueField(fan));
    for (int i = 0; i < 10; ++i) tapWidget(e->increaseButton());
    EXPECT_EQ(e->copy(fan), state.svc.FAN_MIN[0] + 5);
    for (int i = 0; i < 20; ++i) tapWidget(e->decreaseButton());
    EXPECT_EQ(e->copy(fan), state.svc.FAN_MIN[0]);
}


TEST_F(KestraloMenus, TestMenuDrivesSubstitutionAndTheAugerOverheatTest) {
    ListMenuScreen* m = openMenu();
    choose(m, "ТЕСТОВОЕ МЕНЮ");
    auto* tests = topAs<ListMenuScreen>();
    ASSERT_NE(tests, m);
    tapWidget(tests->items()[1]);
    EditorScreen* e = topAs<EditorScreen>();
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->title()->text(), "ТЕСТИРОВАНИЕ ОШИБОК");
    EXPECT_EQ(e->label(0)->rect().left, 56);
    tapWidget(e->label(0));
    tapWidget(e->okButton());
    // Hotter than the emergency start threshold: the protection's own fault.
    EXPECT_EQ(state.substAuger, state.svc.EMSTART_TEMP + 10);
    EXPECT_EQ(userCfg(), "") << "test values are not settings";
    tapWidget(tests->items()[1]);
    e = topAs<EditorScreen>();
    EXPECT_TRUE(e->checkBox(0)->on());
    tapWidget(e->checkBox(0));
    tapWidget(e->okButton());
    EXPECT_EQ(state.substAuger, -1) << "cleared again";

    tapWidget(tests->items()[0]);
    e = topAs<EditorScreen>();
    ASSERT_NE(e, nullptr);
    tapWidget(e->checkBox(0));
    EXPECT_EQ(e->valueField(2)->valueText(), "--") << "not substituted";
    tapWidget(e->valueField(2));
    for (int i = 0; i < 3; ++i) tapWidget(e->increaseButton());
    tapWidget(e->okButton());
    EXPECT_EQ(state.substOn, 1);
    EXPECT_EQ(state.substWater, 2);
    EXPECT_EQ(state.substGas, -1);
}

}  // namespace
}  // namespace vesk::test
