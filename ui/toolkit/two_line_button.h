// A button with a second text line below the first.
#pragma once
#include "ui/toolkit/button.h"

namespace vesk {

class TwoLineButton : public Button {
public:
    explicit TwoLineButton(Widget* parent) : Button(parent) {}

    void setSecondText(std::string text) { second_ = std::move(text); }
    void setSecondLineOffset(int pixels) { offset_ = pixels; }

    void paint(Painter& p) override;

private:
    std::string second_;
    int offset_ = 12;
};

// Two lines `offset` pixels apart in `rect` (shrunk by `m`): around the
// centre when vertically centred, else the second below the first.
void paintTwoLines(Painter& p, const Rect& rect, const std::string& first, const std::string& second, int offset,
                   const TextStyle& style, const Margins& m);

}  // namespace vesk
