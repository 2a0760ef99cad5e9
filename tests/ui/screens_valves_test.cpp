// The weather curves and the valve editors through the real AppFrame: the
// air sensor shared by both valves, the water limits by valve mode, the
// curve page opened from a valve, and the points kept in order.
#include "menu_fixture.h"
#include "ui/screens/menu/screen_catalogue.h"
#include "ui/toolkit/message_box.h"

namespace vesk::test {
namespace {

class ValveEditors : public BothMenus {
protected:
    EditorScreen* openValve(const std::string& entry) {
        ListMenuScreen* m = openMenu();
        choose(m, isKestralo(state.variant) ? "НАСОСЫ И КЛАПАН" : "НАСОСЫ И КЛАПАНЫ");
        // The fifth entry lies below the short list's view: drag it up.
        const Rect view = topAs<ListMenuScreen>()->list()->windowRect();
        const int x = (view.left + view.right) / 2;
        frame->penDown(x, view.bottom - 5);
        frame->penMove(x, view.bottom - 60);
        frame->penUp(x, view.bottom - 60);
        frame->processPending();
        return openEditorFrom(topAs<ListMenuScreen>(), entry);
    }
    void press(Widget* b, int times = 1) {
        for (int i = 0; i < times; ++i) tapWidget(b);
    }
};

TEST_P(ValveEditors, AirSensorTakenByTheOtherValveIsRefused) {
    locked([](ControllerState& s) {
        s.boardVersion = 0x1100;  // a board that drives valve 2
        s.svc.EMSTART_ENABLE = 0;
        s.usr.VLV1.MODE = 2;
        s.usr.VLV1.USEAIR = 1;
    });
    EditorScreen* e = openValve("КЛАПАН 2");
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->title()->text(), "КЛАПАН 2");
    EXPECT_EQ(e->okButton()->rect().left, 8);
    EXPECT_EQ(e->increaseButton()->rect().left, 261);
    const int air = e->indexOf("VLV2_USEAIR");
    EXPECT_EQ(e->checkBox(air)->rect().top, 132);
    press(e->checkBox(air));
    press(e->rightArrow(e->indexOf("VLV2_MODE")));
    tapWidget(e->okButton());
    auto* box = dynamic_cast<MessageBox*>(top());
    ASSERT_NE(box, nullptr) << "the refusal is shown over the editor";
    EXPECT_EQ(box->textLabel()->text(), "\n\nДатчик воздуха уже выбран в настройках клапана 1");
    EXPECT_EQ(state.usr.VLV2.USEAIR, 0) << "nothing stored";
    EXPECT_EQ(state.usr.VLV2.MODE, 0);
    tapWidget(box->okButton());
    ASSERT_EQ(top(), e) << "the editor stays";

