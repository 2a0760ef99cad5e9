// The screens with their own layouts through the real AppFrame: date and
// time, sensor corrections, bunker filling, the network screens and the QR
// code, the SD copy, and the semi-automatic start/stop screen.
#include <cstdio>

#include "control/schedule_eval.h"
#include "menu_fixture.h"
#include "net/network_settings.h"
#include "platform/registry.h"
#include "settings/sd_transfer.h"
#include "settings/user_table.h"
#include "ui/screens/menu/button_page.h"
#include "ui/screens/own/date_time_screen.h"
#include "ui/screens/own/network_screens.h"
#include "ui/toolkit/message_box.h"

namespace vesk::test {
namespace {

class OwnLayouts : public BothMenus {
protected:
    void press(Widget* b, int times = 1) {
        for (int i = 0; i < times; ++i) tapWidget(b);
    }
    ListMenuScreen* general() {
        choose(openMenu(), "ОБЩИЕ НАСТРОЙКИ");
        return topAs<ListMenuScreen>();
    }
    ButtonPage* remotePage() {
        choose(openMenu(), "УДАЛЕННОЕ ПОДКЛЮЧЕНИЕ");
        return topAs<ButtonPage>();
    }
    MessageBox* box() const { return dynamic_cast<MessageBox*>(frame->top()); }
};

TEST_P(OwnLayouts, DateTimeOkMovesThePanelClockAndTheScheduleFollows) {
    {
        std::lock_guard<std::mutex> g(schedule.scheduleLock);
        Schedule& s = schedule.schedule;
        s.enabled = 1;
        s.dayProgram[0] = 0;  // Monday
        s.programs[0].periods[0] = {6, 22, 0, 0, 21, 1, 65};
        s.programs[0].count = 1;
    }
    clock.setLocalTime({2026, 4, 4, 29, 23, 58, 30, 0});  // Wednesday 29 April, 23:58
    choose(general(), "ВРЕМЯ И ДАТА");
    auto* d = topAs<DateTimeScreen>();
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->valueLabel(DateTimeScreen::kMonth)->text(), "АПР");
    press(d->upButton(DateTimeScreen::kDay), 2);  // 29 -> 30 -> 1 (April has 30)
    EXPECT_EQ(d->valueLabel(DateTimeScreen::kDay)->text(), "1");
    press(d->downButton(DateTimeScreen::kDay), 1);  // back to 30
    press(d->upButton(DateTimeScreen::kMonth), 2);  // June
    press(d->upButton(DateTimeScreen::kHour), 11);  // 23 wraps to 0 .. 10
    EXPECT_EQ(d->valueLabel(DateTimeScreen::kHour)->text(), "10");
    press(d->downButton(DateTimeScreen::kMonth), 3);  // March
    press(d->upButton(DateTimeScreen::kDay), 1);      // 31 March
    press(d->upButton(DateTimeScreen::kMonth), 1);    // April: clamped to 30
    EXPECT_EQ(d->edited().day, 30) << "no 31 April";
    press(d->downButton(DateTimeScreen::kDay), 3);  // 27 April 2026, a Monday
    tapWidget(d->okButton());
    const LocalTime now = clock.localTime();
    EXPECT_EQ(now.day, 27);
    EXPECT_EQ(now.month, 4);
    EXPECT_EQ(now.hour, 10);
    EXPECT_EQ(now.second, 0);
    EXPECT_EQ(now.dayOfWeek, 1);
    EXPECT_EQ(state.localTime.day, 27) << "the controller's copy follows";
    EXPECT_EQ(state.usr.ANTI_JAM_DAY, antiJamDayNumber(now));
    Period p;
    EXPECT_EQ(evaluateSchedule(schedule, clock.localTime(), p), 1) << "Monday 10:00 lies in the program";
    EXPECT_EQ(p.waterTarget, 65);
}

TEST_P(OwnLayouts, SensorCorrectionShowsTenthsOrTheFault) {
    locked([](ControllerState& s) {
        s.boardVersion = kTenthsFirmware;
        s.svc.MAX_TSENS_CORR = 2;
        s.sensors[kSensorWater] = 623;  // 62.3 °C, no correction in force
        s.sensors[kSensorGas] = 0x4000;
    });
    choose(general(), "КОРРЕКЦИЯ ДАТЧИКОВ");
    ListMenuScreen* list = topAs<ListMenuScreen>();
    EditorScreen* e = openEditorFrom(list, "ДАТЧИК КОТЛА");
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->title()->text(), "КОРРЕКЦИЯ ДАТЧИКА ТЕПЛОНОСИТЕЛЯ");
    EXPECT_EQ(e->bigValue()->text(), "+0.0|62.3°C");
    press(e->increaseButton(), 15);
    EXPECT_EQ(e->bigValue()->text(), "+1.5|63.8°C");
    press(e->increaseButton(), 10);
    EXPECT_EQ(e->copy(0), 20) << "at most MAX_TSENS_CORR degrees, in tenths";
    press(e->decreaseButton(), 27);
    EXPECT_EQ(e->bigValue()->text(), "-0.7|61.6°C");
    tapWidget(e->okButton());
    EXPECT_EQ(state.usr.TWAT_CORR, -7);
    EXPECT_TRUE(userCfgHas("TWAT_CORR=-7"));

