// The tool's buttons: their looks (the controller's pictures and caption
// colours), one way of making them, and a group of which one is marked as
// chosen (shown pressed).
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "ui/toolkit/button.h"
#include "ui/toolkit/spin_box.h"

namespace vesk {

struct ButtonLook {
    int normal, pressed;
    int fontSize;
    Color text, pressedText;
};
// The home screen's tabs, the wide and big dark buttons, the standard
// (OK) buttons, the small arrows.
inline constexpr ButtonLook kTabLook{171, 170, 11, kWhite, kBlack};
inline constexpr ButtonLook kWideLook{256, 255, 14, kWhite, kBlack};
inline constexpr ButtonLook kBigLook{163, 277, 16, kWhite, kBlack};
inline constexpr ButtonLook kStandardLook{173, 172, 16, 0xC37C00, kWhite};
inline constexpr ButtonLook kUpArrowLook{kSmallUpNormal, kSmallUpPressed, 12, kWhite, kBlack};
inline constexpr ButtonLook kDownArrowLook{kSmallDownNormal, kSmallDownPressed, 12, kWhite, kBlack};

// A button at (x, y) of `parent`, sized by its picture, added to it.
Button* addButton(Widget* parent, int x, int y, const ButtonLook& look, std::string caption, ClickHandler onClick);

class ChoiceButtons {
public:
    // The handler gets the index of the button the pen chose.
    ChoiceButtons(Widget* parent, const ButtonLook& look, std::function<void(int)> onChoose)
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
    ButtonLook look_;
    std::function<void(int)> onChoose_;
    std::vector<Button*> buttons_;
    int marked_ = -1;
};

}  // namespace vesk
