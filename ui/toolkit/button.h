// A push button: normal and pressed pictures, a text, and a click on the
// pen-up that follows a pen-down on it, wherever the pen is lifted.
#pragma once
#include <string>

#include "ui/toolkit/button_look.h"
#include "ui/toolkit/control.h"

namespace vesk {

class Button : public Control {
public:
    explicit Button(Widget* parent);

    // Places the button at (x, y), sized by the normal picture.
    void setBitmaps(int x, int y, int normalResource, int pressedResource);
    void setText(std::string text);
    const std::string& text() const { return text_; }
    void setFont(int size, bool bold);
    const Font& font() const { return font_; }
    void setMargins(int left, int top, int right, int bottom);
    void setTextFormat(unsigned format) { format_ = format; }
    void setTextColor(Color c) { textColor_ = c; }
    void setPressedTextColor(Color c) { pressedTextColor_ = c; }
    // Also the on/off state of a toggle and the selection of a tab or field.
    void setPressed(bool pressed, bool redraw);
    bool pressed() const { return pressed_; }
    void setEnabled(bool enabled) { enabled_ = enabled; }
    bool enabled() const { return enabled_; }

    void paint(Painter& p) override;
    void penDown(Point local) override;
    void penUp(Point local) override;
    void cancelPress() override;

protected:
    const Bitmap& currentFace() const { return pressed_ ? pressedFace_ : normalFace_; }
    TextStyle textStyle() const;
    Margins margins() const { return margins_; }

    Bitmap normalFace_;
    Bitmap pressedFace_;
    bool pressed_ = false;
    std::string text_;
    bool enabled_ = true;
    Font font_{12, true};
    Color textColor_ = kWhite;
    Color pressedTextColor_ = kBlack;
    Margins margins_;
    unsigned format_ = kDtCenter | kDtVCenter;
};

}  // namespace vesk
