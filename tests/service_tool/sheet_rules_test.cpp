// The page rules, driven through the sheet's own widgets.
#include <algorithm>

#include "service_tool/auger_page.h"
#include "service_tool/field_page.h"
#include "service_tool/model_page.h"
#include "service_tool/pid_page.h"
#include "service_tool/serial_page.h"
#include "service_tool/sheet_fixture.h"
#include "ui/toolkit/button.h"
#include "ui/toolkit/label.h"
#include "ui/toolkit/message_box.h"
#include "ui/toolkit/tab_strip.h"
#include "ui/toolkit/toggle_button.h"

namespace vesk::test {
namespace {

using Sheet = ServiceSheet;

std::string digits(SerialPage* p) {
    std::string s;
    for (int i = 0; i < 6; ++i) s += p->digit(i)->text();
    return s;
}

TEST_F(SheetTest, TabsChoosePagesAndScrollTheChosenOneIntoView) {
    open();
    EXPECT_EQ(sheet->currentIndex(), Sheet::kTestPage);
    TabStrip* tabs = sheet->tabs();
    // Only four tabs fit; each tap brings the next one into the middle.
    for (int i = 1; i < Sheet::kPageCount; ++i) {
        tap(tabs->tab(i));
        EXPECT_EQ(sheet->currentIndex(), i);
        const Rect r = tabs->tab(i)->windowRect();
        EXPECT_GE(r.left, 0);
        EXPECT_LE(r.right, 320);
    }
    EXPECT_GT(tabs->scrollX(), 0);
    // Dragging the strip scrolls it without choosing a tab.
    const int before = tabs->scrollX();
    frame.penDown(100, 14);
    frame.penMove(200, 14);
    frame.penUp(200, 14);
    EXPECT_LT(tabs->scrollX(), before);
    EXPECT_EQ(sheet->currentIndex(), Sheet::kExitPage);
}

TEST_F(SheetTest, ValuesAreAppliedOnLeavingAndShownOnEntering) {
    open();
    auto* ignition = go<FieldPage>(Sheet::kIgnitionPage);
    SpinBox* gas = ignition->spin(0);
    EXPECT_EQ(gas->value(), 45);
    up(gas, 3);
    EXPECT_EQ(svc().GAS_BURNUP, 45) << "nothing is applied while the page is shown";
    go<FieldPage>(Sheet::kCombustion2Page);
    EXPECT_EQ(svc().GAS_BURNUP, 48);

    svc().GAS_BURNUP = 10;
    go<FieldPage>(Sheet::kIgnitionPage);
    EXPECT_EQ(gas->value(), 10);
    // Limits: a value at its limit does not move; one outside comes inside.
    down(gas, 12);
    EXPECT_EQ(gas->value(), 0);
    SpinBox* fan = ignition->spin(1);
    EXPECT_EQ(fan->value(), 50) << "the default lies below the range and is shown as it is";
    down(fan);
    EXPECT_EQ(fan->value(), 70);
}

TEST_F(SheetTest, HeldArrowRepeatsOnTheManualClock) {
    open();
    auto* p = go<FieldPage>(Sheet::kCombustion2Page);
    SpinBox* gasMax = p->spin(0);
    ASSERT_EQ(gasMax->value(), 260);
    // At once, after 500 ms, then twice 200 ms apart.
    hold(gasMax->upButton(), 900);
    EXPECT_EQ(gasMax->value(), 264);
}

TEST_F(SheetTest, SerialDigitsWrapAndTheNumberIsKeptModuloAMillion) {
    svc().SERIAL = 1234567;
    open();
    auto* p = go<SerialPage>(Sheet::kSerialPage);
    EXPECT_EQ(digits(p), "234567");
    tap(p->plus(5));
    tap(p->plus(5));
    tap(p->plus(5));
    EXPECT_EQ(digits(p), "234560");
    tap(p->minus(0));
    tap(p->minus(0));
    tap(p->minus(0));
    EXPECT_EQ(digits(p), "934560");
    go<FieldPage>(Sheet::kIgnitionPage);
    EXPECT_EQ(svc().SERIAL, 934560);
}

TEST_F(SheetTest, AugerOnTimeFollowsItsPeriod) {
    svc().WORM_PERIOD[0] = 20;
    svc().WORM100[0] = 300;
    open();
    auto* p = go<AugerPage>(Sheet::kAugerPage);
    EXPECT_EQ(p->worm100()->value(), 190) << "a stored value above the bound is lowered to it";
    up(p->worm100());
    EXPECT_EQ(p->worm100()->value(), 190);
    // Raising the period raises the bound.
    up(p->period(), 2);
    up(p->worm100(), 30);
    EXPECT_EQ(p->worm100()->value(), 210);
    // Lowering it lowers the on-time with it.
    down(p->period(), 5);
    EXPECT_EQ(p->period()->value(), 17);
    EXPECT_EQ(p->worm100()->value(), 160);
    go<FieldPage>(Sheet::kIgnitionPage);
    EXPECT_EQ(svc().WORM_PERIOD[0], 17);
    EXPECT_EQ(svc().WORM100[0], 160);
}

TEST_F(SheetTest, FanMinimumKeepsBelowTheModelValueAndTheFullFan) {
    // KESTRALO S, 16 kW: model fan minimum 20 for the first fuel.
    svc().FAN_MIN[0] = 12;
    open();
    auto* p = go<AugerPage>(Sheet::kAugerPage);
    up(p->fanMin(), 20);
    EXPECT_EQ(p->fanMin()->value(), 20);
    EXPECT_EQ(fanMinBound(svc(), 0), 20);
    // The full fan is the other bound; it can only be met below the model value.
    ServiceParams low = svc();
    low.FAN100 = 15;
    EXPECT_EQ(fanMinBound(low, 0), 15);
    // Each fuel keeps its own values.
    up(p->fuel());
    EXPECT_EQ(p->fuel()->valueLabel()->text(), "УГОЛЬ Д.О.");
    EXPECT_EQ(p->fanMin()->value(), 30);
    down(p->fuel());
    EXPECT_EQ(p->fanMin()->value(), 20);
}

TEST_F(SheetTest, ModelOneUnder85KilowattsListsTheSmallCoals) {
    svc().BOILER_TYPE = 1;
    svc().POWER = 45;
    open();
    auto* p = go<AugerPage>(Sheet::kAugerPage);
    std::vector<std::string> names;
    for (int i = 0; i < 6; ++i) {
        names.push_back(p->fuel()->valueLabel()->text());
        up(p->fuel());
    }
    EXPECT_EQ(names, (std::vector<std::string>{"УГОЛЬ Б.О.", "БМСШ", "УГОЛЬ Д.О.", "ДМСШ", "ПЕЛЛЕТЫ", "ПЕЛЛЕТЫ ЛП"}));

    svc().POWER = 85;
    go<FieldPage>(Sheet::kIgnitionPage);
    p = go<AugerPage>(Sheet::kAugerPage);
    EXPECT_EQ(p->fuel()->high(), 3);
    // Model 4 has no "ПЕЛЛЕТЫ ЛП".
    svc().BOILER_TYPE = 4;
    svc().POWER = 25;
    go<FieldPage>(Sheet::kIgnitionPage);
    p = go<AugerPage>(Sheet::kAugerPage);
    EXPECT_EQ(p->fuel()->high(), 2);
}

TEST_F(SheetTest, ModelChangeKeepsPowerAndTypeAndThePowerPageLoadsItsOption) {
    svc().POWER = 26;
    svc().GAS_KEEP = 333;
    open();
    auto* models = go<ModelPage>(Sheet::kModelPage);
    EXPECT_EQ(models->models().marked(), 0);
    tap(models->models().button(3));  // "Talvo"
    EXPECT_EQ(svc().BOILER_TYPE, 3);
    EXPECT_EQ(svc().POWER, 26);
    EXPECT_EQ(svc().GAS_MAX, 310);
    EXPECT_EQ(svc().GAS_CLEAN, 290);
    EXPECT_EQ(svc().GAS_KEEP, 100) << "the other service values take their defaults";
    EXPECT_TRUE(record.modelChanged);

    auto* power = go<PowerPage>(Sheet::kPowerPage);
    EXPECT_FALSE(record.modelChanged);
    EXPECT_EQ(power->powers().marked(), 0);
    EXPECT_EQ(power->powers().button(0)->text(), "150");
    EXPECT_FALSE(power->powers().button(3)->visible()) << "TALVO has three powers";
    EXPECT_EQ(svc().POWER, 150);
    EXPECT_EQ(svc().WORM100[1], 52);

    // The same model again changes nothing.
    go<ModelPage>(Sheet::kModelPage);
    svc().GAS_KEEP = 200;
    tap(models->models().button(3));
    EXPECT_EQ(svc().GAS_KEEP, 200);
    EXPECT_FALSE(record.modelChanged);
    // Back to KESTRALO R: 26 kW is one of its powers and stays marked.
    svc().POWER = 26;
    tap(models->models().button(1));
    power = go<PowerPage>(Sheet::kPowerPage);
    EXPECT_EQ(power->powers().button(power->powers().marked())->text(), "26");
    EXPECT_EQ(svc().GAS_MAX, 260);
}

TEST_F(SheetTest, PowerOptionLoadsItsRecord) {
    open();
    auto* power = go<PowerPage>(Sheet::kPowerPage);
    EXPECT_EQ(power->powers().marked(), 0);
    tap(power->powers().button(4));  // 45 kW
    EXPECT_EQ(power->powers().marked(), 4);
    EXPECT_TRUE(power->powers().button(4)->pressed());
    EXPECT_FALSE(power->powers().button(0)->pressed());
    EXPECT_EQ(svc().POWER, 45);
    EXPECT_EQ(std::vector<int>(svc().WORM_PERIOD, svc().WORM_PERIOD + 6), (std::vector<int>{60, 120, 30, 30, 0, 0}));
    EXPECT_EQ(std::vector<int>(svc().WORM100, svc().WORM100 + 6), (std::vector<int>{76, 138, 44, 46, 0, 0}));
    EXPECT_EQ(std::vector<int>(svc().FAN_MIN, svc().FAN_MIN + 6), (std::vector<int>{20, 30, 5, 10, 0, 0}));
    EXPECT_EQ(svc().modelBunkerVolume, 520);
}

TEST_F(SheetTest, PidSetsSwitchAndKeepTheirEdits) {
    svc().WPID_KP = 1, svc().WPID_KI = 2, svc().WPID_KD = 3;
    svc().APID_KP = 4, svc().APID_KI = 5, svc().APID_KD = 6;
    svc().SA_WPID_KD = -5;
    open();
    auto* p = go<PidPage>(Sheet::kPidPage);
    EXPECT_EQ(p->coefficient(0)->value(), 1);
    tap(p->sets().button(1));  // "Воздух"
    EXPECT_EQ(p->coefficient(1)->value(), 5);
    up(p->coefficient(0));
    tap(p->sets().button(0));
    EXPECT_EQ(p->coefficient(0)->value(), 1);
    tap(p->sets().button(3));  // "Полуавтомат"
    EXPECT_EQ(p->coefficient(2)->value(), -5);
    up(p->coefficient(2));
    EXPECT_EQ(p->coefficient(2)->value(), 0) << "the first press brings a value into 0..200";
    go<FieldPage>(Sheet::kSemiAutoPage);
    EXPECT_EQ(svc().APID_KP, 5);
    EXPECT_EQ(svc().WPID_KP, 1);
    EXPECT_EQ(svc().SA_WPID_KD, 0);
    // The chosen set stays chosen between visits.
    p = go<PidPage>(Sheet::kPidPage);
    EXPECT_EQ(p->sets().marked(), 3);
}

TEST_F(SheetTest, InverterShowsTenthsAndFrequencies) {
    open();
    auto* p = go<FieldPage>(Sheet::kInverterPage);
    EXPECT_EQ(p->spin(0)->valueLabel()->text(), "3.0");
    EXPECT_EQ(p->spin(1)->valueLabel()->text(), "1.0");
    EXPECT_EQ(p->spin(2)->valueLabel()->text(), "50.0");
    up(p->spin(2));
    EXPECT_EQ(p->spin(2)->valueLabel()->text(), "35.7");
    up(p->spin(2), 2);
    EXPECT_EQ(p->spin(2)->valueLabel()->text(), "25.0");
}

TEST_F(SheetTest, EmergencyAugerCheckBoxFollowsItsLabel) {
    open();
    auto* p = go<FieldPage>(Sheet::kEmergencyAugerPage);
    ASSERT_TRUE(p->check(0)->pressed());
    tap(p->check(0));
    go<FieldPage>(Sheet::kInverterPage);
    EXPECT_EQ(svc().EMSTART_ENABLE, 0);
}

TEST_F(SheetTest, ResetAsksAndRestoresTheFactoryModel) {
    svc().BOILER_TYPE = 2;
    svc().POWER = 200;
    svc().SERIAL = 777;
    open();
    auto* p = go<ExitPage>(Sheet::kExitPage);
    tap(p->resetButton());
    auto* box = dynamic_cast<MessageBox*>(frame.top());
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->titleLabel()->text(), "Внимание!");
    EXPECT_EQ(box->cancelButton()->text(), "Нет");
    tap(box->cancelButton());
    EXPECT_EQ(svc().BOILER_TYPE, 2);

    tap(p->resetButton());
    box = dynamic_cast<MessageBox*>(frame.top());
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->okButton()->text(), "Да");
    tap(box->okButton());
    EXPECT_EQ(frame.top(), sheet);
    EXPECT_EQ(svc().BOILER_TYPE, 0);
    EXPECT_EQ(svc().POWER, 16);
    EXPECT_EQ(svc().SERIAL, 2);
    EXPECT_EQ(saves + leaves, 0);
}

TEST_F(SheetTest, FailedSaveStaysOnTheSheetWithAMessage) {
    open();
    auto* p = go<ExitPage>(Sheet::kExitPage);
    saveResult = false;
    tap(p->saveButton());
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(leaves, 0) << "no restart after a failed save";
    EXPECT_EQ(p->message()->text(), kSaveFailedText);
    saveResult = true;
    tap(p->saveButton());
    EXPECT_EQ(leaves, 1);
    tap(p->leaveButton());
    EXPECT_EQ(saves, 2);
    EXPECT_EQ(leaves, 2);
}

}  // namespace
}  // namespace vesk::test
