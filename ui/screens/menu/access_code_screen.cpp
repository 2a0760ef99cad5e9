// AccessCodeScreen: digit columns that wrap 9 -> 0 and 0 -> 9.
#include "ui/screens/menu/access_code_screen.h"

#include "ui/screens/screen_parts.h"
#include "ui/toolkit/app_frame.h"

namespace vesk {

namespace {
constexpr int kColumnX[4] = {45, 105, 165, 225};
constexpr int kUpNormal = 213, kUpPressed = 210;
constexpr int kDownNormal = 211, kDownPressed = 212;
}  // namespace

bool digitsAre(const AccessDigits& d, int code) {
    return d[0] == code / 1000 % 10 && d[1] == code / 100 % 10 && d[2] == code / 10 % 10 && d[3] == code % 10;
}

AccessCodeScreen::AccessCodeScreen(AppFrame* frame, AccessDigits& digits, int& lastColumn, Result result)
    : Screen(frame), digits_(digits), lastColumn_(lastColumn), result_(std::move(result)) {
    setBackground(kEditorBackground, false);
    addTitle(this, "ВВЕДИТЕ ПАРОЛЬ");
    auto onClick = [this](Widget& s) { this->onClick(s); };
    for (size_t c = 0; c < 4; ++c) {
        const int x = kColumnX[c];
        up_[c] = new RepeatButton(this);
        up_[c]->setBitmaps(x, 43, kUpNormal, kUpPressed);
        up_[c]->setClickHandler(onClick);
        addChild(up_[c]);
        digit_[c] = new Label(this);
        digit_[c]->setBounds(x, 70, 50, 60, 0, "#");
        digit_[c]->setFont(50, true);
        digit_[c]->setTextFormat(kDtCenter | kDtVCenter);
        digit_[c]->setMargins(0, 0, 0, 0);
        addChild(digit_[c]);
        down_[c] = new RepeatButton(this);
        down_[c]->setBitmaps(x, 130, kDownNormal, kDownPressed);
        down_[c]->setClickHandler(onClick);
        addChild(down_[c]);
    }
    ok_ = addWideButton(this, 44, 175, "ОК", onClick);
    cancel_ = addWideButton(this, 182, 175, "ОТМЕНА", onClick);
    showDigits(false);
}

void AccessCodeScreen::showDigits(bool redraw) {
    for (size_t c = 0; c < 4; ++c) {
        const bool shown = static_cast<int>(c) == lastColumn_;
        const std::string text = shown ? std::to_string(digits_[c]) : "#";
        if (digit_[c]->text() == text) continue;
        digit_[c]->setText(text);
        if (redraw) digit_[c]->repaint();
    }
}

void AccessCodeScreen::onClick(Widget& sender) {
    if (done_) return;
    if (&sender == ok_ || &sender == cancel_) {
        done_ = true;
        const bool cancelled = &sender == cancel_;
        // The result may push the next screen: this one is off the stack first.
        if (frame_->top() == this) frame_->pop();
        Result r = std::move(result_);
        if (r) r(cancelled);
        frame_->deleteLater(this);
        return;
    }
    for (size_t c = 0; c < 4; ++c) {
        if (&sender == up_[c]) digits_[c] = static_cast<uint8_t>((digits_[c] + 1) % 10);
        else if (&sender == down_[c]) digits_[c] = static_cast<uint8_t>((digits_[c] + 9) % 10);
        else continue;
        lastColumn_ = static_cast<int>(c);
        showDigits(true);
        return;
    }
}

}  // namespace vesk
