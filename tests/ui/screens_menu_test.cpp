// The menu tree through the real AppFrame on the manual clock: what the
// menus hold by firmware and variant, the protected entries' hold and
// access codes, scrolling, the service hand-over, the resets and the
// reverse page.
#include <random>

#include "menu_fixture.h"
#include "platform/backlight.h"
#include "platform/registry.h"
#include "ui/screens/menu/button_page.h"
#include "ui/screens/menu/reverse_page.h"
#include "ui/screens/menu/service_handover.h"
#include "ui/toolkit/message_box.h"

namespace vesk::test {
namespace {

TEST_P(BothMenus, MenuButtonOpensTheUserMenuAndBackReturnsHome) {
    ListMenuScreen* m = openMenu();
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(frame->stack().size(), 2u);
    // Entries are 36 high and 6 apart from the list's top at (12, 15).
    EXPECT_EQ(m->items()[1]->windowRect().top, 15 + 42);
    EXPECT_EQ(count({12, 15, 196, 51}, pictureColor(183)) > 0, true);
    tapWidget(m->backButton());
    EXPECT_EQ(top(), home);
    EXPECT_EQ(frame->stack().size(), 1u);
}
INSTANTIATE_TEST_SUITE_P(Variants, BothMenus, ::testing::Values(Variant::Orvena, Variant::Kestralo), variantName);

TEST_F(OrvenaMenus, FirmwareDecidesTheEntriesEachTimeTheMenuOpens) {
    state.boardVersion = 0x2200;
    ListMenuScreen* m = openMenu();
    EXPECT_FALSE(has(m, "ЗОЛОУДАЛИТЕЛЬ"));
    EXPECT_FALSE(has(m, "ЗАПОЛНЕНИЕ БУНКЕРА"));
    EXPECT_FALSE(has(m, "РАБОТА РЕВЕРСА"));
    ListMenuScreen* installer = [&] {
        enterCode(m, "МЕНЮ МОНТАЖНИКА", 5827);
        return topAs<ListMenuScreen>();
    }();
    ASSERT_NE(installer, nullptr);
    EXPECT_EQ(installer->entries().size(), 11u);
    tapWidget(installer->backButton());
    tapWidget(m->backButton());

    // The board reports another firmware: the next "МЕНЮ" follows it.
    state.boardVersion = 0x2215;
    m = openMenu();
    EXPECT_TRUE(has(m, "ЗОЛОУДАЛИТЕЛЬ"));
    EXPECT_TRUE(has(m, "ЗАПОЛНЕНИЕ БУНКЕРА"));
    EXPECT_TRUE(has(m, "РАБОТА РЕВЕРСА"));
    tapWidget(m->backButton());

    // An older board with the emergency start off keeps the installer reset.
    state.boardVersion = 0x1100;
    state.svc.EMSTART_ENABLE = 0;
    ListMenuScreen* i2 = openInstallerMenu();
    ASSERT_NE(i2, nullptr);
    EXPECT_EQ(i2->entries().size(), 12u);
    EXPECT_EQ(i2->entries().back().text, "СБРОС НАСТРОЕК");
}

TEST_F(KestraloMenus, VariantEntries) {
    state.boardVersion = 0x2200;
    ListMenuScreen* m = openMenu();
    const auto t = texts(m);
    EXPECT_EQ(t.front(), "ТЕСТОВОЕ МЕНЮ");
    EXPECT_TRUE(has(m, "ЗОЛОУДАЛИТЕЛЬ"));
    EXPECT_TRUE(has(m, "НАСОСЫ И КЛАПАН"));
    EXPECT_FALSE(has(m, "КОРРЕКЦИЯ РАСХОДА"));
    EXPECT_FALSE(has(m, "СБРОС РАСХОДА"));
    EXPECT_FALSE(has(m, "ЗАПОЛНЕНИЕ БУНКЕРА"));
    tapWidget(m->backButton());

    state.boardVersion = 0x2214;
    m = openMenu();
    const auto k = texts(m);
    const auto at = [&](const char* s) { return std::find(k.begin(), k.end(), s) - k.begin(); };
    EXPECT_EQ(at("РАБОТА РЕВЕРСА"), at("ЗОЛОУДАЛИТЕЛЬ") + 1);
    EXPECT_EQ(at("УДАЛЕННОЕ ПОДКЛЮЧЕНИЕ"), at("РАБОТА РЕВЕРСА") + 1);

    // The second installer code, and the additional sensors at the end.
    enterCode(m, "МЕНЮ МОНТАЖНИКА", 8516);
    auto* installer = topAs<ListMenuScreen>();
    ASSERT_NE(installer, m);
    EXPECT_EQ(installer->entries().back().text, "ДОПОЛНИТЕЛЬНЫЕ ДАТЧИКИ");
}

TEST_F(OrvenaMenus, ProtectedEntryNeedsAHoldOfFiveToTenSeconds) {
    ListMenuScreen* m = openMenu();
    Button* b = bringIntoView(m, "МЕНЮ МОНТАЖНИКА");
    holdWidget(b, 3000);
    EXPECT_EQ(top(), m);
    holdWidget(b, 11000);
    EXPECT_EQ(top(), m);
    holdWidget(b, 6000);
    EXPECT_NE(topAs<AccessCodeScreen>(), nullptr);
}

TEST_F(OrvenaMenus, AccessCodes) {
    ListMenuScreen* m = openMenu();
    // A wrong code and a cancelled screen return silently.
    enterCode(m, "МЕНЮ МОНТАЖНИКА", 5828);
    EXPECT_EQ(top(), m);
    EXPECT_EQ(frame->stack().size(), 2u);
    tapWidget(m->backButton());

    // The digits start at 0 each time the menu opens.
    m = openMenu();
    enterCode(m, "МЕНЮ МОНТАЖНИКА", 5827);
    auto* installer = topAs<ListMenuScreen>();
    ASSERT_NE(installer, m);
    EXPECT_EQ(texts(installer).front(), "УСТАВКИ ТЕМПЕРАТУРЫ");
    EXPECT_EQ(installer->entries().front().second, "ВОДЫ");
    tapWidget(installer->backButton());
    EXPECT_EQ(top(), m);

    // Within one menu the digits stay: one more press past the code is wrong.
    holdWidget(bringIntoView(m, "МЕНЮ МОНТАЖНИКА"), 6000);
    auto* a = topAs<AccessCodeScreen>();
    ASSERT_NE(a, nullptr);
    // The column changed last shows its digit; the others "#".
    EXPECT_EQ(a->digit(3)->text(), "7");
    EXPECT_EQ(a->digit(0)->text(), "#");
    tapWidget(a->upButton(3));
    tapWidget(a->upButton(3));
    EXPECT_EQ(a->digit(3)->text(), "9");
    tapWidget(a->upButton(3));
    EXPECT_EQ(a->digit(3)->text(), "0") << "9 wraps to 0";
    tapWidget(a->downButton(3));
    EXPECT_EQ(a->digit(3)->text(), "9") << "0 wraps to 9";
    tapWidget(a->upButton(1));
    EXPECT_EQ(a->digit(3)->text(), "#");
    EXPECT_EQ(a->digit(1)->text(), "9");
    tapWidget(a->cancelButton());
    EXPECT_EQ(top(), m);
}

TEST_F(OrvenaMenus, DragMoreThan15PixelsScrollsWithoutOpening) {
    ListMenuScreen* m = openMenu();
    Button* first = m->items()[0];
    const Rect r = first->windowRect();
    const int x = r.left + 40, y = r.top + 18;
    frame->penDown(x, y);
    frame->penMove(x, y - 15);
    frame->penUp(x, y - 15);
    frame->processPending();
    EXPECT_NE(top(), m) << "15 pixels still opens the entry";
    closeScreen(top());
    frame->processPending();
    ASSERT_EQ(top(), m);

    frame->penDown(x, y);
    frame->penMove(x, y - 16);
    frame->penMove(x, y - 40);
    frame->penUp(x, y - 40);
    frame->processPending();
    EXPECT_EQ(top(), m);
    EXPECT_EQ(m->list()->scrollY(), 40) << "the whole drag, once it counts as one";

    // The scroll buttons move 10 pixels every 100 ms while held.
    const int before = m->list()->scrollY();
    holdWidget(m->scrollDownButton(), 250);
    EXPECT_EQ(m->list()->scrollY(), before + 30);
    holdWidget(m->scrollUpButton(), 5000);
    EXPECT_EQ(m->list()->scrollY(), 0);
}

TEST_F(OrvenaMenus, ServiceCodeStopsTheBurnerAndHandsOver) {
    std::vector<std::string> started;
    bool startWorks = false;
    ctx.startProgram = [&](const std::string& p) {
        started.push_back(p);
        return startWorks;
    };
    frame->setDirectories(dir.path(), dir.file("CFG/"));
    state.burnerState = kBurning;
    state.lastPersistedState = kBurning;

    // The tool cannot be started: the panel goes on with the boiler stopped.
    ListMenuScreen* m = openMenu();
    enterCode(m, "СЕРВИСНОЕ МЕНЮ", 7405);
    EXPECT_EQ(state.burnerState, kStop);
    EXPECT_EQ(state.persistInhibit, 1);
    advance(1499);
    EXPECT_TRUE(started.empty()) << "1500 ms of panel time first";
    advance(1);
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0], dir.path() + "Tavrik");
    EXPECT_EQ(top(), m);
    tapWidget(m->backButton());
    EXPECT_EQ(top(), home);

