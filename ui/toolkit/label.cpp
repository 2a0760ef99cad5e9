// Label painting and click.
#include "ui/toolkit/label.h"

namespace vesk {

void Label::setBounds(int x, int y, int width, int height, int bitmapResource, std::string text) {
    rect_ = Rect::ofSize(x, y, width, height);
    if (bitmapResource) {
        setBackground(bitmapResource, true);
        resize(background_.width(), background_.height());
    }
    text_ = std::move(text);
}

void Label::paintUnderlay(Painter& p) {
    if (!background_.empty())
        p.drawBitmap(background_, rect_.left, rect_.top);
    else if (parent_)
        parent_->paintBackgroundPart(p, rect_);
}

void Label::paint(Painter& p) {
    paintUnderlay(p);
    paintText(p, rect_, text_, style(), margins_);
}

void Label::penUp(Point) { click(); }

}  // namespace vesk
