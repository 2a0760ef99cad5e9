// A row of tabs, one selected, that scrolls sideways when the tabs do not
// fit: dragged, or brought round so that the chosen tab sits in the middle
// with its neighbours showing on both sides. A tab is chosen on pen-up, so
// that a drag across the tabs chooses none.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "ui/toolkit/menu_list.h"

namespace vesk {

class Button;

class TabStrip : public MenuList {
public:
    // Tabs use the home screen's tab faces (80 x 28).
    TabStrip(AppFrame* frame, int x, int y, int width);

    void addTab(std::string caption);
    int count() const { return static_cast<int>(tabs_.size()); }
    int selected() const { return selected_; }
    Button* tab(int i) const { return tabs_.at(static_cast<size_t>(i)); }

    // Selects tab `i` without telling the handler (the owner's own choice).
    void select(int i);
    // Called with the index of a tab the pen chose.
    void setSelectHandler(std::function<void(int)> h) { onSelect_ = std::move(h); }

private:
    void onTab(Widget& sender);
    void scrollIntoView(int i);

    std::vector<Button*> tabs_;
    int selected_ = -1;
    std::function<void(int)> onSelect_;
};

}  // namespace vesk
