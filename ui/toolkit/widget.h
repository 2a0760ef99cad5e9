// The base of every drawn element: a rectangle in its parent's coordinates,
// children in insertion order (paint and hit-test order), an optional
// background picture, and the 17 overridable operations.
#pragma once
#include <vector>

#include "ui/toolkit/bitmap.h"
#include "ui/toolkit/geometry.h"
#include "ui/toolkit/painter.h"

namespace vesk {

class AppFrame;

class Widget {
public:
    Widget(AppFrame* frame, int x, int y, int width, int height);
    // Releases the child list; the children themselves are not deleted.
    virtual ~Widget();
    Widget(const Widget&) = delete;
    Widget& operator=(const Widget&) = delete;

    // Innermost visible widget at (x, y) in parent coordinates, or null.
    virtual Widget* hitTest(int x, int y);
    // Where this widget's coordinate space starts, in parent coordinates.
    virtual Point position() const;
    // Draws the widget; `p` is in the parent's coordinates.
    virtual void paint(Painter& p);
    // Draws what lies under `r` (this widget's coordinates, `p` likewise):
    // the parent's part first when this background is missing or keyed.
    virtual void paintBackgroundPart(Painter& p, const Rect& r);
    virtual void penDown(Point local);
    virtual void penUp(Point local);
    virtual void penMove(Point local);
    // The press ends without a click (a list took the gesture over).
    virtual void cancelPress();
    virtual void timerTick();
    virtual void show();
    virtual void hide();
    virtual void refresh();
    virtual bool contains(int x, int y) const;
    // A painter on the screen for drawing this widget's children: origin at
    // this widget's coordinate space, clipped to its rectangle.
    virtual Painter beginChildDrawing();
    virtual void endChildDrawing(Painter& p);
    // Marks `r` (this widget's coordinates), or the whole widget, for the
    // next full repaint.
    virtual void invalidate(const Rect* r = nullptr);

    void addChild(Widget* child);
    // Takes `child` out of the list (not deleted); its parent is cleared.
    void removeChild(Widget* child);
    const std::vector<Widget*>& children() const { return children_; }

    void setBackground(int resource, bool transparent);
    // With redraw, a widget becoming visible is painted at once and one
    // becoming hidden has its area restored from the background under it.
    void setVisible(bool visible, bool redraw);
    bool visible() const { return visible_; }

    const Rect& rect() const { return rect_; }
    void setRect(const Rect& r) { rect_ = r; }
    void moveTo(int x, int y) { rect_ = rect_.offset(x - rect_.left, y - rect_.top); }
    void resize(int width, int height) { rect_.right = rect_.left + width; rect_.bottom = rect_.top + height; }
    AppFrame* frame() const { return frame_; }
    Widget* parent() const { return parent_; }
    const Bitmap& background() const { return background_; }
    bool transparent() const { return transparent_; }

    // Screen coordinates of this widget's coordinate space (what its
    // children's rectangles are relative to).
    Point childOrigin() const;
    // This widget's rectangle in screen coordinates.
    Rect windowRect() const;
    // A screen point relative to this widget's top-left corner.
    Point toLocal(Point screen) const;

    // Partial self-repaint through the parent's child drawing.
    void repaint();
    // Redraws the area of this widget from the backgrounds under it.
    void restoreBackground();

protected:
    // Draws the background picture at (0, 0) of `p` (keyed when flagged).
    void paintOwnBackground(Painter& p) const;
    void paintChildren(Painter& p);
    // Called after a child left this widget (removed or deleted).
    virtual void childRemoved(Widget* child);
    // For the widgets that own their children: deletes them all.
    void deleteAllChildren();

    Rect rect_;
    AppFrame* frame_;
    Widget* parent_ = nullptr;
    std::vector<Widget*> children_;
    Bitmap background_;
    bool transparent_ = false;
    bool visible_ = true;

private:
    void eraseChild(Widget* child);
};

}  // namespace vesk
