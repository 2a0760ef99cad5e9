// A group of buttons of which one is marked as chosen (shown pressed).
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "ui/toolkit/button.h"

namespace vesk {

class ChoiceButtons {
public:
    struct Look {
        int normal, pressed;
        int fontSize;
        Color text, pressedText;
    };
    // The home screen's tabs, the wide dark buttons, the standard buttons.
    static constexpr Look kTabLook{171, 170, 11, kWhite, kBlack};
    static constexpr Look kWideLook{256, 255, 14, kWhite, kBlack};
    static constexpr Look kStandardLook{173, 172, 16, 0xC37C00, kWhite};

    // The handler gets the index of the button the pen chose.
    ChoiceButtons(Widget* parent, const Look& look, std::function<void(int)> onChoose)
        : parent_(parent), look_(look), onChoose_(std::move(onChoose)) {}

    Button* add(int x, int y, std::string caption);
    // Marks button `i` (none for -1) and unmarks the others.
    void mark(int i, bool redraw);
    int marked() const { return marked_; }
    int count() const { return static_cast<int>(buttons_.size()); }
    Button* button(int i) const { return buttons_.at(static_cast<size_t>(i)); }
    // Shows the first `n` buttons only.
    void showFirst(int n);

private:
    Widget* parent_;
    Look look_;
    std::function<void(int)> onChoose_;
    std::vector<Button*> buttons_;
    int marked_ = -1;
};

}  // namespace vesk
