// "ИНФО": the fault list, else the warning list, else the information
// text; taps step a counter whose fifth step shows the information text.
#pragma once
#include <cstdint>
#include <string>

#include "control/messages.h"
#include "ui/screens/page.h"
#include "ui/screens/picture.h"
#include "ui/screens/state_snapshot.h"
#include "ui/toolkit/label.h"

namespace vesk {

class InfoPage : public Page {
public:
    InfoPage(AppFrame* frame, const StateSnapshot& snapshot);

    void show() override;
    void refresh() override;

    int tapCounter() const { return taps_; }
    InfoPanelView view() const { return view_; }
    Picture* emblem() const { return emblem_; }
    Label* infoLabel() const { return info_; }
    Label* faultHeading() const { return faultHeading_; }
    Label* warningHeading() const { return warningHeading_; }
    Label* faultList() const { return faultList_; }
    Label* warningList() const { return warningList_; }

private:
    void tap();
    // Shows what the words and the counter call for; repaints the text area
    // when anything changed (or always with `force`).
    void update(bool force);

    const StateSnapshot& v_;
    Picture* emblem_ = nullptr;
    Label* info_ = nullptr;
    Label* faultHeading_ = nullptr;
    Label* warningHeading_ = nullptr;
    Label* faultList_ = nullptr;
    Label* warningList_ = nullptr;
    int taps_ = 0;
    InfoPanelView view_ = InfoPanelView::Info;
    bool listsBuilt_ = false;
    uint32_t shownFaults_ = 0;
    uint32_t shownWarnings_ = 0;
    int shownEmstart_ = 0;
};

}  // namespace vesk
