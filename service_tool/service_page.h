// One page of the service sheet: it shows the record's values when it is
// entered and applies its edits when it is left.
#pragma once
#include <string>

#include "service_tool/service_rules.h"
#include "ui/toolkit/screen.h"

namespace vesk {

class Label;

// Below the tab strip, the rest of the screen.
constexpr int kPageTop = 28;
constexpr int kPageHeight = 240 - kPageTop;
// Rows of number fields start below the heading and follow each other.
constexpr int kFirstRow = 24;
constexpr int kRowPitch = 26;

class ServicePage : public Screen {
public:
    ServicePage(AppFrame* frame, ServiceRecord& record);

    // Entered: the widgets take the record's values.
    virtual void load() = 0;
    // Left: the record takes the widgets' values.
    virtual void apply() {}

protected:
    // The page's title line at its top (one or two lines of text).
    Label* addHeading(std::string text, int height = 22);

    ServiceRecord& record_;
    ServiceParams& svc() { return record_.settings.svc; }
};

}  // namespace vesk
