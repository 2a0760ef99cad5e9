// ValueField: selection on pen-down and the value box repaint.
#include "ui/toolkit/value_field.h"

#include "ui/toolkit/app_frame.h"
#include "ui/toolkit/resources.h"

namespace vesk {

ValueField::ValueField(Widget* parent) : Button(parent) {
    format_ = kDtVCenter;
    margins_.left = 5;
}

void ValueField::setBitmaps(int x, int y, int normalResource, int pressedResource) {
    Button::setBitmaps(x, y, normalResource, pressedResource);
    normalOpaque_ = frame_->resources().bitmap(normalResource);
    pressedOpaque_ = frame_->resources().bitmap(pressedResource);
    valueBox_ = {rect_.right - 47, rect_.top + 6, rect_.right - 6, rect_.top + 30};
    captionBox_ = {rect_.left, rect_.top, rect_.right - 47, rect_.bottom};
}

void ValueField::setValue(int value, bool redraw) { setValueText(formatValue(kind_, value), redraw); }

void ValueField::setValueText(std::string text, bool redraw) {
    valueText_ = std::move(text);
    if (redraw) repaintValue();
}

void ValueField::paintCaption(Painter& p) { paintText(p, captionBox_, text_, textStyle(), margins_); }

void ValueField::paintValue(Painter& p) {
    if (!valueText_.empty()) p.drawText(valueText_, valueBox_, valueFont_, valueColor_, valueFormat_);
}

void ValueField::paint(Painter& p) {
    p.drawBitmap(currentFace(), rect_.left, rect_.top);
    paintCaption(p);
    paintValue(p);
}

void ValueField::repaintValue() {
    if (!parent_) return;
    Painter p = parent_->beginChildDrawing();
    p.clip(valueBox_);
    // The box is copied from the picture as it is, then the new text drawn.
    const Bitmap& face = pressed_ ? pressedOpaque_ : normalOpaque_;
    p.drawBitmapPart(face, valueBox_.offset(-rect_.left, -rect_.top), valueBox_.left, valueBox_.top);
    paintValue(p);
    parent_->endChildDrawing(p);
}

void ValueField::penDown(Point) {
    if (!enabled_) return;
    setPressed(true, true);
    click();
}

void ValueField::penUp(Point) {}

}  // namespace vesk