    e = openEditorFrom(topAs<ListMenuScreen>(), "ДАТЧИК ГАЗОВ");
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->bigValue()->text(), "Обрыв");
    press(e->increaseButton(), 3);
    press(e->decreaseButton(), 1);
    EXPECT_EQ(e->copy(0), 0) << "the arrows do nothing on a faulty reading";
    locked([](ControllerState& s) { s.sensors[kSensorGas] = 150; });
    refresh();
    EXPECT_EQ(e->bigValue()->text(), "0|150°C") << "whole degrees for the flue gas";
    std::filesystem::remove(dir.file("user.cfg"));
    tapWidget(e->okButton());
    EXPECT_FALSE(userCfg().empty()) << "always saves";
}

TEST_P(OwnLayouts, PasswordDigitsWrapAndMakeTheNumber) {
    locked([](ControllerState& s) { s.usr.LAN_PWD = 123459; });
    tapWidget(remotePage()->buttons()[0]);
    auto* n = topAs<NetworkScreen>();
    ASSERT_NE(n, nullptr);
    tapWidget(n->passwordButton());
    auto* p = topAs<PasswordScreen>();
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->digitLabel(5)->text(), "9");
    tapWidget(p->upButton(5));
    EXPECT_EQ(p->digitLabel(5)->text(), "0") << "9 wraps to 0";
    press(p->downButton(0), 2);
    EXPECT_EQ(p->digitLabel(0)->text(), "9") << "0 wraps to 9";
    tapWidget(p->okButton());
    EXPECT_EQ(state.usr.LAN_PWD, 923450);
    EXPECT_TRUE(userCfgHas("LAN_PWD=923450"));
    EXPECT_EQ(top(), n);
}

TEST_P(OwnLayouts, NetworkOkRestartsOnlyWhenTheDriverSettingsChanged) {
    Registry registry("");
    ctx.registry = &registry;
    int restarts = 0;
    ctx.restartPanel = [&restarts] { ++restarts; };
    registry.setInt(kRegLinkMode, kRequiredLinkMode);
    registry.setInt(kRegEnableDhcp, kRequiredDhcp);
    ButtonPage* page = remotePage();
    tapWidget(page->buttons()[0]);
    auto* n = topAs<NetworkScreen>();
    ASSERT_NE(n, nullptr);
    tapWidget(n->homeLabel());
    tapWidget(n->okButton());
    EXPECT_EQ(top(), page) << "nothing to apply: the screen closes";
    EXPECT_EQ(state.usr.LAN_EN_LOC, 1);
    EXPECT_TRUE(userCfgHas("LAN_EN_LOC=1"));
    EXPECT_EQ(restarts, 0);

    registry.setInt(kRegLinkMode, 100);
    tapWidget(page->buttons()[0]);
    tapWidget(topAs<NetworkScreen>()->internetLabel());
    tapWidget(topAs<NetworkScreen>()->okButton());
    ASSERT_NE(box(), nullptr);
    EXPECT_EQ(box()->textLabel()->text(), "ДЛЯ ПРИМЕНЕНИЯ НАСТРОЕК КОТЕЛ БУДЕТ ПЕРЕЗАГРУЖЕН");
    EXPECT_EQ(registry.getInt(kRegLinkMode), kRequiredLinkMode);
    EXPECT_EQ(restarts, 0) << "not before the notice is acknowledged";
    tapWidget(box()->okButton());
    EXPECT_EQ(restarts, 1);
    EXPECT_EQ(state.usr.LAN_EN_REM, 1);
}

TEST_P(OwnLayouts, StatusShowsTheNetworkTexts) {
    LinkView view;
    ctx.linkStatus = [&view] { return view; };
    ctx.remoteHost = "remote.example";
    tapWidget(remotePage()->buttons()[0]);
    tapWidget(topAs<NetworkScreen>()->statusButton());
    auto* st = topAs<NetworkStatusScreen>();
    ASSERT_NE(st, nullptr);
    EXPECT_EQ(st->text()->text(), "НЕТ ПОДКЛЮЧЕНИЯ К СЕТИ");
    view = {true, 0xC0A80102, 2, true};
    refresh();
    EXPECT_EQ(st->text()->text(), networkStatusText(view, "remote.example"));
    EXPECT_NE(st->text()->text().find("REMOTE.EXAMPLE"), std::string::npos);
}

