// Button family over panel time: repeat timing, long press window, toggles,
// tabs and the alert blink.
#include "toolkit_fixture.h"
#include "ui/toolkit/alert_tab_button.h"
#include "ui/toolkit/hold_button.h"
#include "ui/toolkit/repeat_button.h"
#include "ui/toolkit/screen.h"
#include "ui/toolkit/toggle_button.h"

namespace vesk::test {
namespace {

class ButtonsTest : public ToolkitTest {
protected:
    ButtonsTest() {
        addPicture(233, 60, 60, 0x00FF00, true);
        addPicture(230, 60, 60, 0x0000FF, true);
        screen = new Screen(frame.get());
        frame->setRoot(screen);
    }
    template <class B>
    B* add(int x, int y) {
        auto* b = new B(screen);
        b->setBitmaps(x, y, 233, 230);
        b->setClickHandler([this](Widget&) { clicks.push_back(clock.nowMs()); });
        screen->addChild(b);
        return b;
    }
    Screen* screen;
    std::vector<int64_t> clicks;
};

TEST_F(ButtonsTest, RepeatButtonSpeedsUpToItsFloor) {
    auto* up = add<RepeatButton>(255, 47);
    frame->penDown(260, 50);
    advance(4000);
    std::vector<int64_t> gaps;
    for (size_t i = 1; i < clicks.size(); ++i) gaps.push_back(clicks[i] - clicks[i - 1]);
    ASSERT_GE(gaps.size(), 20u);
    EXPECT_EQ(clicks[0], 0);
    const std::vector<int64_t> expected{500, 200, 200, 190, 180, 170, 160, 150, 140, 130, 120,
                                        110, 100, 90,  80,  70,  60,  60,  60};
    EXPECT_EQ(std::vector<int64_t>(gaps.begin(), gaps.begin() + 19), expected);
    for (int64_t g : gaps) EXPECT_GE(g, 60);

    // Release stops it at once; the next press starts from the beginning.
    frame->penUp(260, 50);
    EXPECT_FALSE(up->pressed());
    const size_t n = clicks.size();
    advance(2000);
    EXPECT_EQ(clicks.size(), n);
    frame->penDown(260, 50);
    advance(699);
    EXPECT_EQ(clicks.size(), n + 2);
    advance(1);
    EXPECT_EQ(clicks.size(), n + 3);
    frame->penUp(260, 50);
}

TEST_F(ButtonsTest, RepeatButtonWithoutFirstDelayAndCancel) {
    auto* b = add<RepeatButton>(0, 0);
    b->setTiming(0, 100, 50, 10);
    frame->penDown(5, 5);
    advance(100);
    EXPECT_EQ(clicks, (std::vector<int64_t>{0, 100}));
    b->cancelPress();
    EXPECT_FALSE(b->pressed());
    EXPECT_FALSE(frame->timerRunning(b));
    advance(1000);
    EXPECT_EQ(clicks.size(), 2u);
}

TEST_F(ButtonsTest, HoldButtonFiresOnlyBetweenFiveAndTenSeconds) {
    auto* b = add<HoldButton>(0, 0);
    struct Case {
        int64_t heldMs;
        bool fires;
    };
    for (const Case c : {Case{4900, false}, Case{5000, true}, Case{7500, true}, Case{9990, true}, Case{10000, false},
                         Case{10100, false}, Case{30000, false}}) {
        clicks.clear();
        frame->penDown(5, 5);
        EXPECT_TRUE(b->pressed());
        advance(c.heldMs);
        frame->penUp(5, 5);
        EXPECT_EQ(clicks.size(), c.fires ? 1u : 0u) << c.heldMs;
        EXPECT_FALSE(b->pressed());
        EXPECT_FALSE(b->armed());
        EXPECT_FALSE(frame->timerRunning(b));
    }
    // Lifted far away from the button, the long press still counts.
    clicks.clear();
    frame->penDown(5, 5);
    advance(6000);
    frame->penMove(300, 200);
    frame->penUp(300, 200);
    EXPECT_EQ(clicks.size(), 1u);
}

TEST_F(ButtonsTest, ToggleFlipsOnPenDownAndAlwaysTellsTheHandler) {
    auto* box = add<ToggleButton>(45, 120);
    frame->penDown(50, 125);
    EXPECT_TRUE(box->on());
    frame->penUp(50, 125);
    EXPECT_TRUE(box->on());
    EXPECT_EQ(clicks.size(), 1u);
    frame->penDown(50, 125);
    frame->penUp(50, 125);
    EXPECT_FALSE(box->on());
    box->setToggling(false);
    frame->penDown(50, 125);
    frame->penUp(50, 125);
    EXPECT_FALSE(box->on());
    EXPECT_EQ(clicks.size(), 3u);
}

TEST_F(ButtonsTest, AlertTabBlinksUnlessSelectedAndStopsWhenHidden) {
    addPicture(243, 60, 60, 0x00FFFF, true);  // warning
    addPicture(244, 60, 60, 0x0000FF, true);  // fault
    addPicture(171, 60, 60, 0x808080, true);
    addPicture(170, 60, 60, 0x404040, true);
    auto* tab = new AlertTabButton(screen);
    tab->setBitmaps(240, 0, 171, 170);
    tab->setAlertBitmaps(243, 244);
    screen->addChild(tab);
    frame->invalidateAll();
    frame->processPending();
    EXPECT_EQ(screenPixel(270, 30), toPixel(0x808080));

    tab->setAlert(2);
    EXPECT_TRUE(frame->timerRunning(tab));
    advance(500);
    EXPECT_TRUE(tab->blinkPhase());
    EXPECT_EQ(screenPixel(270, 30), toPixel(0x0000FF));
    advance(500);
    EXPECT_EQ(screenPixel(270, 30), toPixel(0x808080));
    tab->setAlert(1);  // same timer, new picture
    EXPECT_EQ(frame->timerCount(), 1u);
    advance(500);
    EXPECT_EQ(screenPixel(270, 30), toPixel(0x00FFFF));

    // Selected: the phase still turns but the tab is not repainted.
    tab->setPressed(true, true);
    EXPECT_EQ(screenPixel(270, 30), toPixel(0x404040));
    advance(500);
    EXPECT_EQ(screenPixel(270, 30), toPixel(0x404040));
    tab->setPressed(false, false);

    tab->setAlert(0);
    EXPECT_FALSE(frame->timerRunning(tab));
    EXPECT_FALSE(tab->blinkPhase());
    EXPECT_EQ(screenPixel(270, 30), toPixel(0x808080));

    tab->setAlert(2);
    screen->hide();
    EXPECT_FALSE(frame->timerRunning(tab));
    tab->setAlert(2);  // the next refresh starts it again
    EXPECT_TRUE(frame->timerRunning(tab));
}

}  // namespace
}  // namespace vesk::test
