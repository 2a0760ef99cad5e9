// MessageBox: layouts, the result path (save, pop, handler, delete) and the
// ignition choice's check box.
#include "toolkit_fixture.h"
#include "ui/toolkit/button.h"
#include "ui/toolkit/label.h"
#include "ui/toolkit/message_box.h"
#include "ui/toolkit/screen.h"
#include "ui/toolkit/toggle_button.h"

namespace vesk::test {
namespace {

class MessageBoxTest : public ToolkitTest {
protected:
    MessageBoxTest() {
        addPicture(193, 320, 240, 0xF0F0F0);
        addPicture(173, 94, 40, 0x808080, true);
        addPicture(172, 94, 40, 0x404040, true);
        addPicture(219, 30, 30, 0xFFFFFF, true);
        addPicture(218, 30, 30, 0x00C000, true);
        addPicture(268, 100, 50, 0xE0E0E0, true);
        home = new Screen(frame.get());
        frame->setRoot(home);
    }
    MessageBox* open() {
        auto* box = new MessageBox(frame.get());
        box->setSaveSettings([this] { events.push_back("save"); });
        box->setResultHandler([this](bool cancelled) {
            events.push_back(cancelled ? "cancelled" : "ok");
            topAtResult = frame->top();
        });
        return box;
    }
    void tap(Widget* w) {
        const Rect r = w->windowRect();
        frame->postPen({PenEvent::Kind::Down, r.left + 5, r.top + 5});
        frame->postPen({PenEvent::Kind::Up, r.left + 5, r.top + 5});
        frame->processPending();
    }
    Screen* home;
    std::vector<std::string> events;
    Widget* topAtResult = nullptr;
};

TEST_F(MessageBoxTest, ButtonCountAndCaptions) {
    auto* two = open();
    two->build("ВНИМАНИЕ!", "Сбросить настройки?", 1);
    ASSERT_NE(two->cancelButton(), nullptr);
    EXPECT_EQ(two->okButton()->text(), "ОК");
    EXPECT_EQ(two->okButton()->font(), (Font{20, true}));
    delete two;

    auto* one = open();
    one->build("СООБЩЕНИЕ!", "Настройки сохранены", 0, "ДА");
    EXPECT_EQ(one->cancelButton(), nullptr);
    EXPECT_EQ(one->okButton()->rect().left, 113);
    EXPECT_EQ(one->okButton()->font(), (Font{16, true}));  // a given caption is smaller
    delete one;

    auto* none = open();
    none->build("", "", 2);
    EXPECT_EQ(none->okButton(), nullptr);
    delete none;
}

TEST_F(MessageBoxTest, OkAndCancelSavePopReportAndDelete) {
    for (bool pressOk : {true, false}) {
        events.clear();
        auto* box = open();
        box->build("ВНИМАНИЕ!", "Продолжить?", 1);
        frame->push(box);
        frame->processPending();
        tap(pressOk ? box->okButton() : box->cancelButton());
        EXPECT_EQ(events, (std::vector<std::string>{"save", pressOk ? "ok" : "cancelled"}));
        EXPECT_EQ(topAtResult, home);  // popped before the handler runs
        EXPECT_EQ(frame->top(), home);
        EXPECT_EQ(frame->captured(), nullptr);
    }
}

TEST_F(MessageBoxTest, IgnitionChoiceShowsCancelOnlyWithAutoHeater) {
    int enAutoHeater = 0;
    auto* box = open();
    box->buildIgnitionChoice("", "\n\nВыберите тип розжига", "РУЧНОЙ", "АВТО",
                             {[&] { return enAutoHeater; }, [&](int32_t v) { enAutoHeater = v; }});
    frame->push(box);
    frame->processPending();
    ASSERT_NE(box->checkBox(), nullptr);
    EXPECT_EQ(box->checkBox()->rect().left, 45);
    EXPECT_EQ(box->checkLabel()->rect(), (Rect{85, 120, 185, 170}));
    EXPECT_EQ(box->titleLabel()->rect(), (Rect{0, 0, 200, 50}));
    EXPECT_EQ(box->textLabel()->rect(), (Rect{30, 25, 270, 75}));
    EXPECT_FALSE(box->checkBox()->on());
    EXPECT_FALSE(box->cancelButton()->visible());
    EXPECT_EQ(box->cancelButton()->text(), "АВТО");

    tap(box->checkLabel());  // the label flips the box too
    EXPECT_TRUE(box->checkBox()->on());
    EXPECT_EQ(enAutoHeater, 1);
    EXPECT_TRUE(box->cancelButton()->visible());
    tap(box->checkBox());
    EXPECT_FALSE(box->checkBox()->on());
    EXPECT_EQ(enAutoHeater, 0);
    EXPECT_FALSE(box->cancelButton()->visible());
    tap(box->checkBox());
    EXPECT_EQ(enAutoHeater, 1);

    tap(box->cancelButton());  // "АВТО"
    EXPECT_EQ(events, (std::vector<std::string>{"save", "cancelled"}));
    EXPECT_EQ(frame->top(), home);

    // Starting with the setting on, "АВТО" is there from the start.
    auto* again = open();
    again->buildIgnitionChoice("", "", "РУЧНОЙ", "АВТО", {[] { return 1; }, [](int32_t) {}});
    EXPECT_TRUE(again->checkBox()->on());
    EXPECT_TRUE(again->cancelButton()->visible());
    delete again;
}

}  // namespace
}  // namespace vesk::test
