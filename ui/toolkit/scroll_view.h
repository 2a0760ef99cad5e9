// A clipped view over content larger than itself. It takes the whole pen
// gesture: a press goes to the item under the pen, a drag of more than 15
// pixels scrolls instead and cancels the item's press.
#pragma once
#include "ui/toolkit/widget.h"

namespace vesk {

constexpr int kDragThreshold = 15;

class ScrollView : public Widget {
public:
    ScrollView(AppFrame* frame, int x, int y, int width, int height);

    // Scroll offsets move by -dx, -dy, kept within the content.
    void scrollBy(int dx, int dy);
    int scrollX() const { return scrollX_; }
    int scrollY() const { return scrollY_; }
    void setContentSize(int width, int height);
    int contentWidth() const { return contentWidth_; }
    int contentHeight() const { return contentHeight_; }
    bool dragging() const { return dragging_; }
    Widget* pressedChild() const { return pressedChild_; }

    Widget* hitTest(int x, int y) override;
    Point position() const override;
    void paint(Painter& p) override;
    void penDown(Point local) override;
    void penUp(Point local) override;
    void penMove(Point local) override;
    void invalidate(const Rect* r = nullptr) override;

protected:
    void childRemoved(Widget* child) override;

    int scrollX_ = 0;
    int scrollY_ = 0;
    int contentWidth_;
    int contentHeight_;
    bool dragging_ = false;
    bool pressed_ = false;
    Point last_;
    Widget* pressedChild_ = nullptr;
};

}  // namespace vesk
