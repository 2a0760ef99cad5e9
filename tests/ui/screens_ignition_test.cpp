// Manual ignition, the ignition choice and the stop confirmation, as the
// "ПУСК/СТОП КОТЛА" entry opens them and as their buttons drive the burner.
#include "control/burner.h"
#include "control/burner_commands.h"
#include "screens_fixture.h"
#include "ui/screens/manual_ignition_screen.h"
#include "ui/screens/start_stop.h"
#include "ui/toolkit/message_box.h"
#include "ui/toolkit/screen.h"

namespace vesk::test {
namespace {

// A menu screen that tells when it is deleted.
struct MenuProbe : Screen {
    MenuProbe(AppFrame* f, bool* gone) : Screen(f), gone_(gone) {}
    ~MenuProbe() override { *gone_ = true; }
    bool* gone_;
};

constexpr Point kAuger{40, 220}, kBlower{120, 220}, kAuto{200, 220}, kCancel{280, 220};
constexpr Point kHeaterBox{21, 181};
constexpr Point kOk{90, 200}, kSecond{229, 200};

template <class Base>
class IgnitionOf : public Base {
protected:
    IgnitionOf() {
        root = new Screen(this->frame.get());
        this->frame->setRoot(root);
        menu = new MenuProbe(this->frame.get(), &menuGone);
        this->frame->push(menu);
        this->frame->processPending();
    }
    void entry() {
        startStopBoiler(*this->frame, this->ctx, menu);
        this->frame->processPending();
    }
    void tapAt(Point p) { this->tap(p.x, p.y); }
    // Opens the manual ignition screen from the menu (coal, stopped).
    ManualIgnitionScreen* manual() {
        this->state.usr.BURN_MODE = 0;
        this->state.usr.FUEL = 0;
        entry();
        return dynamic_cast<ManualIgnitionScreen*>(this->frame->top());
    }

