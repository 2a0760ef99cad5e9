// ScrollView gestures and MenuList layout and scroll bounds.
#include "toolkit_fixture.h"
#include "ui/toolkit/button.h"
#include "ui/toolkit/menu_list.h"
#include "ui/toolkit/screen.h"

namespace vesk::test {
namespace {

class ScrollTest : public ToolkitTest {
protected:
    ScrollTest() {
        addPicture(250, 200, 40, 0x808080, true);
        addPicture(251, 200, 40, 0x404040, true);
        screen = new Screen(frame.get());
        frame->setRoot(screen);
    }
    // A vertical list at (10, 30), 200 x 150, of `n` 40-pixel items 5 apart.
    MenuList* makeList(int n) {
        auto* list = new MenuList(frame.get(), 10, 30, 200, 150);
        list->setOrientation(1);
        list->setSpacing(5);
        for (int i = 0; i < n; ++i) {
            auto* item = new Button(list);
            item->setBitmaps(0, 0, 250, 251);
            item->setClickHandler([this, i](Widget&) { clicked.push_back(i); });
            list->addItem(item);
            items.push_back(item);
        }
        screen->addChild(list);
        return list;
    }
    Screen* screen;
    std::vector<Button*> items;
    std::vector<int> clicked;
};

TEST_F(ScrollTest, ItemsStackWithSpacingAndTheContentGrows) {
    MenuList* list = makeList(6);
    EXPECT_EQ(items[0]->rect(), (Rect{0, 0, 200, 40}));
    EXPECT_EQ(items[1]->rect(), (Rect{0, 45, 200, 85}));
    EXPECT_EQ(items[5]->rect(), (Rect{0, 225, 200, 265}));
    EXPECT_EQ(list->contentHeight(), 265);
    EXPECT_EQ(list->contentWidth(), 200);

    // A wider item widens the view and the content.
    addPicture(252, 260, 20, 0x808080, true);
    auto* wide = new Button(list);
    wide->setBitmaps(0, 0, 252, 252);
    list->addItem(wide);
    EXPECT_EQ(list->rect().width(), 260);
    EXPECT_EQ(list->contentWidth(), 260);
    EXPECT_EQ(wide->rect().top, 270);

}

TEST_F(ScrollTest, ScrollStaysWithinTheContent) {
    MenuList* list = makeList(6);  // content 265, view 150
    list->scrollBy(0, -50);
    EXPECT_EQ(list->scrollY(), 50);
    list->scrollBy(0, -1000);
    EXPECT_EQ(list->scrollY(), 115);
    list->scrollBy(0, 1000);
    EXPECT_EQ(list->scrollY(), 0);
    list->scrollBy(-30, 0);  // no room across
    EXPECT_EQ(list->scrollX(), 0);

    auto* shortList = new MenuList(frame.get(), 220, 30, 90, 150);
    shortList->setOrientation(1);
    auto* only = new Button(shortList);
    only->setBitmaps(0, 0, 250, 250);
    shortList->addItem(only);
    screen->addChild(shortList);
    shortList->scrollBy(0, -20);
    EXPECT_EQ(shortList->scrollY(), 0);
    shortList->scrollBy(0, 20);
    EXPECT_EQ(shortList->scrollY(), 0);
}

TEST_F(ScrollTest, DragOfFifteenPixelsStillClicksSixteenScrolls) {
    MenuList* list = makeList(6);
    frame->penDown(20, 40);  // item 0
    EXPECT_TRUE(items[0]->pressed());
    frame->penMove(20, 55);  // 15 down
    frame->penMove(35, 40);  // 15 across
    EXPECT_FALSE(list->dragging());
    EXPECT_TRUE(items[0]->pressed());
    frame->penUp(35, 40);
    EXPECT_EQ(clicked, (std::vector<int>{0}));
    EXPECT_EQ(list->scrollY(), 0);

    frame->penDown(20, 90);  // item 1 (content y 60)
    EXPECT_TRUE(items[1]->pressed());
    frame->penMove(20, 74);  // 16 up: the list takes over
    EXPECT_TRUE(list->dragging());
    EXPECT_FALSE(items[1]->pressed());
    EXPECT_EQ(list->scrollY(), 16);
    frame->penMove(20, 64);  // and follows the pen from there
    EXPECT_EQ(list->scrollY(), 26);
    frame->penUp(20, 64);
    EXPECT_EQ(clicked, (std::vector<int>{0}));
    EXPECT_FALSE(list->dragging());

    // Presses hit the items where they are now drawn.
    frame->penDown(20, 30 + 90 - 26 + 2);  // top of item 2 after the scroll
    frame->penUp(20, 30 + 90 - 26 + 2);
    EXPECT_EQ(clicked, (std::vector<int>{0, 2}));

    // Between items nothing is pressed and the drag starts at once.
    list->scrollBy(0, 1000);
    frame->penDown(20, 30 + 42);  // the 5-pixel gap after item 0
    EXPECT_TRUE(list->dragging());
    frame->penMove(20, 30 + 40);
    EXPECT_EQ(list->scrollY(), 2);
    frame->penUp(20, 70);
    EXPECT_EQ(clicked.size(), 2u);
}

TEST_F(ScrollTest, ScrolledItemsPaintAndRepaintInsideTheView) {
    addPicture(167, 320, 240, 0x101010);
    screen->setBackground(167, false);
    MenuList* list = makeList(6);
    frame->invalidateAll();
    list->scrollBy(0, -50);
    frame->processPending();
    EXPECT_EQ(frame->fullPaints(), 1);  // a scroll repaints the list via the paint
    // Item 1 spans content 45..85, so screen 25..65: clipped at the view top 30.
    EXPECT_EQ(screenPixel(15, 29), toPixel(0x101010));
    EXPECT_EQ(screenPixel(15, 30), toPixel(0x808080));
    // The pressed look lands at the scrolled place and stays in the view.
    frame->penDown(15, 40);
    EXPECT_TRUE(items[1]->pressed());
    EXPECT_EQ(screenPixel(15, 40), toPixel(0x404040));
    EXPECT_EQ(screenPixel(15, 29), toPixel(0x101010));
    frame->penUp(15, 40);
    EXPECT_EQ(screenPixel(15, 40), toPixel(0x808080));
}

}  // namespace
}  // namespace vesk::test
