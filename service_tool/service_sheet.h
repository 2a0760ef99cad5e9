// The service tool's property sheet: a scrolling tab strip over thirteen
// pages, one shown at a time. Leaving a page applies its edits; entering
// one shows the record's values.
#pragma once
#include <vector>

#include "service_tool/exit_page.h"
#include "service_tool/service_page.h"
#include "ui/toolkit/screen.h"

namespace vesk {

class BoardTest;
class NetworkAdapter;
class TabStrip;

class ServiceSheet : public Screen {
public:
    enum PageIndex {
        kTestPage, kModelPage, kPowerPage, kSerialPage, kIgnitionPage, kAugerPage, kCombustion2Page,
        kFireKeepingPage, kEmergencyAugerPage, kInverterPage, kPidPage, kSemiAutoPage, kExitPage, kPageCount
    };

    ServiceSheet(AppFrame* frame, ServiceRecord& record, BoardTest& board, NetworkAdapter& adapter,
                 ExitActions actions);

    // Leaves the current page (applying it) and enters page `i`.
    void selectPage(int i);
    int currentIndex() const { return current_; }
    ServicePage* page(int i) const { return pages_.at(size_t(i)); }
    template <typename T>
    T* pageAs(int i) const { return static_cast<T*>(page(i)); }
    TabStrip* tabs() const { return tabs_; }
    // The current page's edits into the record (before a save).
    void applyCurrent();
    // The record changed as a whole: the current page shows it again.
    void reloadCurrent();

    void show() override;
    void hide() override;
    void refresh() override;

private:
    ServiceRecord& record_;
    TabStrip* tabs_;
    std::vector<ServicePage*> pages_;
    int current_ = -1;
};

}  // namespace vesk