    // It starts: the message loop is asked to end.
    startWorks = true;
    m = openMenu();
    enterCode(m, "СЕРВИСНОЕ МЕНЮ", 7405);
    advance(1500);
    EXPECT_EQ(started.size(), 2u);
    // run() returns at once once quit was asked for.
    frame->run();
    SUCCEED();
}

TEST_F(OrvenaMenus, WrongServiceCodeLeavesTheBurnerAlone) {
    ctx.startProgram = [](const std::string&) { return true; };
    state.burnerState = kBurning;
    ListMenuScreen* m = openMenu();
    enterCode(m, "СЕРВИСНОЕ МЕНЮ", 7404);
    advance(3000);
    EXPECT_EQ(state.burnerState, kBurning);
    EXPECT_EQ(state.persistInhibit, 0);
    EXPECT_EQ(top(), m);
}

TEST_F(OrvenaMenus, FactoryResetKeepsInstallerAndNetworkAndAppliesTheBacklight) {
    Registry registry(dir.file("registry.cfg"));
    ctx.registry = &registry;
    locked([](ControllerState& s) {
        s.usr.TWAT_UST = 66;
        s.usr.BL_LEVEL = 90;
        s.usr.EN_BL_OFF = 0;
        s.usr.ANTI_FREEZE_TEMP = 9;
        s.usr.LAN_PWD = 4321;
    });
    ListMenuScreen* m = openMenu();
    choose(m, "СБРОС НАСТРОЕК");
    auto* box = topAs<MessageBox>();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->titleLabel()->text(), "ВНИМАНИЕ!");
    EXPECT_EQ(box->textLabel()->text(), "ВЫ ДЕЙСТВИТЕЛЬНО ХОТИТЕ СБРОСИТЬ ВСЕ НАСТРОЙКИ НА ЗАВОДСКИЕ?");
    tapWidget(box->cancelButton());
    EXPECT_EQ(state.usr.TWAT_UST, 66);
    EXPECT_EQ(userCfg(), "") << "cancel writes nothing";

    choose(m, "СБРОС НАСТРОЕК");
    tapWidget(topAs<MessageBox>()->okButton());
    EXPECT_EQ(top(), m);
    EXPECT_EQ(state.usr.TWAT_UST, 75);
    EXPECT_EQ(state.usr.BL_LEVEL, 50);
    EXPECT_EQ(state.usr.ANTI_FREEZE_TEMP, 9);
    EXPECT_EQ(state.usr.LAN_PWD, 4321);
    EXPECT_TRUE(userCfgHas("TWAT_UST=75"));
    EXPECT_EQ(registry.getInt(kBacklightLevelKey).value_or(0), 325);
    EXPECT_EQ(registry.getInt(kBacklightTimeoutKey).value_or(0), 60);
}

