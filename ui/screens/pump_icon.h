// A pump on the pumps page: grey when not used, still when ready, the
// turning impeller of pumpon.mbm while it runs.
#pragma once
#include "ui/toolkit/animation.h"

namespace vesk {

class PumpIcon : public Animation {
public:
    explicit PumpIcon(Widget* parent) : Animation(parent) {}

    void place(int x, int y);
    // 0 not used, 1 ready, 2 running; a change repaints.
    void setState(int state);
    int state() const { return state_; }

    void paint(Painter& p) override;

private:
    int state_ = 1;
    Bitmap unused_;
    Bitmap ready_;
};

}  // namespace vesk
