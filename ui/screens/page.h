// A page of the home screen: a full-screen child widget that owns its
// children, and the helper that adds a child as it is made.
#pragma once
#include "ui/toolkit/widget.h"

namespace vesk {

class Page : public Widget {
public:
    explicit Page(AppFrame* frame) : Widget(frame, 0, 0, 320, 240) {}
    ~Page() override { deleteAllChildren(); }
};

// Makes `child` (built for `parent`) a child of it and hands it back.
template <class W>
W* adopt(Widget* parent, W* child) {
    parent->addChild(child);
    return child;
}

}  // namespace vesk
