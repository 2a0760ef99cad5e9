// ScrollView: gesture routing and scrolled painting.
#include "ui/toolkit/scroll_view.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "ui/toolkit/app_frame.h"

namespace vesk {

ScrollView::ScrollView(AppFrame* frame, int x, int y, int width, int height)
    : Widget(frame, x, y, width, height), contentWidth_(width), contentHeight_(height) {}

void ScrollView::setContentSize(int width, int height) {
    contentWidth_ = width;
    contentHeight_ = height;
}

void ScrollView::scrollBy(int dx, int dy) {
    scrollX_ = std::max(0, std::min(scrollX_ - dx, contentWidth_ - rect_.width()));
    scrollY_ = std::max(0, std::min(scrollY_ - dy, contentHeight_ - rect_.height()));
    invalidate();
}

Widget* ScrollView::hitTest(int x, int y) { return contains(x, y) ? this : nullptr; }

Point ScrollView::position() const { return {rect_.left - scrollX_, rect_.top - scrollY_}; }

void ScrollView::paint(Painter& p) {
    p.save();
    p.clip(rect_);
    p.drawBitmap(background_, rect_.left, rect_.top);
    const Point o = position();
    p.translate(o.x, o.y);
    // Only the items in view: a long menu lays out no text it cannot show.
    const Rect view = Rect::ofSize(scrollX_, scrollY_, rect_.width(), rect_.height());
    const std::vector<Widget*> kids = children_;
    for (Widget* c : kids)
        if (c->visible() && !c->rect().intersect(view).empty()) c->paint(p);
    p.restore();
}

void ScrollView::penDown(Point local) {
    pressed_ = true;
    dragging_ = false;
    pressedChild_ = nullptr;
    const Point content{local.x + scrollX_, local.y + scrollY_};
    for (Widget* c : children_) {
        if (c->visible() && c->contains(content.x, content.y)) {
            pressedChild_ = c;
            break;
        }
    }
    last_ = local;
    if (!pressedChild_) {
        dragging_ = true;
        return;
    }
    pressedChild_->penDown({content.x - pressedChild_->rect().left, content.y - pressedChild_->rect().top});
}

void ScrollView::penMove(Point local) {
    if (!pressed_) return;
    const int dx = local.x - last_.x;
    const int dy = local.y - last_.y;
    if (!dragging_) {
        if (std::abs(dx) <= kDragThreshold && std::abs(dy) <= kDragThreshold) {
            if (pressedChild_) {
                const Point content{local.x + scrollX_, local.y + scrollY_};
                pressedChild_->penMove({content.x - pressedChild_->rect().left, content.y - pressedChild_->rect().top});
            }
            return;
        }
        dragging_ = true;
        if (Widget* c = std::exchange(pressedChild_, nullptr)) c->cancelPress();
    }
    scrollBy(dx, dy);
    last_ = local;
}

void ScrollView::penUp(Point local) {
    pressed_ = false;
    if (dragging_) {
        dragging_ = false;
        return;
    }
    Widget* c = std::exchange(pressedChild_, nullptr);
    if (!c) return;
    const Point content{local.x + scrollX_, local.y + scrollY_};
    // Last thing: the item's click may end this view's life.
    c->penUp({content.x - c->rect().left, content.y - c->rect().top});
}

void ScrollView::invalidate(const Rect*) { frame_->invalidate(windowRect()); }

void ScrollView::childRemoved(Widget* child) {
    if (pressedChild_ == child) pressedChild_ = nullptr;
}

}  // namespace vesk
