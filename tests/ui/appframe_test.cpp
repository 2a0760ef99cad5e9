// AppFrame: screen stack, refresh, pen capture and click sound, timers,
// deferred deletion, paint pipeline and the automation commands.
#include <cairo.h>

#include <algorithm>
#include <chrono>
#include <future>
#include <thread>

#include "platform/sound/sound_log.h"
#include "toolkit_fixture.h"
#include "ui/toolkit/button.h"
#include "ui/toolkit/hold_button.h"
#include "ui/toolkit/label.h"
#include "ui/toolkit/menu_list.h"
#include "ui/toolkit/screen.h"

namespace vesk::test {
namespace {

using Log = std::vector<std::string>;

class AppFrameTest : public ToolkitTest {
protected:
    // The frame hides its screens on the way out, and they write to the log.
    ~AppFrameTest() override { frame.reset(); }
    Log log;
    int count(const std::string& entry) const { return static_cast<int>(std::count(log.begin(), log.end(), entry)); }
};

TEST_F(AppFrameTest, PushAndPopSwapShowAndHideAndRepaintOnce) {
    auto* home = new ProbeWidget(frame.get(), &log, "home");
    auto* menu = new ProbeWidget(frame.get(), &log, "menu");
    frame->setRoot(home);
    EXPECT_EQ(log, (Log{"home.show"}));
    EXPECT_TRUE(frame->pendingInvalid().empty());  // installing the root does not paint

    log.clear();
    frame->push(menu);
    EXPECT_EQ(log, (Log{"home.hide", "menu.show"}));
    EXPECT_EQ(frame->top(), menu);
    frame->processPending();
    EXPECT_EQ(count("menu.paint"), 1);
    EXPECT_EQ(count("home.paint"), 0);
    EXPECT_EQ(frame->fullPaints(), 1);

    log.clear();
    frame->pop();
    EXPECT_EQ(log, (Log{"menu.hide", "home.show"}));
    frame->processPending();
    EXPECT_EQ(count("home.paint"), 1);
    EXPECT_EQ(frame->fullPaints(), 2);
    EXPECT_EQ(frame->stack(), (std::vector<Widget*>{home}));
    delete menu;  // popped screens belong to whoever pushed them

    // Several invalidations before the loop runs make one paint.
    frame->invalidate({0, 0, 10, 10});
    frame->invalidate({100, 100, 120, 120});
    frame->processPending();
    EXPECT_EQ(frame->fullPaints(), 3);
}

TEST_F(AppFrameTest, RefreshMessagesReachOnlyTheTopScreen) {
    auto* home = new ProbeWidget(frame.get(), &log, "home");
    auto* menu = new ProbeWidget(frame.get(), &log, "menu");
    frame->setRoot(home);
    frame->push(menu);
    // Posted from other threads; each one is handled in turn.
    std::thread a([&] { frame->postRefresh(); });
    std::thread b([&] {
        frame->postRefresh();
        frame->postRefresh();
    });
    a.join();
    b.join();
    log.clear();
    frame->processPending();
    EXPECT_EQ(count("menu.refresh"), 3);
    EXPECT_EQ(count("home.refresh"), 0);
}

TEST_F(AppFrameTest, PenCaptureFollowsTheWidgetPressedUntilPenUp) {
    auto* screen = new Screen(frame.get());
    auto* panel = new Screen(frame.get(), 10, 10, 200, 200);
    auto* item = new ProbeWidget(frame.get(), &log, "item", 100, 50, 40, 30);
    panel->addChild(item);
    screen->addChild(panel);
    frame->setRoot(screen);
    log.clear();

    frame->penDown(115, 65);
    EXPECT_EQ(frame->captured(), item);
    frame->penMove(0, 0);          // off the item: still its move
    frame->penUp(300, 230);        // and its pen-up
    EXPECT_EQ(log, (Log{"item.down 5,5", "item.move -110,-60", "item.up 190,170"}));
    EXPECT_EQ(frame->captured(), nullptr);
    frame->penMove(115, 65);       // nothing captured: nobody hears it
    frame->penUp(115, 65);
    EXPECT_EQ(log.size(), 3u);

    // Outside every child the screen itself is captured.
    frame->penDown(5, 5);
    EXPECT_EQ(frame->captured(), screen);
    frame->penUp(5, 5);
    // A hidden child is not hit.
    item->setVisible(false, false);
    frame->penDown(115, 65);
    EXPECT_EQ(frame->captured(), panel);
    frame->penUp(115, 65);
}

TEST_F(AppFrameTest, ButtonClicksWhereverThePenIsLifted) {
    addPicture(173, 90, 40, 0x808080, true);
    addPicture(172, 90, 40, 0x404040, true);
    auto* screen = new Screen(frame.get());
    auto* b = new Button(screen);
    b->setBitmaps(44, 175, 173, 172);
    int clicks = 0;
    b->setClickHandler([&](Widget& s) {
        EXPECT_EQ(&s, b);
        ++clicks;
    });
    screen->addChild(b);
    frame->setRoot(screen);
    frame->penDown(50, 180);
    EXPECT_TRUE(b->pressed());
    frame->penMove(5, 5);
    EXPECT_TRUE(b->pressed());
    EXPECT_EQ(clicks, 0);
    frame->penUp(5, 5);
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(b->pressed());
    // A disabled button neither presses nor clicks.
    b->setEnabled(false);
    frame->penDown(50, 180);
    frame->penUp(50, 180);
    EXPECT_EQ(clicks, 1);
}

TEST_F(AppFrameTest, ClickSoundOnEveryPenDownWhileTheSettingIsOn) {
    int enSoundPress = 0;
    frame->setTouchSoundSetting([&] { return enSoundPress; });
    frame->setRoot(new Screen(frame.get()));
    frame->penDown(10, 10);
    frame->penUp(10, 10);
    EXPECT_TRUE(sound.take().empty());

    for (int value : {1, 7, -1}) {
        enSoundPress = value;
        frame->penDown(300, 200);  // no button there
        frame->penMove(301, 200);
        frame->penUp(301, 200);
        const auto played = sound.take();
        ASSERT_EQ(played.size(), 1u) << value;
        EXPECT_EQ(played[0].resource, kClickSound);
        EXPECT_EQ(played[0].flags, unsigned(kSoundAsync | kSoundNoStop));
    }
    // Even with an empty stack the pen-down clicks.
    AppFrame bare(display, clock, *resources, sound);
    bare.setTouchSoundSetting([] { return 1; });
    bare.penDown(1, 1);
    EXPECT_EQ(sound.take().size(), 1u);
}

TEST_F(AppFrameTest, TimerRegistryKeepsOneEntryPerWidgetAndReArms) {
    auto* screen = new Screen(frame.get());
    auto* w = new ProbeWidget(frame.get(), &log, "w", 0, 0, 10, 10);
    screen->addChild(w);
    frame->setRoot(screen);
    frame->startTimer(w, 100);
    advance(60);
    frame->startTimer(w, 100);  // re-arms: the next tick is 100 ms from now
    EXPECT_EQ(frame->timerCount(), 1u);
    advance(60);
    EXPECT_EQ(count("w.tick"), 0);
    advance(40);
    EXPECT_EQ(count("w.tick"), 1);
    advance(300);
    EXPECT_EQ(count("w.tick"), 4);
    frame->stopTimer(w);
    EXPECT_FALSE(frame->timerRunning(w));
    advance(1000);
    EXPECT_EQ(count("w.tick"), 4);
    frame->stopTimer(w);  // stopping a stopped timer is harmless

    // A deleted widget's timer goes with it.
    frame->startTimer(w, 50);
    screen->removeChild(w);
    delete w;
    EXPECT_EQ(frame->timerCount(), 0u);
    advance(200);
}

TEST_F(AppFrameTest, HandlerMayPopAndDeleteItsOwnScreen) {
    addPicture(173, 90, 40, 0x808080, true);
    auto* home = new ProbeWidget(frame.get(), &log, "home");
    frame->setRoot(home);
    auto* editor = new Screen(frame.get());
    auto* ok = new Button(editor);
    ok->setBitmaps(44, 185, 173, 173);
    ok->setClickHandler([&, editor](Widget&) {
        frame->pop();
        frame->deleteLater(editor);
    });
    editor->addChild(ok);
    frame->push(editor);
    frame->processPending();

    frame->postPen({PenEvent::Kind::Down, 50, 190});
    frame->postPen({PenEvent::Kind::Up, 50, 190});
    frame->postPen({PenEvent::Kind::Move, 50, 190});  // after the screen is gone
    log.clear();
    frame->processPending();
    EXPECT_EQ(frame->top(), home);
    EXPECT_EQ(frame->captured(), nullptr);
    EXPECT_EQ(count("home.show"), 1);
    EXPECT_EQ(count("home.paint"), 1);
}

TEST_F(AppFrameTest, ListItemMayDeleteTheScreenHoldingTheList) {
    addPicture(250, 200, 30, 0x808080, true);
    frame->setRoot(new ProbeWidget(frame.get(), &log, "home"));
    auto* menu = new Screen(frame.get());
    auto* list = new MenuList(frame.get(), 10, 30, 200, 150);
    list->setOrientation(1);
    auto* item = new Button(list);
    item->setBitmaps(0, 0, 250, 250);
    item->setClickHandler([&, menu](Widget&) {
        frame->pop();
        frame->deleteLater(menu);
    });
    list->addItem(item);
    menu->addChild(list);
    frame->push(menu);
    frame->postPen({PenEvent::Kind::Down, 20, 40});
    frame->postPen({PenEvent::Kind::Up, 20, 40});
    frame->processPending();
    EXPECT_EQ(frame->stack().size(), 1u);
}

TEST_F(AppFrameTest, DeletingAWidgetClearsItsCaptureAndStackPlace) {
    auto* home = new Screen(frame.get());
    frame->setRoot(home);
    auto* dialog = new Screen(frame.get());
    frame->push(dialog);
    frame->penDown(10, 10);
    EXPECT_EQ(frame->captured(), dialog);
    frame->deleteLater(dialog);
    frame->deleteLater(dialog);  // asked twice, deleted once
    frame->processPending();
    EXPECT_EQ(frame->captured(), nullptr);
    EXPECT_EQ(frame->top(), home);
    frame->penUp(10, 10);
}

TEST_F(AppFrameTest, PartialRepaintDrawsStraightOnTheScreenInsideTheParent) {
    addPicture(173, 60, 20, 0x00FF00, true);
    addPicture(172, 60, 20, 0x0000FF, true);
    addPicture(167, 320, 240, 0x202020);
    auto* screen = new Screen(frame.get());
    screen->setBackground(167, false);
    auto* panel = new Screen(frame.get(), 100, 100, 50, 50);
    auto* b = new Button(panel);
    b->setBitmaps(30, 30, 173, 172);  // reaches past the panel's edge
    panel->addChild(b);
    screen->addChild(panel);
    frame->setRoot(screen);
    frame->invalidateAll();
    frame->processPending();
    EXPECT_EQ(screenPixel(131, 131), toPixel(0x00FF00));
    EXPECT_EQ(screenPixel(149, 131), toPixel(0x00FF00));
    EXPECT_EQ(screenPixel(150, 131), toPixel(0x202020));  // the panel clips its child
    const int presents = display.presentCount();
    const int paints = frame->fullPaints();

    frame->penDown(135, 135);  // pressed look: a partial repaint, no full paint
    EXPECT_EQ(screenPixel(131, 131), toPixel(0x0000FF));
    EXPECT_EQ(screenPixel(150, 131), toPixel(0x202020));
    frame->processPending();
    EXPECT_EQ(frame->fullPaints(), paints);
    EXPECT_EQ(display.presentCount(), presents + 1);
    frame->penUp(135, 135);
    EXPECT_EQ(screenPixel(131, 131), toPixel(0x00FF00));
}

TEST_F(AppFrameTest, FullPaintCopiesOnlyTheInvalidArea) {
    addPicture(167, 320, 240, 0x202020);
    auto* screen = new Screen(frame.get());
    screen->setBackground(167, false);
    frame->setRoot(screen);
    frame->invalidate({10, 10, 20, 20});
    frame->processPending();
    EXPECT_EQ(screenPixel(15, 15), toPixel(0x202020));
    EXPECT_EQ(screenPixel(25, 25), 0u);
}

TEST_F(AppFrameTest, HidingRestoresTheNearestAncestorBackground) {
    addPicture(167, 320, 240, 0x202020);
    addPicture(225, 100, 100, 0x00A0A0, true);   // keyed panel background
    addPicture(201, 40, 20, 0xFFFFFF, true);
    auto* screen = new Screen(frame.get());
    screen->setBackground(167, false);
    auto* panel = new Screen(frame.get(), 50, 50, 100, 100);
    panel->setBackground(225, true);
    auto* inner = new Screen(frame.get(), 0, 0, 100, 100);  // no background of its own
    auto* readout = new Label(inner);
    readout->setBounds(0, 0, 40, 20, 201, "");
    inner->addChild(readout);
    panel->addChild(inner);
    screen->addChild(panel);
    frame->setRoot(screen);
    frame->invalidateAll();
    frame->processPending();
    EXPECT_EQ(screenPixel(55, 55), toPixel(0xFFFFFF));
    readout->setVisible(false, true);
    EXPECT_EQ(screenPixel(55, 55), toPixel(0x00A0A0));
    // Where the panel is keyed the screen's background shows through.
    EXPECT_EQ(screenPixel(50, 50), toPixel(0x202020));
    EXPECT_EQ(screenPixel(95, 75), toPixel(0x00A0A0));  // outside the label: untouched
    readout->setVisible(true, true);
    EXPECT_EQ(screenPixel(55, 55), toPixel(0xFFFFFF));
}

// ---- automation ---------------------------------------------------------

struct Replies {
    std::vector<std::string> lines;
    std::function<void(const std::string&)> sink() {
        return [this](const std::string& s) { lines.push_back(s); };
    }
};

AutomationCommand command(AutomationCommand::Kind k, int x = 0, int y = 0) {
    AutomationCommand c{};
    c.kind = k;
    c.x = x;
    c.y = y;
    return c;
}

TEST_F(AppFrameTest, ShotWritesTheScreenAsItIs) {
    addPicture(167, 320, 240, 0x3060A0);
    auto* screen = new Screen(frame.get());
    screen->setBackground(167, false);
    frame->setRoot(screen);
    frame->invalidateAll();
    frame->processPending();
    display.pixels()[7 * kScreenWidth + 9] = 0x00ABCDEF;  // as a partial repaint would leave it

    Replies r;
    auto shot = command(AutomationCommand::Kind::Shot);
    shot.path = dir.file("shot.png");
    shot.reply = r.sink();
    frame->postAutomation(shot);
    auto bad = command(AutomationCommand::Kind::Shot);
    bad.path = dir.file("no/such/folder/shot.png");
    bad.reply = r.sink();
    frame->postAutomation(bad);
    frame->processPending();
    ASSERT_EQ(r.lines.size(), 2u);
    EXPECT_EQ(r.lines[0], "ok");
    EXPECT_EQ(r.lines[1].rfind("error ", 0), 0u) << r.lines[1];

    cairo_surface_t* png = cairo_image_surface_create_from_png(shot.path.c_str());
    ASSERT_EQ(cairo_surface_status(png), CAIRO_STATUS_SUCCESS);
    ASSERT_EQ(cairo_image_surface_get_width(png), kScreenWidth);
    ASSERT_EQ(cairo_image_surface_get_height(png), kScreenHeight);
    const int stride = cairo_image_surface_get_stride(png);
    const unsigned char* data = cairo_image_surface_get_data(png);
    int differ = 0;
    for (int y = 0; y < kScreenHeight; ++y)
        for (int x = 0; x < kScreenWidth; ++x) {
            const uint32_t p = reinterpret_cast<const uint32_t*>(data + y * stride)[x] & 0xFFFFFF;
            if (p != screenPixel(x, y)) ++differ;
        }
    EXPECT_EQ(differ, 0);
    EXPECT_EQ(reinterpret_cast<const uint32_t*>(data + 7 * stride)[9] & 0xFFFFFF, 0xABCDEFu);
    cairo_surface_destroy(png);
}

TEST_F(AppFrameTest, SyncAnswersAfterEverythingBeforeItIsHandledAndPainted) {
    auto* home = new ProbeWidget(frame.get(), &log, "home");
    frame->setRoot(home);
    auto* menu = new ProbeWidget(frame.get(), &log, "menu");
    int paintsAtReply = -1;
    size_t logAtReply = 0;
    frame->postRefresh();
    auto tap = command(AutomationCommand::Kind::Tap, 30, 40);
    Replies r;
    tap.reply = r.sink();
    frame->postAutomation(tap);
    frame->push(menu);  // invalid now; painted before sync answers
    auto sync = command(AutomationCommand::Kind::Sync);
    sync.reply = [&](const std::string& s) {
        r.lines.push_back(s);
        paintsAtReply = frame->fullPaints();
        logAtReply = log.size();
    };
    frame->postAutomation(sync);
    frame->postRefresh();  // after the sync: not yet handled when it answers
    frame->processPending();
    EXPECT_EQ(r.lines, (std::vector<std::string>{"ok", "ok"}));
    EXPECT_EQ(paintsAtReply, 1);
    const Log before(log.begin(), log.begin() + static_cast<std::ptrdiff_t>(logAtReply));
    EXPECT_EQ(before, (Log{"home.show", "home.hide", "menu.show", "menu.refresh", "menu.down 30,40", "menu.up 30,40",
                           "menu.paint"}));
    EXPECT_EQ(log.back(), "menu.refresh");
    delete menu;
}

TEST_F(AppFrameTest, HoldKeepsThePenDownWithoutBlockingTheLoop) {
    addPicture(173, 90, 40, 0x808080, true);
    auto* screen = new ProbeWidget(frame.get(), &log, "screen");
    auto* b = new HoldButton(screen);
    b->setBitmaps(0, 0, 173, 173);
    int fired = 0;
    b->setClickHandler([&](Widget&) { ++fired; });
    screen->addChild(b);
    frame->setRoot(screen);
    Replies r;
    auto hold = command(AutomationCommand::Kind::Hold, 10, 10);
    hold.holdMs = 6000;
    hold.reply = r.sink();
    frame->postAutomation(hold);
    frame->processPending();
    EXPECT_TRUE(r.lines.empty());
    EXPECT_TRUE(b->pressed());
    frame->postRefresh();  // the loop goes on while the pen is held
    advance(3000);
    EXPECT_EQ(std::count(log.begin(), log.end(), "screen.refresh"), 1);
    EXPECT_TRUE(r.lines.empty());
    advance(3000);
    EXPECT_EQ(r.lines, (std::vector<std::string>{"ok"}));
    EXPECT_EQ(fired, 1);
    EXPECT_FALSE(b->pressed());
    delete b;
}

TEST_F(AppFrameTest, SoundsReportsWhatPlayedSinceTheLastAsk) {
    RecordingSoundPlayer out;
    SoundLog soundLog(out);
    AppFrame f(display, clock, *resources, soundLog);
    f.setTouchSoundSetting([] { return 1; });
    f.setSoundLog([&] { return soundLog.take(); });
    f.setRoot(new Screen(&f));
    Replies r;
    auto ask = [&] {
        auto c = command(AutomationCommand::Kind::Sounds);
        c.reply = r.sink();
        f.postAutomation(c);
        f.processPending();
    };
    auto tap = command(AutomationCommand::Kind::Tap, 5, 5);
    f.postAutomation(tap);
    f.processPending();
    soundLog.play(245, kSoundAsync | kSoundLoop);  // e.g. the control thread's alarm
    ask();
    ask();
    EXPECT_EQ(r.lines, (std::vector<std::string>{"ok 132 245", "ok"}));

    // Without a log the command says so rather than pretending.
    auto c = command(AutomationCommand::Kind::Sounds);
    c.reply = r.sink();
    frame->postAutomation(c);
    frame->processPending();
    EXPECT_EQ(r.lines.back().rfind("error", 0), 0u);
}

TEST_F(AppFrameTest, RunHandlesCommandsFromOtherThreadsUntilQuit) {
    auto* home = new ProbeWidget(frame.get(), &log, "home");
    frame->setRoot(home);
    std::promise<std::string> replied;
    std::thread client([&] {
        frame->postRefresh();
        auto sync = command(AutomationCommand::Kind::Sync);
        sync.reply = [&](const std::string& s) { replied.set_value(s); };
        frame->postAutomation(std::move(sync));
        auto fut = replied.get_future();
        if (fut.wait_for(std::chrono::seconds(30)) == std::future_status::ready) EXPECT_EQ(fut.get(), "ok");
        else ADD_FAILURE() << "sync never answered";
        display.injectPen({PenEvent::Kind::Down, 3, 4});
        frame->quit();
    });
    frame->run();
    client.join();
    EXPECT_EQ(count("home.refresh"), 1);
}

TEST_F(AppFrameTest, CommandsLeftAtShutdownAreAnswered) {
    Replies r;
    {
        AppFrame f(display, clock, *resources, sound);
        auto c = command(AutomationCommand::Kind::Sync);
        c.reply = r.sink();
        f.postAutomation(c);
    }
    EXPECT_EQ(r.lines.size(), 1u);
}

}  // namespace
}  // namespace vesk::test
