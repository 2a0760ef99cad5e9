// A page of big buttons under a title (background 193) with "НАЗАД" at
// (120, 185): "УДАЛЕННОЕ ПОДКЛЮЧЕНИЕ", "АНТИЗАКЛИНИВАНИЕ", the KESTRALO test
// menu. Each button is a menu entry placed at its own height.
#pragma once
#include <string>
#include <vector>

#include "ui/screens/menu/menu_entry.h"
#include "ui/toolkit/button.h"
#include "ui/toolkit/label.h"
#include "ui/toolkit/screen.h"

namespace vesk {

constexpr int kPageButtonNormal = 163;
constexpr int kPageButtonPressed = 277;
constexpr int kPageButtonX = 43;

struct PageButton {
    int y;
    MenuEntry entry;
};

// A big page button at (43, y), white caption, black when pressed.
Button* addPageButton(Widget* screen, int y, const std::string& text, ClickHandler onClick);

class ButtonPage : public Screen {
public:
    ButtonPage(AppFrame* frame, const std::string& title, std::vector<PageButton> buttons);

    Label* title() const { return title_; }
    const std::vector<Button*>& buttons() const { return buttons_; }
    Button* backButton() const { return back_; }

protected:
    // "НАЗАД": closes the page.
    virtual void back();

private:
    void onClick(Widget& sender);

    std::vector<PageButton> entries_;
    Label* title_ = nullptr;
    std::vector<Button*> buttons_;
    Button* back_ = nullptr;
};

}  // namespace vesk
