// ListMenuScreen: the list, its scroll buttons and the one click handler.
#include "ui/screens/menu/list_menu_screen.h"

#include "ui/screens/screen_parts.h"
#include "ui/toolkit/hold_button.h"
#include "ui/toolkit/two_line_button.h"

namespace vesk {

namespace {
constexpr int kItemSpacing = 6;
constexpr int kScrollUpNormal = 187, kScrollUpPressed = 184;
constexpr int kScrollDownNormal = 185, kScrollDownPressed = 186;
}  // namespace

MenuStyle longListStyle() { return {}; }

MenuStyle generalListStyle() {
    MenuStyle s;
    s.scrollButtons = false;
    s.centred = true;
    return s;
}

MenuStyle pumpsListStyle() {
    MenuStyle s = generalListStyle();
    s.listX = 70;
    s.listY = 9;
    s.listHeight = 180;
    s.backX = 114;
    s.backY = 180;
    return s;
}

ListMenuScreen::ListMenuScreen(AppFrame* frame, const MenuStyle& style, std::vector<MenuEntry> entries)
    : Screen(frame), entries_(std::move(entries)) {
    setBackground(kMenuBackground, false);
    list_ = new MenuList(frame, style.listX, style.listY, style.listWidth, style.listHeight);
    list_->setOrientation(1);
    list_->setSpacing(kItemSpacing);
    addChild(list_);
    for (const MenuEntry& e : entries_) {
        Button* b;
        if (e.press == EntryPress::Hold)
            b = new HoldButton(list_);
        else if (!e.second.empty()) {
            auto* two = new TwoLineButton(list_);
            two->setSecondText(e.second);
            b = two;
        } else {
            b = new Button(list_);
        }
        b->setBitmaps(0, 0, kEntryNormal, kEntryPressed);
        b->setText(e.text);
        b->setFont(style.fontSize, true);
        b->setTextColor(kCaptionBlue);
        b->setPressedTextColor(kWhite);
        if (!style.centred) {
            b->setTextFormat(kDtVCenter);
            b->setMargins(10, 0, 0, 0);
        }
        b->setClickHandler([this](Widget& s) { onClick(s); });
        list_->addItem(b);
        items_.push_back(b);
    }
    if (style.scrollButtons) {
        auto scroller = [&](int y, int normal, int pressed) {
            auto* r = new RepeatButton(this);
            r->setBitmaps(217, y, normal, pressed);
            r->setTiming(0, kScrollRepeatMs, kScrollRepeatMs, 0);
            r->setClickHandler([this](Widget& s) { onClick(s); });
            addChild(r);
            return r;
        };
        up_ = scroller(17, kScrollUpNormal, kScrollUpPressed);
        down_ = scroller(80, kScrollDownNormal, kScrollDownPressed);
    }
    back_ = addWideButton(this, style.backX, style.backY, "НАЗАД", [this](Widget& s) { onClick(s); });
}

void ListMenuScreen::onClick(Widget& sender) {
    if (&sender == back_) {
        closeScreen(this);
        return;
    }
    if (&sender == up_) {
        list_->scrollBy(0, kScrollStepPx);
        return;
    }
    if (&sender == down_) {
        list_->scrollBy(0, -kScrollStepPx);
        return;
    }
    for (size_t i = 0; i < items_.size(); ++i) {
        if (&sender != items_[i]) continue;
        // A copy: opening may replace (and so delete) this menu.
        auto open = entries_[i].open;
        if (open) open(*this);
        return;
    }
}

}  // namespace vesk
