// The menu screens: a vertical list of entry buttons on background 189 with
// "НАЗАД", and in the long lists the scroll buttons beside it. Dragging the
// list by more than 15 pixels scrolls it without opening the entry under
// the pen.
//
// To add a menu: describe its entries (menu_entry.h) in menus.cpp and make
// it with one of the styles below; an entry's open-function pushes its
// screen (see screen_catalogue.h for screens of other families).
#pragma once
#include <vector>

#include "ui/screens/menu/menu_entry.h"
#include "ui/toolkit/button.h"
#include "ui/toolkit/menu_list.h"
#include "ui/toolkit/repeat_button.h"
#include "ui/toolkit/screen.h"

namespace vesk {

struct MenuStyle {
    int listX = 12, listY = 15, listWidth = 100, listHeight = 210;
    bool scrollButtons = true;
    bool centred = false;     // entry texts centred, else left with margin 10
    int fontSize = 12;
    int backX = 217, backY = 175;
};

// The user menu, the installer menu and the sensor-correction list.
MenuStyle longListStyle();
// "ОБЩИЕ НАСТРОЙКИ" and "НАСОСЫ И КЛАПАНЫ".
MenuStyle generalListStyle();
MenuStyle pumpsListStyle();

constexpr int kMenuBackground = 189;
constexpr int kEntryNormal = 183;
constexpr int kEntryPressed = 182;
constexpr int kScrollStepPx = 10;
constexpr int kScrollRepeatMs = 100;

class ListMenuScreen : public Screen {
public:
    ListMenuScreen(AppFrame* frame, const MenuStyle& style, std::vector<MenuEntry> entries);

    MenuList* list() const { return list_; }
    // The entry buttons in entry order.
    const std::vector<Button*>& items() const { return items_; }
    Button* backButton() const { return back_; }
    RepeatButton* scrollUpButton() const { return up_; }
    RepeatButton* scrollDownButton() const { return down_; }
    const std::vector<MenuEntry>& entries() const { return entries_; }

private:
    void onClick(Widget& sender);

    std::vector<MenuEntry> entries_;
    MenuList* list_ = nullptr;
    std::vector<Button*> items_;
    RepeatButton* up_ = nullptr;
    RepeatButton* down_ = nullptr;
    Button* back_ = nullptr;
};

}  // namespace vesk
