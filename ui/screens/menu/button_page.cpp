// ButtonPage: one handler for the page's buttons.
#include "ui/screens/menu/button_page.h"

#include "ui/screens/screen_parts.h"

namespace vesk {

Button* addPageButton(Widget* screen, int y, const std::string& text, ClickHandler onClick) {
    auto* b = new Button(screen);
    b->setBitmaps(kPageButtonX, y, kPageButtonNormal, kPageButtonPressed);
    b->setText(text);
    b->setFont(14, true);
    b->setPressedTextColor(kBlack);
    b->setClickHandler(std::move(onClick));
    screen->addChild(b);
    return b;
}

ButtonPage::ButtonPage(AppFrame* frame, const std::string& title, std::vector<PageButton> buttons)
    : Screen(frame), entries_(std::move(buttons)) {
    setBackground(kEditorBackground, false);
    title_ = addTitle(this, title);
    for (const PageButton& b : entries_)
        buttons_.push_back(addPageButton(this, b.y, b.entry.text, [this](Widget& s) { onClick(s); }));
    back_ = addWideButton(this, 120, 185, "НАЗАД", [this](Widget& s) { onClick(s); });
}

void ButtonPage::back() { closeScreen(this); }

void ButtonPage::onClick(Widget& sender) {
    if (&sender == back_) {
        back();
        return;
    }
    for (size_t i = 0; i < buttons_.size(); ++i) {
        if (&sender != buttons_[i]) continue;
        auto open = entries_[i].entry.open;
        if (open) open(*this);
        return;
    }
}

}  // namespace vesk
