// A picture drawn keyed at its place and sized by it; clickable like a
// label (on pen-up).
#pragma once
#include "ui/toolkit/control.h"

namespace vesk {

class Picture : public Control {
public:
    explicit Picture(Widget* parent) : Control(parent) {}

    void setPicture(int x, int y, int resource);
    int resource() const { return resource_; }

    void paint(Painter& p) override;
    void penUp(Point local) override;

private:
    int resource_ = 0;
    Bitmap face_;
};

// A child widget that owns its children: the pages of the home screen.
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
