// A widget made for a parent, with a click handler; the base of buttons,
// labels, readouts and animations. Draws nothing by itself.
#pragma once
#include <functional>

#include "ui/toolkit/widget.h"

namespace vesk {

// The handler's context (target or parent) is whatever it captures.
using ClickHandler = std::function<void(Widget& sender)>;

class Control : public Widget {
public:
    // Takes the frame from `parent` and sets the parent; the rectangle
    // starts empty and the parent adds the control when it wants it.
    explicit Control(Widget* parent);

    void paint(Painter& p) override;

    void setClickHandler(ClickHandler h) { onClick_ = std::move(h); }
    bool hasClickHandler() const { return static_cast<bool>(onClick_); }

protected:
    // Calls the handler, if any, with this control as the sender.
    void click();

    ClickHandler onClick_;
};

}  // namespace vesk