    // Valve 1 out of use frees the sensor.
    locked([](ControllerState& s) { s.usr.VLV1.MODE = 0; });
    tapWidget(e->okButton());
    EXPECT_EQ(state.usr.VLV2.USEAIR, 1);
    EXPECT_EQ(state.usr.VLV2.MODE, 1);
    EXPECT_TRUE(userCfgHas("VLV2_USEAIR=1"));
}

TEST_P(ValveEditors, WaterLimitsFollowTheMode) {
    locked([](ControllerState& s) {
        s.usr.VLV1.MODE = 1;
        s.usr.VLV1.WATER = 58;
        s.usr.TWAT_UST_LIMIT_MAX = 85;
    });
    EditorScreen* e = openValve("КЛАПАН");
    ASSERT_NE(e, nullptr);
    const int water = e->indexOf("VLV1_WATER"), mode = e->indexOf("VLV1_MODE");
    tapWidget(e->valueField(water));
    press(e->increaseButton(), 5);
    EXPECT_EQ(e->copy(water), 60) << "underfloor: at most 60";
    EXPECT_EQ(e->valueField(water)->valueText(), "60°C");
    press(e->rightArrow(mode));  // heating
    press(e->increaseButton(), 40);
    EXPECT_EQ(e->copy(water), 85) << "heating: up to the water maximum";
    press(e->leftArrow(mode));  // back to underfloor: pulled into its range at once
    EXPECT_EQ(e->copy(water), 60);
    press(e->decreaseButton(), 60);
    EXPECT_EQ(e->copy(water), 20);
    tapWidget(e->okButton());
    EXPECT_EQ(state.usr.VLV1.WATER, 20);
    EXPECT_EQ(state.usr.VLV1.MODE, 1);
}

TEST_P(ValveEditors, CurvePageEditsTheSetOfTheModeAndHandsTheSwitchBack) {
    locked([](ControllerState& s) { s.usr.VLV1.MODE = 2; });
    EditorScreen* valve = openValve("КЛАПАН");
    ASSERT_NE(valve, nullptr);
    tapWidget(valve->opener(valve->indexOf("VLV1_USEWH") + 1));
    auto* curve = topAs<EditorScreen>();
    ASSERT_NE(curve, nullptr);
    ASSERT_NE(curve, valve);
    EXPECT_EQ(curve->title()->text(), "ПОГОДОЗАВИСИМОЕ РЕГУЛИРОВАНИЕ");
    EXPECT_GE(curve->indexOf("VLV1_WATH_CH"), 0) << "heating mode: the heating points";
    tapWidget(curve->label(0));  // "ИСПОЛЬЗОВАТЬ"
    tapWidget(curve->valueField(curve->indexOf("VLV1_WATH_CH")));
    press(curve->decreaseButton(), 3);
    tapWidget(curve->okButton());
    EXPECT_EQ(state.usr.VLV1.WATH_CH, 77);
    EXPECT_EQ(state.usr.VLV1.USEWH, 1);
    ASSERT_EQ(top(), valve);
    EXPECT_TRUE(valve->checkBox(valve->indexOf("VLV1_USEWH"))->on()) << "the valve shows the switch the page set";
    tapWidget(valve->okButton());
    EXPECT_EQ(state.usr.VLV1.USEWH, 1) << "the valve's ОК keeps it";
}

INSTANTIATE_TEST_SUITE_P(Variants, ValveEditors, ::testing::Values(Variant::Orvena, Variant::Kestralo), variantName);

TEST_F(OrvenaMenus, BoilerCurveKeepsItsPointsInOrderAndItsLimits) {
    locked([](ControllerState& s) {
        s.usr.WHETH_WAT_LOW = 40;
        s.usr.WHETH_WAT = 42;
        s.usr.WHETH_AIR_LOW = 5;
        s.usr.WHETH_AIR = -48;
        s.usr.TWAT_UST_LIMIT_MIN = 45;
    });
    EditorScreen* e = openEditorFrom(openMenu(), "ПОГОД. РЕГУЛИРОВАНИЕ");
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->checkBox(0)->rect().top, 30);
    EXPECT_EQ(e->label(0)->rect().left, 56);
    EXPECT_EQ(e->label(0)->rect().top, 35);
    EXPECT_EQ(e->valueField(4)->rect().left, 133);
    EXPECT_EQ(e->valueField(4)->rect().top, 121);
    const int low = e->indexOf("WHETH_WAT_LOW"), high = e->indexOf("WHETH_WAT");
    EXPECT_EQ(e->selected(), low);
    for (int i = 0; i < 5; ++i) tapWidget(e->increaseButton());
    EXPECT_EQ(e->copy(low), 41) << "below the cold-end water";
    tapWidget(e->valueField(high));
    for (int i = 0; i < 5; ++i) tapWidget(e->decreaseButton());
    EXPECT_EQ(e->copy(high), 42) << "below the water minimum it does not go further down";
    const int outdoor = e->indexOf("WHETH_AIR");
    tapWidget(e->valueField(outdoor));
    for (int i = 0; i < 5; ++i) tapWidget(e->decreaseButton());
    EXPECT_EQ(e->copy(outdoor), -50) << "outdoor not below -50";
    tapWidget(e->okButton());
    EXPECT_EQ(state.usr.WHETH_WAT_LOW, 41);
    EXPECT_EQ(state.usr.WHETH_AIR, -50);
}

}  // namespace
}  // namespace vesk::test
