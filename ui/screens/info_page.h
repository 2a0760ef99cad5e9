// "ИНФО": the fault list, else the warning list, else the information
// text; taps step a counter whose fifth step shows the information text.
// A list longer than its area is split into pages of whole lines, and the
// taps step through them.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "control/messages.h"
#include "ui/screens/page.h"
#include "ui/screens/picture.h"
#include "ui/screens/state_snapshot.h"
#include "ui/toolkit/label.h"

namespace vesk {

// The smallest list font: the shrinking rule for long lists stops here,
// and what does not fit goes to further pages.
constexpr int kInfoListSizeFloor = 11;

class InfoPage : public Page {
public:
    InfoPage(AppFrame* frame, const StateSnapshot& snapshot, std::vector<std::string> serviceLines);

    void show() override;
    void refresh() override;

    int tapCounter() const { return taps_; }
    InfoPanelView view() const { return view_; }
    Picture* emblem() const { return emblem_; }
    Label* infoLabel() const { return info_; }
    Label* faultHeading() const { return faults_.heading; }
    Label* warningHeading() const { return warnings_.heading; }
    Label* faultList() const { return faults_.label; }
    Label* warningList() const { return warnings_.label; }
    // The whole list of the view shown and its pages ("1/2" in the corner
    // while there are more than one); empty for the information text.
    const std::string& listText() const;
    const std::vector<std::string>& listPages() const;
    int listPage() const { return page_; }
    Label* pageMarker() const { return marker_; }

private:
    struct List {
        Label* heading = nullptr;
        Label* label = nullptr;
        std::string text;
        std::vector<std::string> pages;
    };
    void tap();
    // Shows what the words and the counter call for; repaints the text area
    // when anything changed (or always with `force`).
    void update(bool force);
    // A new list: its font by the shrinking rule, and its pages.
    bool setList(List& l, const std::vector<std::string_view>& messages);
    const List* shownList() const;

    const StateSnapshot& v_;
    std::vector<std::string> serviceLines_;
    Picture* emblem_ = nullptr;
    Label* info_ = nullptr;
    List faults_;
    List warnings_;
    Label* marker_ = nullptr;
    int taps_ = 0;
    int page_ = 0;
    InfoPanelView view_ = InfoPanelView::Info;
    bool listsBuilt_ = false;
    uint32_t shownFaults_ = 0;
    uint32_t shownWarnings_ = 0;
    int shownEmstart_ = 0;
};

}  // namespace vesk