    Screen* root = nullptr;
    MenuProbe* menu = nullptr;
    bool menuGone = false;
};

using ManualIgnitionTest = IgnitionOf<BothVariants>;
using OrvenaIgnitionTest = IgnitionOf<OrvenaScreens>;

TEST_P(ManualIgnitionTest, AutoIsAcceptedOnlyWithAHotFlueAndAHealthyLink) {
    ManualIgnitionScreen* m = manual();
    ASSERT_NE(m, nullptr);
    EXPECT_TRUE(menuGone) << "the screen replaces the menu";
    EXPECT_EQ(frame->stack().size(), 2u);
    EXPECT_EQ(state.burnerState, kManualIgnition);

    const int threshold = burnupThreshold(state, false);
    state.sensors[kSensorGas] = threshold - 1;
    tapAt(kAuto);
    EXPECT_EQ(frame->top(), m) << "too cold: nothing happens";
    EXPECT_EQ(state.burnerState, kManualIgnition);

    state.sensors[kSensorGas] = threshold;
    state.linkOk = 0;
    tapAt(kAuto);
    EXPECT_EQ(frame->top(), m) << "no frame from the board: refused";

    state.linkOk = 1;
    state.controlFlags |= kFlagIgniter;
    tapAt(kAuto);
    EXPECT_EQ(state.burnerState, kBlowup);
    EXPECT_EQ(state.controlFlags & kFlagIgniter, 0u);
    EXPECT_EQ(frame->top(), root);
}

TEST_P(ManualIgnitionTest, AugerRunsOnePulseAndItsSwitchFollows) {
    ManualIgnitionScreen* m = manual();
    tapAt(kAuger);
    EXPECT_TRUE(m->augerSwitch()->on());
    EXPECT_EQ(state.augerOn, 1);
    EXPECT_TRUE(pulse.running());
    refresh();
    EXPECT_TRUE(m->augerSwitch()->on());

    advance(30000);
    EXPECT_EQ(state.augerOn, 0) << "one 30 s run";
    refresh();
    EXPECT_FALSE(m->augerSwitch()->on());

    tapAt(kAuger);
    tapAt(kAuger);
    EXPECT_FALSE(pulse.running());
    EXPECT_EQ(state.augerStopPulse, 1) << "board 0x2214 is told to stop";
}

TEST_P(ManualIgnitionTest, BlowerSwitchAndThePicture) {
    ManualIgnitionScreen* m = manual();
    tapAt(kBlower);
    EXPECT_EQ(state.fanPower, state.svc.FAN_BURNUP);
    EXPECT_TRUE(m->boiler()->fan()->running()) << "the picture follows at once";
    tapAt(kBlower);
    EXPECT_EQ(state.fanPower, 0);
    EXPECT_FALSE(m->boiler()->fan()->running());

    // Fire appears once the flue gas reaches GAS_BURNUP.
    state.sensors[kSensorGas] = state.svc.GAS_BURNUP;
    refresh();
    EXPECT_TRUE(m->boiler()->fire()->visible());
    state.sensors[kSensorGas] = state.svc.GAS_BURNUP - 1;
    refresh();
    EXPECT_FALSE(m->boiler()->fire()->visible());
}

TEST_P(ManualIgnitionTest, CancelStopsEverythingAndAStateChangeCloses) {
    ManualIgnitionScreen* m = manual();
    tapAt(kBlower);
    tapAt(kAuger);
    tapAt(kCancel);
    EXPECT_EQ(state.burnerState, kStop);
    EXPECT_EQ(state.fanPower, 0);
    EXPECT_FALSE(pulse.running());
    EXPECT_EQ(frame->top(), root);

    menu = new MenuProbe(frame.get(), &menuGone);
    frame->push(menu);
    m = manual();
    ASSERT_NE(m, nullptr);
    commandBurner(state, kCmdStop);  // a remote stop
    refresh();
    EXPECT_EQ(frame->top(), root);
}

TEST_P(ManualIgnitionTest, HeatingElementOnlyForOrvenasIgniterFuels) {
    state.usr.FUEL = 2;
    commandBurner(state, kCmdManualIgnition);
    auto* m = new ManualIgnitionScreen(frame.get(), ctx);
    frame->push(m);
    frame->processPending();
    if (kestralo()) {
        EXPECT_EQ(m->heaterBox(), nullptr);
        EXPECT_EQ(m->instruction()->text(),
                  "Заполните горелку топливом. Разожгите огонь. Включите поддув. Перейдите в авторежим.");
        return;
    }
    ASSERT_NE(m->heaterBox(), nullptr);
    tapAt(kHeaterBox);
    EXPECT_NE(state.controlFlags & kFlagIgniter, 0u);
    tapAt(kHeaterBox);
    EXPECT_EQ(state.controlFlags & kFlagIgniter, 0u);

    state.usr.FUEL = 0;
    auto* coal = new ManualIgnitionScreen(frame.get(), ctx);
    EXPECT_EQ(coal->heaterBox(), nullptr);
    delete coal;
}

TEST_P(ManualIgnitionTest, StopConfirmationIssuesTheStop) {
    state.usr.BURN_MODE = 0;
    state.burnerState = kBurning;
    state.fanPower = 60;
    entry();
    ASSERT_NE(dynamic_cast<StopConfirmation*>(frame->top()), nullptr);
    EXPECT_TRUE(menuGone);
    tapAt(kSecond);
    EXPECT_EQ(state.burnerState, kBurning) << "ОТМЕНА changes nothing";
    EXPECT_EQ(frame->top(), root);

    frame->push(new StopConfirmation(frame.get(), ctx));
    frame->processPending();
    tapAt(kOk);
    EXPECT_EQ(state.burnerState, kStop) << "command 4";
    EXPECT_EQ(state.fanPower, 0);
    EXPECT_EQ(state.augerStopPulse, 1);
    EXPECT_EQ(frame->top(), root);
}

TEST_F(OrvenaIgnitionTest, IgnitionChoiceShowsAutoOnlyWithTheAutoHeater) {
    state.usr.BURN_MODE = 0;
    state.usr.FUEL = 2;
    state.usr.EN_AUTOHEATER = 0;
    entry();
    auto* box = dynamic_cast<MessageBox*>(frame->top());
    ASSERT_NE(box, nullptr);
    EXPECT_FALSE(menuGone) << "the choice opens over the menu";
    EXPECT_FALSE(box->cancelButton()->visible());
    tapAt({61, 136});
    EXPECT_EQ(state.usr.EN_AUTOHEATER, 1);
    EXPECT_TRUE(box->cancelButton()->visible()) << "shown at once";

    tapAt(kSecond);  // "АВТО"
    EXPECT_EQ(state.burnerState, kIgnition);
    EXPECT_TRUE(menuGone);
    EXPECT_EQ(frame->top(), root);
    EXPECT_NE(readText(dir.file("user.cfg")).find("EN_AUTOHEATER=1"), std::string::npos);
}

TEST_F(OrvenaIgnitionTest, IgnitionChoiceManualOpensManualIgnition) {
    state.usr.FUEL = 5;
    entry();
    tapAt(kOk);  // "РУЧНОЙ"
    EXPECT_EQ(state.burnerState, kManualIgnition);
    EXPECT_NE(dynamic_cast<ManualIgnitionScreen*>(frame->top()), nullptr);
    EXPECT_TRUE(menuGone);
    EXPECT_EQ(frame->stack().size(), 2u);
}

TEST_F(OrvenaIgnitionTest, OtherBurningModes) {
    state.usr.BURN_MODE = 2;
    entry();
    EXPECT_EQ(frame->top(), menu) << "firewood: nothing";
    state.usr.BURN_MODE = 1;
    Screen* semi = nullptr;
    startStopBoiler(*frame, ctx, menu, [&] { return semi = new Screen(frame.get()); });
    frame->processPending();
    EXPECT_EQ(frame->top(), semi);
    EXPECT_TRUE(menuGone);
}

INSTANTIATE_TEST_SUITE_P(Variants, ManualIgnitionTest, ::testing::Values(Variant::Orvena, Variant::Kestralo),
                         variantName);

}  // namespace
}  // namespace vesk::test
