// A number field with its own up/down buttons: a caption, a decrease
// button, the value and an increase button in one row. The buttons repeat
// while held; the value stays within its range and the handler hears every
// change.
#pragma once
#include <functional>
#include <string>

#include "ui/toolkit/control.h"

namespace vesk {

class Label;
class RepeatButton;

// The small arrow pictures (50 x 26) of number and digit fields.
inline constexpr int kSmallUpNormal = 213;
inline constexpr int kSmallUpPressed = 210;
inline constexpr int kSmallDownNormal = 211;
inline constexpr int kSmallDownPressed = 212;

class SpinBox : public Control {
public:
    using Format = std::function<std::string(int)>;

    // A row at (x, y) of the given widths; the buttons are the small arrow
    // pair (50 x 26) and give the row its height.
    SpinBox(Widget* parent, int x, int y, int captionWidth, int valueWidth, std::string caption);
    ~SpinBox() override;

    // A value outside the range is shown as it is; the first press brings
    // it inside.
    void setRange(int lo, int hi);
    int low() const { return lo_; }
    int high() const { return hi_; }
    void setValue(int v, bool redraw);
    int value() const { return value_; }
    void setFormat(Format f) { format_ = std::move(f); }
    // Moves the value by `delta` within the range; the handler runs when it
    // changed.
    void step(int delta);

    // Its parts, unlike a plain control's nothing.
    void paint(Painter& p) override { Widget::paint(p); }

    Label* captionLabel() const { return caption_; }
    Label* valueLabel() const { return valueLabel_; }
    RepeatButton* upButton() const { return up_; }
    RepeatButton* downButton() const { return down_; }

private:
    std::string text() const;

    Label* caption_ = nullptr;
    RepeatButton* down_ = nullptr;
    Label* valueLabel_ = nullptr;
    RepeatButton* up_ = nullptr;
    int lo_ = 0;
    int hi_ = 0;
    int value_ = 0;
    Format format_;
};

}  // namespace vesk