TEST_F(OrvenaMenus, InstallerResetRestoresOnlyInstallerSettings) {
    state.boardVersion = 0x1100;
    state.svc.EMSTART_ENABLE = 0;
    locked([](ControllerState& s) {
        s.usr.TWAT_UST = 66;
        s.usr.ANTI_FREEZE_TEMP = 9;
    });
    ListMenuScreen* installer = openInstallerMenu();
    choose(installer, "СБРОС НАСТРОЕК");
    auto* box = topAs<MessageBox>();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->textLabel()->text(), "ВЫ ДЕЙСТВИТЕЛЬНО ХОТИТЕ СБРОСИТЬ НАСТРОЙКИ МОНТАЖНИКА НА ЗАВОДСКИЕ?");
    tapWidget(box->okButton());
    EXPECT_EQ(top(), installer);
    EXPECT_EQ(state.usr.ANTI_FREEZE_TEMP, 6);
    EXPECT_EQ(state.usr.TWAT_UST, 66);
    EXPECT_TRUE(userCfgHas("ANTI_FREEZE_TEMP=6"));
}

TEST_F(OrvenaMenus, ReversePageRunsTheTestAndBackEndsIt) {
    ListMenuScreen* m = openMenu();
    choose(m, "РАБОТА РЕВЕРСА");
    auto* page = topAs<ReversePage>();
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->switchButton()->rect().top, 50);
    EXPECT_EQ(page->switchButton()->text(), "ВКЛЮЧИТЬ РЕВЕРС");
    tapWidget(page->switchButton());
    EXPECT_EQ(state.burnerState, kAugerReverseTest);
    EXPECT_TRUE(state.controlFlags & kFlagAugerReverse);
    EXPECT_EQ(page->switchButton()->text(), "ОТКЛЮЧИТЬ РЕВЕРС");
    tapWidget(page->switchButton());
    EXPECT_EQ(state.burnerState, kStop);
    EXPECT_EQ(state.controlFlags & (kFlagAugerReverse | kFlagAugerReverseEnd), 0u);

    tapWidget(page->switchButton());
    EXPECT_EQ(state.burnerState, kAugerReverseTest);
    tapWidget(page->backButton());
    EXPECT_EQ(state.burnerState, kStop);
    EXPECT_EQ(top(), m);
}

