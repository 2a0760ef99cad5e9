// A scrolling row (orientation 0) or column (1) of items that it owns.
#pragma once
#include "ui/toolkit/scroll_view.h"

namespace vesk {

class MenuList : public ScrollView {
public:
    MenuList(AppFrame* frame, int x, int y, int width, int height, int backgroundResource = 0);
    ~MenuList() override;

    void setOrientation(int orientation) { orientation_ = orientation; }
    void setSpacing(int pixels) { spacing_ = pixels; }
    // Places `item` after the last one; the list grows across to the
    // widest item and along to hold them all.
    void addItem(Widget* item);

private:
    int spacing_ = 0;
    int next_ = 0;
    int orientation_ = 0;
};

}  // namespace vesk
