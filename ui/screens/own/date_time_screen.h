// "ДАТА И ВРЕМЯ": day, month (by name), year, hour and minute, each between
// its own arrows, starting from the panel's local time. "ОК" sets the
// panel clock (seconds 0) and the controller's time-derived values.
#pragma once
#include <array>

#include "platform/clock.h"
#include "ui/screens/screen_context.h"
#include "ui/toolkit/button.h"
#include "ui/toolkit/label.h"
#include "ui/toolkit/repeat_button.h"
#include "ui/toolkit/screen.h"

namespace vesk {

class DateTimeScreen : public Screen {
public:
    enum Part { kDay, kMonth, kYear, kHour, kMinute, kPartCount };
    static constexpr int kFirstYear = 2000, kLastYear = 2099;

    DateTimeScreen(AppFrame* frame, ScreenContext& ctx);

    const LocalTime& edited() const { return t_; }
    RepeatButton* upButton(int part) const { return up_[size_t(part)]; }
    RepeatButton* downButton(int part) const { return down_[size_t(part)]; }
    Label* valueLabel(int part) const { return value_[size_t(part)]; }
    Button* okButton() const { return ok_; }
    Button* cancelButton() const { return cancel_; }

private:
    void onClick(Widget& sender);
    void step(int part, int delta);
    void showValues(bool redraw);

    ScreenContext& ctx_;
    LocalTime t_;
    std::array<RepeatButton*, kPartCount> up_{}, down_{};
    std::array<Label*, kPartCount> value_{};
    Button *ok_ = nullptr, *cancel_ = nullptr;
};

// Days of `month` (1..12) in `year`.
int daysInMonth(int year, int month);

}  // namespace vesk
