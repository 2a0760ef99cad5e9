// A tab: pressed on pen-down and kept pressed; the owner releases the others.
#pragma once
#include "ui/toolkit/button.h"

namespace vesk {

class TabButton : public Button {
public:
    explicit TabButton(Widget* parent);

    void penDown(Point local) override;
    void penUp(Point local) override;
};

}  // namespace vesk
