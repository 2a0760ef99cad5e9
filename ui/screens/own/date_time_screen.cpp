// The date and time screen.
#include "ui/screens/own/date_time_screen.h"

#include <algorithm>
#include <cstdio>
#include <mutex>

#include "core/refresh_sink.h"

#include "settings/user_table.h"
#include "ui/screens/screen_parts.h"

namespace vesk {

namespace {

constexpr int kUpNormal = 213, kUpPressed = 210, kDownNormal = 211, kDownPressed = 212;
constexpr int kColumnX[DateTimeScreen::kPartCount] = {12, 72, 132, 198, 258};
constexpr const char* kCaptions[DateTimeScreen::kPartCount] = {"ДЕНЬ", "МЕСЯЦ", "ГОД", "ЧАС", "МИН."};
constexpr const char* kMonths[12] = {"ЯНВ", "ФЕВ", "МАР", "АПР", "МАЙ", "ИЮН",
                                     "ИЮЛ", "АВГ", "СЕН", "ОКТ", "НОЯ", "ДЕК"};
constexpr int kCaptionY = 50, kUpY = 66, kValueY = 94, kDownY = 134;
constexpr int kColumnWidth = 50, kValueHeight = 38;

// `v` moved by `delta` within lo..hi, wrapping around.
int wrap(int v, int delta, int lo, int hi) {
    const int n = hi - lo + 1;
    return ((v - lo + delta) % n + n) % n + lo;
}

}  // namespace

int daysInMonth(int year, int month) {
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    const int m = std::clamp(month, 1, 12);
    return kDays[m - 1] + (m == 2 && leap ? 1 : 0);
}

DateTimeScreen::DateTimeScreen(AppFrame* frame, ScreenContext& ctx)
    : Screen(frame), ctx_(ctx), t_(ctx.control.clock.localTime()) {
    t_.year = static_cast<uint16_t>(std::clamp<int>(t_.year, kFirstYear, kLastYear));
    setBackground(kEditorBackground, false);
    // The title's text in the title band at the top of its rectangle.
    Label* title = addTitle(this, "ДАТА И ВРЕМЯ", 10, 35);
    title->setTextFormat(kDtCenter);
    title->setMargins(5, -7, 5, 0);
    auto on = [this](Widget& w) { onClick(w); };
    for (int p = 0; p < kPartCount; ++p) {
        const int x = kColumnX[p];
        auto* caption = new Label(this);
        caption->setBounds(x - 5, kCaptionY, kColumnWidth + 10, 14, 0, kCaptions[p]);
        caption->setFont(10, true);
        caption->setTextFormat(kDtCenter | kDtVCenter);
        caption->setMargins(0, 0, 0, 0);
        addChild(caption);
        auto arrow = [&](int y, int normal, int pressed) {
            auto* r = new RepeatButton(this);
            r->setBitmaps(x, y, normal, pressed);
            r->setClickHandler(on);
            addChild(r);
            return r;
        };
        up_[size_t(p)] = arrow(kUpY, kUpNormal, kUpPressed);
        auto* v = new Label(this);
        v->setBounds(x - 5, kValueY, kColumnWidth + 10, kValueHeight, 0, "");
        v->setFont(p == kYear ? 17 : 20, true);
        v->setTextFormat(kDtCenter | kDtVCenter);
        v->setMargins(0, 0, 0, 0);
        addChild(v);
        value_[size_t(p)] = v;
        down_[size_t(p)] = arrow(kDownY, kDownNormal, kDownPressed);
    }
    auto* colon = new Label(this);
    colon->setBounds(kColumnX[kHour] + kColumnWidth, kValueY, kColumnX[kMinute] - kColumnX[kHour] - kColumnWidth,
                     kValueHeight, 0, ":");
    colon->setFont(20, true);
    colon->setTextFormat(kDtCenter | kDtVCenter);
    colon->setMargins(0, 0, 0, 0);
    addChild(colon);
    ok_ = addWideButton(this, 44, 185, "ОК", on);
    cancel_ = addWideButton(this, 182, 185, "ОТМЕНА", on);
    showValues(false);
}

void DateTimeScreen::showValues(bool redraw) {
    char text[8];
    const int values[kPartCount] = {t_.day, 0, t_.year, t_.hour, t_.minute};
    for (int p = 0; p < kPartCount; ++p) {
        if (p == kMonth)
            value_[size_t(p)]->setText(kMonths[std::clamp<int>(t_.month, 1, 12) - 1]);
        else {
            std::snprintf(text, sizeof text, p == kDay || p == kYear ? "%d" : "%02d", values[p]);
            value_[size_t(p)]->setText(text);
        }
        if (redraw) value_[size_t(p)]->repaint();
    }
}

void DateTimeScreen::step(int part, int delta) {
    switch (part) {
        case kDay:
            t_.day = static_cast<uint16_t>(wrap(t_.day, delta, 1, daysInMonth(t_.year, t_.month)));
            break;
        case kMonth:
            t_.month = static_cast<uint16_t>(wrap(t_.month, delta, 1, 12));
            break;
        case kYear:
            t_.year = static_cast<uint16_t>(std::clamp(t_.year + delta, kFirstYear, kLastYear));
            break;
        case kHour:
            t_.hour = static_cast<uint16_t>(wrap(t_.hour, delta, 0, 23));
            break;
        case kMinute:
            t_.minute = static_cast<uint16_t>(wrap(t_.minute, delta, 0, 59));
            break;
    }
    // No 31 April: the day follows a shorter month.
    t_.day = static_cast<uint16_t>(std::clamp<int>(t_.day, 1, daysInMonth(t_.year, t_.month)));
}

void DateTimeScreen::onClick(Widget& sender) {
    if (&sender == ok_) {
        LocalTime t = t_;
        t.second = 0;
        t.milliseconds = 0;
        t.dayOfWeek = fromEpochSeconds(toEpochSeconds(t)).dayOfWeek;
        ctx_.control.clock.setLocalTime(t);
        ControllerState& s = ctx_.state();
        {
            // What the control cycle derives from the clock follows at once.
            std::lock_guard<std::recursive_mutex> g(s.stateLock);
            s.localTime = ctx_.control.clock.localTime();
            s.usr.ANTI_JAM_DAY = antiJamDayNumber(s.localTime);
        }
        ctx_.control.refresh.postRefresh();
        closeScreen(this);
        return;
    }
    if (&sender == cancel_) {
        closeScreen(this);
        return;
    }
    for (int p = 0; p < kPartCount; ++p)
        if (&sender == up_[size_t(p)] || &sender == down_[size_t(p)]) step(p, &sender == up_[size_t(p)] ? 1 : -1);
    showValues(true);
}

}  // namespace vesk
