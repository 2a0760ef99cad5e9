// A text on a keyed picture or on the background under it; clicks on pen-up.
#pragma once
#include <string>

#include "ui/toolkit/button_look.h"
#include "ui/toolkit/control.h"

namespace vesk {

class Label : public Control {
public:
    explicit Label(Widget* parent) : Control(parent) {}

    // With a picture, it becomes the background and gives the size.
    virtual void setBounds(int x, int y, int width, int height, int bitmapResource, std::string text);
    void setText(std::string text) { text_ = std::move(text); }
    void setNumber(int n) { text_ = std::to_string(n); }
    const std::string& text() const { return text_; }
    void setFont(int size, bool bold) { font_ = {size, bold}; }
    const Font& font() const { return font_; }
    void setTextColor(Color c) { color_ = c; }
    Color textColor() const { return color_; }
    void setMargins(int left, int top, int right, int bottom) { margins_ = {left, top, right, bottom}; }
    void setTextFormat(unsigned format) { format_ = format; }

    void paint(Painter& p) override;
    void penUp(Point local) override;

protected:
    // The picture, or the backgrounds under the label when it has none.
    void paintUnderlay(Painter& p);
    TextStyle style() const { return {font_, color_, format_}; }

    std::string text_;
    Color color_ = kBlack;
    Font font_{12, true};
    Margins margins_{5, 0, 5, 0};
    unsigned format_ = kDtVCenter;
};

}  // namespace vesk