TEST_P(OwnLayouts, QrSymbolDecodesFromTheScreen) {
    locked([](ControllerState& s) {
        s.svc.BOILER_TYPE = 2;
        s.svc.POWER = 200;
        s.svc.SERIAL = 1234;
        s.usr.LAN_PWD = 42;
    });
    tapWidget(remotePage()->buttons()[2]);
    auto* q = topAs<QrScreen>();
    ASSERT_NE(q, nullptr);
    frame->processPending();
    EXPECT_TRUE(q->drawn());
    EXPECT_EQ(q->encodedText(), "Vesk Orvena\nP:200 kW\nID:006-001234\nNETPASS:000042\n");
    const std::string png = dir.file("qr.png");
    ASSERT_EQ(cairo_surface_write_to_png(frame->framebufferSurface(), png.c_str()), CAIRO_STATUS_SUCCESS);
    FILE* zbar = ::popen(("zbarimg -q --raw " + png + " 2>/dev/null").c_str(), "r");
    ASSERT_NE(zbar, nullptr);
    std::string decoded;
    char buf[256];
    while (size_t n = std::fread(buf, 1, sizeof buf, zbar)) decoded.append(buf, n);
    ::pclose(zbar);
    // zbarimg ends its output with one line feed of its own.
    EXPECT_EQ(decoded, q->encodedText() + "\n");
}

TEST_P(OwnLayouts, SdCopyOnOneScreenFailsTheCheckAndOnAReopenedOneSucceeds) {
    const std::string sd = dir.file("sd/");
    std::filesystem::create_directories(sd);
    ctx.sdDir = sd;
    writeText(dir.file("service.cfg"), "POWER=150\nBOILER_TYPE=2\nSERIAL=777\n");
    locked([](ControllerState& s) {
        s.usr.TWAT_UST = 71;
        s.usr.LAN_PWD = 111111;
        s.usr.LAN_EN_LOC = 1;
    });
    ctx.saveUserSettings();
    ListMenuScreen* g = general();
    choose(g, "СОХРАНЕНИЕ НАСТРОЕК");
    auto* page = topAs<ButtonPage>();
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->title()->text(), "КОНФИГУРАЦИЯ");
    tapWidget(page->buttons()[0]);
    ASSERT_NE(box(), nullptr);
    EXPECT_EQ(box()->textLabel()->text(), "СЕРВИСНЫЕ И ПОЛЬЗОВАТЕЛЬСКИЕ НАСТРОЙКИ УСПЕШНО СОХРАНЕНЫ!");
    tapWidget(box()->okButton());
    locked([](ControllerState& s) { s.usr.TWAT_UST = 60; });
    tapWidget(page->buttons()[1]);
    ASSERT_NE(box(), nullptr);
    EXPECT_EQ(box()->titleLabel()->text(), "ОШИБКА!");
    EXPECT_EQ(box()->textLabel()->text(), "ОШИБКА ЗАГРУЗКИ НАСТРОЕК!") << "the key stream ran on";
    tapWidget(box()->okButton());
    EXPECT_EQ(state.usr.TWAT_UST, 60) << "nothing changed";

    tapWidget(page->backButton());
    choose(topAs<ListMenuScreen>(), "СОХРАНЕНИЕ НАСТРОЕК");
    tapWidget(topAs<ButtonPage>()->buttons()[1]);
    ASSERT_NE(box(), nullptr);
    EXPECT_EQ(box()->textLabel()->text(), "СЕРВИСНЫЕ И ПОЛЬЗОВАТЕЛЬСКИЕ НАСТРОЙКИ УСПЕШНО ПРИМЕНЕНЫ!");
    EXPECT_EQ(state.usr.TWAT_UST, 71) << "reloaded";
    EXPECT_EQ(state.svc.SERIAL, 777);
    EXPECT_EQ(state.usr.LAN_PWD, 0) << "network access off after an import";
    EXPECT_TRUE(userCfgHas("LAN_EN_LOC=0"));
}

TEST_P(OwnLayouts, SdFolderMissingIsReportedAsFailure) {
    ctx.sdDir = dir.file("no-card/");
    ctx.saveUserSettings();
    choose(general(), "СОХРАНЕНИЕ НАСТРОЕК");
    tapWidget(topAs<ButtonPage>()->buttons()[0]);
    ASSERT_NE(box(), nullptr);
    EXPECT_EQ(box()->titleLabel()->text(), "ОШИБКА!");
    EXPECT_EQ(box()->textLabel()->text(), "SD КАРТА НЕ ВСТАВЛЕНА ИЛИ НЕИСПРАВНА!");
}

