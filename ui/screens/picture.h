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

}  // namespace vesk
