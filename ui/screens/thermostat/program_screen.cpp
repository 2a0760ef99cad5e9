// The program screen and the period editor.
#include <algorithm>
#include <cstdio>
#include <mutex>

#include "ui/screens/screen_parts.h"
#include "ui/screens/thermostat/thermostat_screens.h"
#include "ui/toolkit/app_frame.h"

namespace vesk {

namespace {

constexpr int kLeftNormal = 247, kLeftPressed = 248, kRightNormal = 249, kRightPressed = 250;
constexpr int kValuePlate = 260, kNumberPlate = 261;
constexpr int kPeriodNormal = 258, kPeriodPressed = 257;
constexpr int kAirMin = 5, kAirMax = 35;
constexpr int kDayHours = 24;

Label* addPlate(Widget* screen, int x, int y, int resource) {
    auto* l = new Label(screen);
    l->setBounds(x, y, 0, 0, resource, "");
    l->setFont(14, true);
    l->setTextFormat(kDtCenter | kDtVCenter);
    l->setMargins(0, 0, 0, 0);
    screen->addChild(l);
    return l;
}

RepeatButton* addRepeatArrow(Widget* screen, int x, int y, bool left, ClickHandler onClick) {
    auto* r = new RepeatButton(screen);
    r->setBitmaps(x, y, left ? kLeftNormal : kRightNormal, left ? kLeftPressed : kRightPressed);
    r->setClickHandler(std::move(onClick));
    screen->addChild(r);
    return r;
}

void waterLimits(ScreenContext& ctx, int32_t& lo, int32_t& hi) {
    ControllerState& s = ctx.state();
    std::lock_guard<std::recursive_mutex> g(s.stateLock);
    lo = s.usr.TWAT_UST_LIMIT_MIN;
    hi = s.usr.TWAT_UST_LIMIT_MAX;
}

}  // namespace

// ---- program screen -----------------------------------------------------------

ProgramScreen::ProgramScreen(AppFrame* frame, ScreenContext& ctx) : Screen(frame), ctx_(ctx) {
    setBackground(kEditorBackground, false);
    const Schedule now = scheduleNow(ctx);
    std::copy(std::begin(now.programs), std::end(now.programs), programs_.begin());
    auto on = [this](Widget& w) { onClick(w); };
    chart_ = addPictureButton(this, 9, 16, 183, 182, on);
    chart_->setText("ПРОСМОТР ПРОГРАММЫ");
    chart_->setTextColor(kCaptionBlue);
    chart_->setPressedTextColor(kWhite);
    left_ = addPictureButton(this, 193, 16, kLeftNormal, kLeftPressed, on);
    plate_ = addPlate(this, 237, 21, kNumberPlate);
    right_ = addPictureButton(this, 275, 16, kRightNormal, kRightPressed, on);
    auto* caption = new Label(this);
    caption->setBounds(44, 56, 224, 15, 0, "ПЕРИОДЫ");
    caption->setTextFormat(kDtCenter | kDtVCenter);
    addChild(caption);
    constexpr int kListTop = 77;
    scrollLeft_ = addRepeatArrow(this, 6, kListTop, true, on);
    scrollRight_ = addRepeatArrow(this, 277, kListTop, false, on);
    for (RepeatButton* r : {scrollLeft_, scrollRight_}) r->setTiming(0, 100, 100, 0);
    add_ = addPictureButton(this, 39, 126, 256, 255, on);
    add_->setText("ДОБАВИТЬ ПЕРИОД");
    ok_ = addWideButton(this, 39, 175, "ОК", on);
    cancel_ = addWideButton(this, 188, 175, "ОТМЕНА", on);
    rebuildPeriods();
}

void ProgramScreen::rebuildPeriods() {
    if (list_) {
        removeChild(list_);
        delete list_;
    }
    periodButtons_.clear();
    // Between the scroll arrows.
    const int left = scrollLeft_->rect().right + 2, right = scrollRight_->rect().left - 2;
    list_ = new MenuList(frame_, left, scrollLeft_->rect().top, right - left, scrollLeft_->rect().height());
    list_->setOrientation(0);
    list_->setSpacing(4);
    const Program& p = edited();
    for (int i = 0; i < p.count; ++i) {
        auto* b = new Button(list_);
        b->setBitmaps(0, 0, kPeriodNormal, kPeriodPressed);
        b->setFont(11, true);
        char text[24];
        std::snprintf(text, sizeof text, "%d:00\r%d:00", int(p.periods[i].begin), int(p.periods[i].end));
        b->setText(text);
        b->setClickHandler([this, i](Widget&) { openPeriod(i, false); });
        list_->addItem(b);
        periodButtons_.push_back(b);
    }
    addChild(list_);
    plate_->setNumber(index_ + 1);
    invalidate();
}

bool ProgramScreen::addPeriod() {
    Program& p = edited();
    if (p.count >= kMaxPeriods) return false;
    // After the last period, for an hour; the targets in force to start from.
    Period n;
    n.begin = p.count ? std::min<int32_t>(p.periods[p.count - 1].end, kDayHours - 1) : 0;
    n.end = n.begin + 1;
    {
        ControllerState& s = ctx_.state();
        std::lock_guard<std::recursive_mutex> g(s.stateLock);
        n.airTarget = std::clamp<int32_t>(s.usr.TAIR_UST, kAirMin, kAirMax);
        n.waterTarget = std::clamp(s.usr.TWAT_UST, s.usr.TWAT_UST_LIMIT_MIN, s.usr.TWAT_UST_LIMIT_MAX);
    }
    n.useWater = 1;
    p.periods[p.count++] = n;
    rebuildPeriods();
    openPeriod(p.count - 1, true);
    return true;
}

void ProgramScreen::openPeriod(int index, bool added) {
    frame_->push(new PeriodScreen(frame_, ctx_, *this, index, added));
}

void ProgramScreen::onClick(Widget& sender) {
    if (&sender == left_ || &sender == right_) {
        index_ = (index_ + (&sender == left_ ? kSchedulePrograms - 1 : 1)) % kSchedulePrograms;
        rebuildPeriods();
    } else if (&sender == scrollLeft_ || &sender == scrollRight_) {
        list_->scrollBy(&sender == scrollLeft_ ? 10 : -10, 0);
    } else if (&sender == chart_) {
        int32_t lo, hi;
        waterLimits(ctx_, lo, hi);
        frame_->push(new ProgramChart(frame_, edited(), hi));
    } else if (&sender == add_) {
        addPeriod();
    } else if (&sender == ok_) {
        // Sorted as the file loader sorts them; a program whose periods then
        // overlap is reported and nothing is stored.
        Schedule s;
        std::copy(programs_.begin(), programs_.end(), std::begin(s.programs));
        sortPrograms(s);
        for (int i = 0; i < kSchedulePrograms; ++i) {
            if (validateProgram(s.programs[i])) continue;
            char text[200];
            std::snprintf(text, sizeof text,
                          "Некоторые периоды программы %d настроены неверно. Проверьте правильность установки "
                          "времени периодов",
                          i + 1);
            showMessage(*frame_, "ВНИМАНИЕ!", text);
            return;
        }
        storeSchedule(ctx_, [&s](Schedule& into) { std::copy(std::begin(s.programs), std::end(s.programs), into.programs); });
        closeScreen(this);
    } else if (&sender == cancel_) {
        closeScreen(this);
    }
}

// ---- period editor --------------------------------------------------------------

PeriodScreen::PeriodScreen(AppFrame* frame, ScreenContext& ctx, ProgramScreen& owner, int index, bool added)
    : Screen(frame), ctx_(ctx), owner_(owner), index_(index), added_(added), p_(owner.edited().periods[index]) {
    setBackground(kEditorBackground, false);
    waterLimits(ctx, waterMin_, waterMax_);
    auto on = [this](Widget& w) { onClick(w); };
    beginDown_ = addRepeatArrow(this, 4, 8, true, on);
    beginPlate_ = addPlate(this, 51, 14, kValuePlate);
    beginUp_ = addRepeatArrow(this, 119, 8, false, on);
    endDown_ = addRepeatArrow(this, 163, 8, true, on);
    endPlate_ = addPlate(this, 210, 14, kValuePlate);
    endUp_ = addRepeatArrow(this, 278, 8, false, on);
    pause_ = addCheckBox(this, 72, 51, on);
    pauseLabel_ = addCheckLabel(this, 118, 51, 150, "РЕЖИМ ПАУЗЫ", on);
    air_ = addCheckBox(this, 26, 90, on);
    airLabel_ = addCheckLabel(this, 62, 90, 78, "t воздуха", on);
    airDown_ = addRepeatArrow(this, 141, 90, true, on);
    airPlate_ = addPlate(this, 188, 95, kValuePlate);
    airUp_ = addRepeatArrow(this, 256, 90, false, on);
    water_ = addCheckBox(this, 26, 133, on);
    waterLabel_ = addCheckLabel(this, 62, 133, 78, "t воды", on);
    waterDown_ = addRepeatArrow(this, 141, 133, true, on);
    waterPlate_ = addPlate(this, 188, 138, kValuePlate);
    waterUp_ = addRepeatArrow(this, 256, 133, false, on);
    ok_ = addWideButton(this, 8, 175, "ОК", on);
    cancel_ = addWideButton(this, 110, 175, "ОТМЕНА", on);
    delete_ = addWideButton(this, 212, 175, "УДАЛИТЬ\rПЕРИОД", on);
    delete_->setFont(14, true);
    pause_->setPressed(p_.pause != 0, false);
    air_->setPressed(p_.useAir != 0, false);
    water_->setPressed(p_.useWater != 0, false);
    showValues(false);
}

void PeriodScreen::showValues(bool redraw) {
    char text[16];
    auto set = [&](Label* l, const char* fmt, int v) {
        std::snprintf(text, sizeof text, fmt, v);
        l->setText(text);
        if (redraw) l->repaint();
    };
    set(beginPlate_, "%02d-00", p_.begin);
    set(endPlate_, "%02d-00", p_.end);
    set(airPlate_, "%d°C", p_.airTarget);
    set(waterPlate_, "%d°C", p_.waterTarget);
}

void PeriodScreen::onClick(Widget& sender) {
    // Each arrow moves its value by one within its limits, read at the press.
    auto step = [](int32_t& v, int delta, int32_t lo, int32_t hi) {
        const int32_t next = v + delta;
        if (next >= lo && next <= hi) v = next;
    };
    if (&sender == beginDown_ || &sender == beginUp_) {
        step(p_.begin, &sender == beginUp_ ? 1 : -1, 0, p_.end - 1);
    } else if (&sender == endDown_ || &sender == endUp_) {
        step(p_.end, &sender == endUp_ ? 1 : -1, p_.begin + 1, kDayHours);
    } else if (&sender == airDown_ || &sender == airUp_) {
        step(p_.airTarget, &sender == airUp_ ? 1 : -1, kAirMin, kAirMax);
    } else if (&sender == waterDown_ || &sender == waterUp_) {
        waterLimits(ctx_, waterMin_, waterMax_);
        step(p_.waterTarget, &sender == waterUp_ ? 1 : -1, waterMin_, waterMax_);
    } else if (&sender == pauseLabel_ || &sender == airLabel_ || &sender == waterLabel_) {
        ToggleButton* box = &sender == pauseLabel_ ? pause_ : &sender == airLabel_ ? air_ : water_;
        box->setPressed(!box->on(), true);
    } else if (&sender == ok_) {
        p_.pause = pause_->on();
        p_.useAir = air_->on();
        p_.useWater = water_->on();
        // A period that sets no target is read back from tmstat.cfg with
        // its water target set: it is stored that way at once.
        if (!p_.useAir && !p_.useWater) p_.useWater = 1;
        owner_.edited().periods[index_] = p_;
        owner_.rebuildPeriods();
        closeScreen(this);
        return;
    } else if (&sender == cancel_ || &sender == delete_) {
        // A period just added goes again when it is not kept.
        if (added_ || &sender == delete_) {
            Program& p = owner_.edited();
            std::copy(p.periods + index_ + 1, p.periods + p.count, p.periods + index_);
            p.periods[--p.count] = Period{};
            owner_.rebuildPeriods();
        }
        closeScreen(this);
        return;
    }
    showValues(true);
}

}  // namespace vesk
