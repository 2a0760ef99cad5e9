// The service sheet on a headless screen with the manual clock and the
// built pictures, the pen driven at the widgets' own places.
#pragma once
#include <gtest/gtest.h>

#include <memory>

#include "core/sound_player.h"
#include "platform/display/headless_display.h"
#include "platform/manual_clock.h"
#include "service_tool/board_test.h"
#include "service_tool/service_sheet.h"
#include "settings/service_table.h"
#include "support/test_support.h"
#include "ui/toolkit/app_frame.h"
#include "ui/toolkit/resources.h"
#include "ui/toolkit/repeat_button.h"
#include "ui/toolkit/spin_box.h"
#include "ui/toolkit_fixture.h"

namespace vesk::test {

class FixedAdapter : public NetworkAdapter {
public:
    AdapterState query() override { return state; }
    AdapterState state;
};

class NullRefresh : public RefreshSink {
public:
    void postRefresh() override {}
};

class SheetTest : public ::testing::Test {
protected:
    SheetTest()
        : resources(binDir() + "res/", {binDir()}), frame(display, clock, resources, sound), board(clock, refresh) {
        serviceDefaults(record.settings, kToolVariant, true);
    }
    // Builds the sheet over the record as the test has set it.
    void open() {
        ExitActions a;
        a.save = [this] {
            ++saves;
            return saveResult;
        };
        a.leave = [this] { ++leaves; };
        sheet = new ServiceSheet(&frame, record, board, adapter, std::move(a));
        frame.push(sheet);
        frame.processPending();
    }

    void tap(Widget* w) {
        const Rect r = w->windowRect();
        const int x = (r.left + r.right) / 2, y = (r.top + r.bottom) / 2;
        // The widget, or a list around it that takes the whole gesture.
        Widget* hit = frame.top()->hitTest(x, y);
        Widget* a = w;
        while (a && a != hit) a = a->parent();
        ASSERT_NE(a, nullptr) << "something covers the widget";
        frame.penDown(x, y);
        frame.penUp(x, y);
        frame.processPending();
    }
    // Holds the pen on `w` for `ms` panel milliseconds.
    void hold(Widget* w, int64_t ms) {
        const Rect r = w->windowRect();
        const int x = (r.left + r.right) / 2, y = (r.top + r.bottom) / 2;
        frame.penDown(x, y);
        advance(ms);
        frame.penUp(x, y);
        frame.processPending();
    }
    void up(SpinBox* s, int times = 1) {
        for (int i = 0; i < times; ++i) tap(s->upButton());
    }
    void down(SpinBox* s, int times = 1) {
        for (int i = 0; i < times; ++i) tap(s->downButton());
    }
    void advance(int64_t ms) { advanceFrame(clock, frame, ms); }
    template <typename T>
    T* go(int page) {
        sheet->selectPage(page);
        frame.processPending();
        return sheet->pageAs<T>(page);
    }
    ServiceParams& svc() { return record.settings.svc; }

    HeadlessDisplay display;
    ManualClock clock;
    RecordingSoundPlayer sound;
    Resources resources;
    AppFrame frame;
    NullRefresh refresh;
    BoardTest board;
    FixedAdapter adapter;
    ServiceRecord record;
    ServiceSheet* sheet = nullptr;
    int saves = 0;
    int leaves = 0;
    bool saveResult = true;
};

}  // namespace vesk::test