INSTANTIATE_TEST_SUITE_P(Variants, OwnLayouts, ::testing::Values(Variant::Orvena, Variant::Kestralo), variantName);

TEST_F(OrvenaMenus, BunkerScreenLeavesTheFillOutputOff) {
    EditorScreen* e = openEditorFrom(openMenu(), "ЗАПОЛНЕНИЕ БУНКЕРА");
    ASSERT_NE(e, nullptr);
    const int fill = e->fieldCount() - 1, autofill = e->indexOf("BUNK_AUTOFILL");
    EXPECT_FALSE(e->valueField(e->indexOf("BUNK_TOUT"))->visible()) << "shown only with auto-fill";
    tapWidget(e->label(autofill));
    ASSERT_TRUE(e->valueField(e->indexOf("BUNK_TOUT"))->visible());
    EXPECT_EQ(e->valueField(e->indexOf("BUNK_TOUT"))->valueText(), "0:30");
    tapWidget(e->increaseButton());
    EXPECT_EQ(e->valueField(e->indexOf("BUNK_TOUT"))->valueText(), "0:40");
    tapWidget(e->opener(fill));
    EXPECT_TRUE(state.outputFlags & kOutBunkerFiller) << "on at once";
    EXPECT_EQ(e->opener(fill)->text(), "ОТКЛЮЧИТЬ ЗАПОЛНЕНИЕ");
    tapWidget(e->opener(fill));
    EXPECT_FALSE(state.outputFlags & kOutBunkerFiller);
    tapWidget(e->opener(fill));
    tapWidget(e->okButton());
    EXPECT_FALSE(state.outputFlags & kOutBunkerFiller) << "off when the screen is left";
    EXPECT_EQ(state.protection.manualFill, 0);
    EXPECT_TRUE(state.controlFlags & kFlagBunkerRestart) << "auto-fill changed";
    EXPECT_TRUE(userCfgHas("BUNK_TOUT=40"));

    e = openEditorFrom(topAs<ListMenuScreen>(), "ЗАПОЛНЕНИЕ БУНКЕРА");
    tapWidget(e->opener(fill));
    tapWidget(e->cancelButton());
    EXPECT_FALSE(state.outputFlags & kOutBunkerFiller);
}

TEST_F(OrvenaMenus, SemiAutomaticScreenStartsAndLoadsFuel) {
    locked([](ControllerState& s) {
        s.usr.BURN_MODE = 1;
        s.usr.SA_FAN_BUP = 60;
    });
    choose(openMenu(), "ПУСК/СТОП КОТЛА");
    auto* e = topAs<EditorScreen>();
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->title()->text(), "ПУСК/СТОП КОТЛА");
    EXPECT_EQ(e->opener(0)->text(), "ЗАПУСТИТЬ КОТЁЛ");
    tapWidget(e->increaseButton());
    EXPECT_EQ(state.usr.SA_FAN_BUP, 61) << "at once";
    tapWidget(e->cancelButton());
    EXPECT_EQ(state.usr.SA_FAN_BUP, 60) << "ОТМЕНА puts it back";
    EXPECT_EQ(userCfg(), "");

    choose(openMenu(), "ПУСК/СТОП КОТЛА");
    e = topAs<EditorScreen>();
    tapWidget(e->increaseButton());
    tapWidget(e->opener(0));
    EXPECT_EQ(state.burnerState, kIgnition);
    EXPECT_TRUE(userCfgHas("SA_FAN_BUP=61"));
    EXPECT_EQ(top(), home);

    choose(openMenu(), "ПУСК/СТОП КОТЛА");
    e = topAs<EditorScreen>();
    EXPECT_EQ(e->opener(0)->text(), "ОСТАНОВИТЬ КОТЁЛ");
    tapWidget(e->opener(2));
    ASSERT_NE(dynamic_cast<MessageBox*>(top()), nullptr);
    EXPECT_EQ(state.burnerState, kFuelLoading);
    EXPECT_EQ(dynamic_cast<MessageBox*>(top())->textLabel()->text(), "ЗАГРУЗИТЕ ТОПЛИВО И НАЖМИТЕ КНОПКУ \"ОК\"");
    tapWidget(dynamic_cast<MessageBox*>(top())->okButton());
    EXPECT_EQ(state.burnerState, kIgnition);
}

}  // namespace
}  // namespace vesk::test

