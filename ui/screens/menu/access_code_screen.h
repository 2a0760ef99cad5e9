// "ВВЕДИТЕ ПАРОЛЬ": four digit columns with up and down buttons. Only the
// column changed last shows its digit, the others "#". The digits live in
// the user menu's buffer for the protected entry.
#pragma once
#include <array>
#include <cstdint>
#include <functional>

#include "ui/toolkit/button.h"
#include "ui/toolkit/label.h"
#include "ui/toolkit/repeat_button.h"
#include "ui/toolkit/screen.h"

namespace vesk {

using AccessDigits = std::array<uint8_t, 4>;

// The user menu's part of the code entry: one buffer per protected entry,
// and the column changed last, shared by both.
struct AccessCodes {
    AccessDigits installer{};
    AccessDigits service{};
    int lastColumn = -1;
};

bool digitsAre(const AccessDigits& d, int code);

class AccessCodeScreen : public Screen {
public:
    // cancelled is false for "ОК".
    using Result = std::function<void(bool cancelled)>;
    AccessCodeScreen(AppFrame* frame, AccessDigits& digits, int& lastColumn, Result result);

    RepeatButton* upButton(int column) const { return up_[static_cast<size_t>(column)]; }
    RepeatButton* downButton(int column) const { return down_[static_cast<size_t>(column)]; }
    Label* digit(int column) const { return digit_[static_cast<size_t>(column)]; }
    Button* okButton() const { return ok_; }
    Button* cancelButton() const { return cancel_; }

private:
    void onClick(Widget& sender);
    void showDigits(bool redraw);

    AccessDigits& digits_;
    int& lastColumn_;
    Result result_;
    std::array<RepeatButton*, 4> up_{};
    std::array<RepeatButton*, 4> down_{};
    std::array<Label*, 4> digit_{};
    Button* ok_ = nullptr;
    Button* cancel_ = nullptr;
    bool done_ = false;
};

}  // namespace vesk
