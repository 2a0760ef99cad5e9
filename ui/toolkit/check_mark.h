// A read-only check box: a small drawn box, filled when on, and its text
// beside it. For states the user watches but does not set.
#pragma once
#include "ui/toolkit/label.h"

namespace vesk {

class CheckMark : public Label {
public:
    explicit CheckMark(Widget* parent) : Label(parent) { margins_.left = kBoxSize + 6; }

    static constexpr int kBoxSize = 12;

    // With redraw and a change, repaints at once.
    void setOn(bool on, bool redraw);
    bool on() const { return on_; }

    void paint(Painter& p) override;

private:
    bool on_ = false;
};

}  // namespace vesk
