// Base widget behaviour: hit testing, painting of background and children,
// partial repaints through the parent, and the background restore on hide.
#include "ui/toolkit/widget.h"

#include <algorithm>

#include "ui/toolkit/app_frame.h"
#include "ui/toolkit/resources.h"

namespace vesk {

Widget::Widget(AppFrame* frame, int x, int y, int width, int height)
    : rect_(Rect::ofSize(x, y, width, height)), frame_(frame) {}

Widget::~Widget() {
    if (parent_) parent_->eraseChild(this);
    for (Widget* c : children_) c->parent_ = nullptr;
    children_.clear();
    if (frame_) frame_->forgetWidget(this);
}

Widget* Widget::hitTest(int x, int y) {
    if (!contains(x, y)) return nullptr;
    const Point o = position();
    for (Widget* c : children_) {
        if (!c->visible_) continue;
        if (Widget* w = c->hitTest(x - o.x, y - o.y)) return w;
    }
    return this;
}

Point Widget::position() const { return {rect_.left, rect_.top}; }

void Widget::paint(Painter& p) {
    p.save();
    // Children draw only inside their parent, in full and partial paints alike.
    p.clip(rect_);
    const Point o = position();
    p.translate(o.x, o.y);
    paintOwnBackground(p);
    paintChildren(p);
    p.restore();
}

void Widget::paintOwnBackground(Painter& p) const {
    if (background_.empty()) return;
    p.drawBitmap(background_, 0, 0);
}

void Widget::paintChildren(Painter& p) {
    // A child may hide or remove a sibling while painting; walk a copy.
    const std::vector<Widget*> kids = children_;
    for (Widget* c : kids)
        if (c->visible_) c->paint(p);
}

void Widget::paintBackgroundPart(Painter& p, const Rect& r) {
    if ((background_.empty() || transparent_) && parent_) {
        const Point o = position();
        p.save();
        p.translate(-o.x, -o.y);
        parent_->paintBackgroundPart(p, r.offset(o.x, o.y));
        p.restore();
    }
    if (!background_.empty())
        p.drawBitmapPart(background_, r, r.left, r.top);
}

void Widget::penDown(Point) {}
void Widget::penUp(Point) {}
void Widget::penMove(Point) {}
void Widget::cancelPress() {}
void Widget::timerTick() {}

void Widget::show() {
    const std::vector<Widget*> kids = children_;
    for (Widget* c : kids) c->show();
}

void Widget::hide() {
    const std::vector<Widget*> kids = children_;
    for (Widget* c : kids) c->hide();
}

void Widget::refresh() {}

bool Widget::contains(int x, int y) const { return rect_.contains(x, y); }

Painter Widget::beginChildDrawing() { return frame_->screenPainter(childOrigin(), windowRect()); }

void Widget::endChildDrawing(Painter& p) {
    // The drawing is finished when the painter goes; nothing is held here.
    (void)p;
}

void Widget::invalidate(const Rect* r) {
    const Rect area = r ? r->offset(childOrigin().x, childOrigin().y) : windowRect();
    frame_->invalidate(area);
}

void Widget::addChild(Widget* child) {
    if (!child || child == this) return;
    if (child->parent_ && child->parent_ != this) child->parent_->removeChild(child);
    if (std::find(children_.begin(), children_.end(), child) == children_.end()) children_.push_back(child);
    child->parent_ = this;
}

void Widget::removeChild(Widget* child) {
    if (!child || child->parent_ != this) return;
    eraseChild(child);
    child->parent_ = nullptr;
}

void Widget::eraseChild(Widget* child) {
    auto it = std::find(children_.begin(), children_.end(), child);
    if (it == children_.end()) return;
    children_.erase(it);
    childRemoved(child);
}

void Widget::childRemoved(Widget*) {}

void Widget::deleteAllChildren() {
    std::vector<Widget*> kids;
    kids.swap(children_);
    for (Widget* c : kids) {
        c->parent_ = nullptr;
        childRemoved(c);
    }
    for (Widget* c : kids) delete c;
}

void Widget::setBackground(int resource, bool transparent) {
    // Kept in the form it is drawn in: keyed pictures are converted once.
    background_ = !resource ? Bitmap() : transparent ? frame_->resources().keyed(resource) : frame_->resources().bitmap(resource);
    transparent_ = transparent;
}

void Widget::setVisible(bool visible, bool redraw) {
    if (visible == visible_) return;
    visible_ = visible;
    if (!redraw || !parent_) return;
    if (visible_)
        repaint();
    else
        restoreBackground();
}

Point Widget::childOrigin() const {
    Point o{0, 0};
    for (const Widget* w = this; w; w = w->parent_) {
        const Point p = w->position();
        o.x += p.x;
        o.y += p.y;
    }
    return o;
}

Rect Widget::windowRect() const {
    const Point o = parent_ ? parent_->childOrigin() : Point{0, 0};
    return rect_.offset(o.x, o.y);
}

Point Widget::toLocal(Point screen) const {
    // Relative to the widget's own top-left, not to its (possibly
    // scrolled) child origin: a list's drag must not move with its scroll.
    const Rect r = windowRect();
    return {screen.x - r.left, screen.y - r.top};
}

void Widget::repaint() {
    if (!parent_) {
        Painter p = frame_->screenPainter({0, 0}, windowRect());
        paint(p);
        return;
    }
    Painter p = parent_->beginChildDrawing();
    paint(p);
    parent_->endChildDrawing(p);
}

void Widget::restoreBackground() {
    if (!parent_) return;
    Painter p = parent_->beginChildDrawing();
    parent_->paintBackgroundPart(p, rect_);
    parent_->endChildDrawing(p);
}

}  // namespace vesk
