// A value field whose caption has two lines.
#pragma once
#include "ui/toolkit/value_field.h"

namespace vesk {

class CaptionValueField : public ValueField {
public:
    explicit CaptionValueField(Widget* parent) : ValueField(parent) {}

    void setSecondCaption(std::string text) { second_ = std::move(text); }
    void setSecondLineOffset(int pixels) { offset_ = pixels; }

    void paint(Painter& p) override;

private:
    std::string second_;
    int offset_ = 12;
};

}  // namespace vesk
