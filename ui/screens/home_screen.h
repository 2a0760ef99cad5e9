// The root screen: four tabs over one page at a time ("КОТЕЛ", "НАСОСЫ",
// "ДАННЫЕ", "ИНФО") and the "МЕНЮ" button. Built once, never popped.
#pragma once
#include <array>
#include <functional>

#include "ui/screens/screen_context.h"
#include "ui/screens/state_snapshot.h"
#include "ui/toolkit/alert_tab_button.h"
#include "ui/toolkit/button.h"
#include "ui/toolkit/screen.h"

namespace vesk {

class BoilerPage;
class PumpsPage;
class InfoPage;

enum HomePageIndex : int { kBoilerPage = 0, kPumpsPage = 1, kDataPage = 2, kInfoPage = 3 };

class HomeScreen : public Screen {
public:
    HomeScreen(AppFrame* frame, ScreenContext& ctx);
    // Deletes the pages that are not shown (the shown one is a child).
    ~HomeScreen() override;

    // Takes a snapshot of the state, refreshes the shown page, then sets
    // the "ИНФО" tab's alert.
    void refresh() override;
    // Shows the current page and brings it up to date.
    void show() override;

    // What "МЕНЮ" opens.
    void setMenuOpener(std::function<void()> open) { openMenu_ = std::move(open); }

    int currentPage() const { return current_; }
    TabButton* tab(int i) const { return tabs_[static_cast<size_t>(i)]; }
    AlertTabButton* infoTab() const { return infoTab_; }
    Button* menuButton() const { return menu_; }
    Widget* page(int i) const { return pages_[static_cast<size_t>(i)]; }
    BoilerPage* boilerPage() const;
    PumpsPage* pumpsPage() const;
    InfoPage* infoPage() const;
    const StateSnapshot& snapshot() const { return snapshot_; }

private:
    void onTab(Widget& sender);

    ScreenContext& ctx_;
    StateSnapshot snapshot_;
    std::array<TabButton*, 4> tabs_{};
    AlertTabButton* infoTab_ = nullptr;
    Button* menu_ = nullptr;
    std::array<Widget*, 4> pages_{};
    int current_ = kBoilerPage;
    std::function<void()> openMenu_;
};

}  // namespace vesk