TEST_F(OrvenaMenus, StartStopReplacesTheMenu) {
    state.burnerState = kBurning;
    ListMenuScreen* m = openMenu();
    choose(m, "ПУСК/СТОП КОТЛА");
    EXPECT_NE(top(), m);
    EXPECT_EQ(frame->stack().size(), 2u) << "the stop confirmation stands in for the menu";
}

// Random taps all over whatever is on top, for a long time: nothing
// crashes, and once everything is closed again nothing is left behind.
TEST_P(BothMenus, RandomTapsLeaveNothingBehind) {
    ctx.startProgram = [](const std::string&) { return false; };
    std::mt19937 rng(GetParam() == Variant::Orvena ? 11 : 12);
    std::uniform_int_distribution<int> x(0, 319), y(0, 239), kind(0, 9);
    for (int i = 0; i < 4000; ++i) {
        const int px = x(rng), py = y(rng);
        switch (kind(rng)) {
            case 0:
                frame->penDown(px, py);
                advance(6000);
                frame->penUp(px, py);
                break;
            case 1:
                frame->penDown(px, py);
                frame->penMove(px, py - 30);
                frame->penUp(px, py - 30);
                break;
            default:
                frame->penDown(px, py);
                frame->penUp(px, py);
        }
        frame->processPending();
        if (i % 500 == 0) refresh();
    }
    // Close whatever is open from the top.
    for (int guard = 0; guard < 50 && frame->stack().size() > 1; ++guard) {
        closeScreen(top());
        frame->processPending();
    }
    advance(60000);
    EXPECT_EQ(frame->stack().size(), 1u);
    // Hidden, the home screen stops its animations: no timer is left.
    home->hide();
    EXPECT_EQ(frame->timerCount(), 0u);
    home->show();
}

TEST_P(BothMenus, OpeningAndClosingThousandsOfTimesLeavesNoTimers) {
    const size_t timersAtHome = frame->timerCount();
    for (int i = 0; i < 1000; ++i) {
        ListMenuScreen* m = openMenu();
        choose(m, "МОЩНОСТЬ КОТЛА");
        auto* e = topAs<EditorScreen>();
        ASSERT_NE(e, nullptr);
        frame->penDown(e->increaseButton()->windowRect().left + 5, e->increaseButton()->windowRect().top + 5);
        frame->processPending();
        tapWidget(e->cancelButton());
        tapWidget(m->backButton());
    }
    EXPECT_EQ(frame->stack().size(), 1u);
    EXPECT_EQ(frame->timerCount(), timersAtHome);
}

}  // namespace
}  // namespace vesk::test
