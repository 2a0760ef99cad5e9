// A number field of an editor: a caption on the left and a value box on the
// right; pressing it selects it (the owner unselects the others).
#pragma once
#include "ui/toolkit/button.h"
#include "ui/toolkit/value_format.h"

namespace vesk {

class ValueField : public Button {
public:
    explicit ValueField(Widget* parent);

    // As Button::setBitmaps, then the value and caption boxes.
    void setBitmaps(int x, int y, int normalResource, int pressedResource);
    void setValueKind(int kind) { kind_ = kind; }
    int valueKind() const { return kind_; }
    void setValueFont(int size, bool bold) { valueFont_ = {size, bold}; }
    void setValueColor(Color c) { valueColor_ = c; }
    void setValueFormat(unsigned format) { valueFormat_ = format; }

    // With redraw only the value box is repainted.
    void setValue(int value, bool redraw);
    void setDashes(bool redraw) { setValueText("--", redraw); }
    void setValueText(std::string text, bool redraw);
    const std::string& valueText() const { return valueText_; }
    const Rect& valueBox() const { return valueBox_; }
    const Rect& captionBox() const { return captionBox_; }

    void paint(Painter& p) override;
    void penDown(Point local) override;
    void penUp(Point local) override;
    // A list that takes the gesture over keeps the selection: it is the
    // owner's to change.
    void cancelPress() override {}

protected:
    void paintCaption(Painter& p);
    void paintValue(Painter& p);
    void repaintValue();

    std::string valueText_;
    Rect valueBox_;
    Rect captionBox_;
    unsigned valueFormat_ = kDtCenter | kDtVCenter;
    Font valueFont_{14, true};
    Color valueColor_ = kBlack;
    int kind_ = kValueCelsius;
    Bitmap normalOpaque_;
    Bitmap pressedOpaque_;
};

}  // namespace vesk
