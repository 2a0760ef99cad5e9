// SpinBox layout and stepping.
#include "ui/toolkit/spin_box.h"

#include <algorithm>

#include "ui/toolkit/label.h"
#include "ui/toolkit/repeat_button.h"

namespace vesk {

namespace {
constexpr int kArrowWidth = 50;
constexpr int kRowHeight = 26;
}  // namespace

SpinBox::SpinBox(Widget* parent, int x, int y, int captionWidth, int valueWidth, std::string caption)
    : Control(parent) {
    rect_ = Rect::ofSize(x, y, captionWidth + valueWidth + 2 * kArrowWidth, kRowHeight);

    caption_ = new Label(this);
    caption_->setBounds(0, 0, captionWidth, kRowHeight, 0, std::move(caption));
    caption_->setFont(11, true);
    caption_->setMargins(2, 0, 2, 0);
    caption_->setTextFormat(kDtVCenter | kDtWordBreak);
    addChild(caption_);

    down_ = new RepeatButton(this);
    down_->setBitmaps(captionWidth, 0, kSmallDownNormal, kSmallDownPressed);
    down_->setClickHandler([this](Widget&) { step(-1); });
    addChild(down_);

    valueLabel_ = new Label(this);
    valueLabel_->setBounds(captionWidth + kArrowWidth, 0, valueWidth, kRowHeight, 0, {});
    valueLabel_->setFont(14, true);
    valueLabel_->setMargins(0, 0, 0, 0);
    valueLabel_->setTextFormat(kDtCenter | kDtVCenter);
    addChild(valueLabel_);

    up_ = new RepeatButton(this);
    up_->setBitmaps(captionWidth + kArrowWidth + valueWidth, 0, kSmallUpNormal, kSmallUpPressed);
    up_->setClickHandler([this](Widget&) { step(1); });
    addChild(up_);
}

SpinBox::~SpinBox() { deleteAllChildren(); }

void SpinBox::setRange(int lo, int hi) {
    lo_ = lo;
    hi_ = std::max(lo, hi);
}

std::string SpinBox::text() const { return format_ ? format_(value_) : std::to_string(value_); }

void SpinBox::setValue(int v, bool redraw) {
    value_ = v;
    valueLabel_->setText(text());
    if (redraw) valueLabel_->repaint();
}

void SpinBox::step(int delta) {
    const int next = std::clamp(value_ + delta, lo_, hi_);
    if (next == value_) return;
    setValue(next, true);
    click();
}

}  // namespace vesk
