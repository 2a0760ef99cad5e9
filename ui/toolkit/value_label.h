// A label with a caption on the left and a value in a box on the right.
#pragma once
#include "ui/toolkit/label.h"

namespace vesk {

class ValueLabel : public Label {
public:
    explicit ValueLabel(Widget* parent) : Label(parent) {}

    void setBounds(int x, int y, int width, int height, int bitmapResource, std::string text) override;
    void setValueText(std::string text, bool redraw);
    const std::string& valueText() const { return valueText_; }
    void setValueFont(int size, bool bold) { valueFont_ = {size, bold}; }
    void setValueFormat(unsigned format) { valueFormat_ = format; }
    const Rect& valueBox() const { return valueBox_; }
    const Rect& captionBox() const { return captionBox_; }

    void paint(Painter& p) override;

private:
    std::string valueText_;
    Font valueFont_{14, true};
    unsigned valueFormat_ = kDtCenter | kDtVCenter;
    Rect valueBox_;
    Rect captionBox_;
};

}  // namespace vesk
