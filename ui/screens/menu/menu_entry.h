// One entry of a menu: its text (two lines in the installer menu), how it
// is pressed, and what it opens. Menus are tables of these.
#pragma once
#include <functional>
#include <string>

namespace vesk {

class Widget;

enum class EntryPress {
    Click,  // a plain button
    Hold,   // protected: fires only after a 5 s to 10 s hold
};

struct MenuEntry {
    std::string text;
    std::string second;  // second line; a two-line entry when not empty
    // Called with the menu screen the entry belongs to; may push a screen
    // over it or replace it.
    std::function<void(Widget& menu)> open;
    EntryPress press = EntryPress::Click;
};

}  // namespace vesk
