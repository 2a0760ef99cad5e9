// Pieces every menu, page and editor screen shares: the title line, the
// "ОК"/"ОТМЕНА"/"НАЗАД" buttons and closing a screen from its own handler.
#pragma once
#include <string>

#include "ui/toolkit/button.h"
#include "ui/toolkit/label.h"
#include "ui/toolkit/toggle_button.h"

namespace vesk {

class AppFrame;

constexpr int kEditorBackground = 193;
constexpr int kWideButtonNormal = 173;
constexpr int kWideButtonPressed = 172;
constexpr Color kCaptionBlue = 0xC37C00;

// Title at (0, y), 320 wide, Arial 14 bold, black, centred.
Label* addTitle(Widget* screen, const std::string& text, int y = 0, int height = 25);
// A 173/172 button with a blue caption in Arial 20 bold (white when pressed).
Button* addWideButton(Widget* screen, int x, int y, const std::string& text, ClickHandler onClick);
// A button with a pair of pictures and no text.
Button* addPictureButton(Widget* screen, int x, int y, int normal, int pressed, ClickHandler onClick);
// A check box (219/218) and the clickable caption beside it (Arial 12 bold,
// 35 high); the screen's handler flips the box when the caption is tapped.
ToggleButton* addCheckBox(Widget* screen, int x, int y, ClickHandler onClick);
Label* addCheckLabel(Widget* screen, int x, int y, int width, const std::string& text, ClickHandler onClick);
// A message box with a lone "ОК" over the screen on top.
void showMessage(AppFrame& frame, const std::string& title, const std::string& text);
// Pops `screen` when it is on top and deletes it once the message that
// closed it has been handled.
void closeScreen(Widget* screen);

}  // namespace vesk
