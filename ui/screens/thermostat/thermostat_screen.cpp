// "ТЕРМОСТАТ" and the weekday screen.
#include <mutex>

#include "core/refresh_sink.h"

#include "ui/screens/screen_parts.h"
#include "ui/screens/thermostat/thermostat_screens.h"
#include "ui/toolkit/app_frame.h"

namespace vesk {

namespace {

constexpr int kWideNormal = 256, kWidePressed = 255;
constexpr int kDayNormal = 258, kDayPressed = 257;
constexpr int kDayProgramPlate = 259;
constexpr int kValuePlate = 260;
constexpr int kLeftNormal = 247, kLeftPressed = 248, kRightNormal = 249, kRightPressed = 250;
constexpr const char* kDayNames[kScheduleDays] = {"ПН", "ВТ", "СР", "ЧТ", "ПТ", "СБ", "ВС"};

std::string programName(int32_t p) { return p >= 0 && p < kSchedulePrograms ? std::to_string(p + 1) : "НЕТ"; }

Button* addWidePageButton(Widget* screen, int x, int y, const std::string& text, ClickHandler onClick) {
    Button* b = addPictureButton(screen, x, y, kWideNormal, kWidePressed, std::move(onClick));
    b->setText(text);
    return b;
}

}  // namespace

Schedule scheduleNow(ScreenContext& ctx) {
    ScheduleStore& store = ctx.control.schedule;
    std::lock_guard<std::mutex> g(store.scheduleLock);
    return store.schedule;
}

bool storeSchedule(ScreenContext& ctx, const std::function<void(Schedule&)>& edit) {
    ScheduleStore& store = ctx.control.schedule;
    {
        std::lock_guard<std::mutex> g(store.scheduleLock);
        edit(store.schedule);
    }
    const bool saved = saveSchedule(ctx.settingsDir + "tmstat.cfg", store);
    ctx.control.refresh.postRefresh();
    return saved;
}

// ---- "ТЕРМОСТАТ" ----------------------------------------------------------------

ThermostatScreen::ThermostatScreen(AppFrame* frame, ScreenContext& ctx) : Screen(frame), ctx_(ctx) {
    setBackground(kEditorBackground, false);
    addTitle(this, "ТЕРМОСТАТ");
    auto on = [this](Widget& w) { onClick(w); };
    check_ = addCheckBox(this, 39, 40, on);
    check_->setPressed(scheduleNow(ctx).enabled != 0, false);
    label_ = addCheckLabel(this, 85, 40, 240, "ИСПОЛЬЗОВАТЬ", on);
    days_ = addWidePageButton(this, 39, 87, "НАСТРОЙКА ПО ДНЯМ НЕДЕЛИ", on);
    programs_ = addWidePageButton(this, 39, 128, "НАСТРОЙКА ПРОГРАММ", on);
    ok_ = addWideButton(this, 39, 175, "ОК", on);
    cancel_ = addWideButton(this, 188, 175, "ОТМЕНА", on);
}

void ThermostatScreen::onClick(Widget& sender) {
    if (&sender == label_) {
        check_->setPressed(!check_->on(), true);
    } else if (&sender == days_) {
        frame_->push(new WeekdayScreen(frame_, ctx_));
    } else if (&sender == programs_) {
        frame_->push(new ProgramScreen(frame_, ctx_));
    } else if (&sender == ok_) {
        const int32_t enabled = check_->on() ? 1 : 0;
        if (scheduleNow(ctx_).enabled != enabled) storeSchedule(ctx_, [enabled](Schedule& s) { s.enabled = enabled; });
        closeScreen(this);
    } else if (&sender == cancel_) {
        closeScreen(this);
    }
}

// ---- weekday screen ---------------------------------------------------------------

WeekdayScreen::WeekdayScreen(AppFrame* frame, ScreenContext& ctx) : Screen(frame), ctx_(ctx) {
    setBackground(kEditorBackground, false);
    const Schedule now = scheduleNow(ctx);
    for (int d = 0; d < kScheduleDays; ++d) map_[size_t(d)] = now.dayProgram[d];
    addTitle(this, "ТЕРМОСТАТ", 0, 25)->resize(210, 25);
    auto on = [this](Widget& w) { onClick(w); };
    auto caption = [this](int x, int y, const char* text) {
        auto* l = new Label(this);
        l->setBounds(x, y, 150, 20, 0, text);
        addChild(l);
    };
    auto plate = [this](int x, int y) {
        auto* l = new Label(this);
        l->setBounds(x, y, 0, 0, kValuePlate, "");
        l->setFont(14, true);
        l->setTextFormat(kDtCenter | kDtVCenter);
        addChild(l);
        return l;
    };
    caption(35, 32, "ДЕНЬ НЕДЕЛИ");
    dayLeft_ = addPictureButton(this, 34, 55, kLeftNormal, kLeftPressed, on);
    dayPlate_ = plate(81, 59);
    dayRight_ = addPictureButton(this, 149, 55, kRightNormal, kRightPressed, on);
    caption(35, 108, "ПРОГРАММА");
    progLeft_ = addPictureButton(this, 34, 126, kLeftNormal, kLeftPressed, on);
    progPlate_ = plate(81, 131);
    progRight_ = addPictureButton(this, 149, 126, kRightNormal, kRightPressed, on);
    // The column of every day with its program.
    constexpr int kColumnTop = 28, kColumnPitch = 30;
    for (int d = 0; d < kScheduleDays; ++d) {
        Button* b = addPictureButton(this, 216, kColumnTop + kColumnPitch * d, kDayNormal, kDayPressed, on);
        b->setText(kDayNames[d]);
        dayButtons_[size_t(d)] = b;
        auto* l = new Label(this);
        l->setBounds(275, kColumnTop + kColumnPitch * d, 0, 0, kDayProgramPlate, "");
        l->setFont(12, true);
        l->setTextFormat(kDtCenter | kDtVCenter);
        l->setMargins(0, 0, 0, 0);
        addChild(l);
        dayPrograms_[size_t(d)] = l;
    }
    ok_ = addWideButton(this, 12, 175, "ОК", on);
    cancel_ = addWideButton(this, 113, 175, "ОТМЕНА", on);
    showDay(false);
}

void WeekdayScreen::showDay(bool redraw) {
    dayPlate_->setText(kDayNames[day_]);
    progPlate_->setText(programName(map_[size_t(day_)]));
    for (int d = 0; d < kScheduleDays; ++d) {
        dayButtons_[size_t(d)]->setPressed(d == day_, redraw);
        dayPrograms_[size_t(d)]->setText(map_[size_t(d)] < kSchedulePrograms ? programName(map_[size_t(d)]) : "-");
        if (redraw) dayPrograms_[size_t(d)]->repaint();
    }
    if (redraw) {
        dayPlate_->repaint();
        progPlate_->repaint();
    }
}

void WeekdayScreen::onClick(Widget& sender) {
    // Programs 1..4 and none, in a ring.
    constexpr int kChoices = kSchedulePrograms + 1;
    int32_t& program = map_[size_t(day_)];
    if (&sender == dayLeft_ || &sender == dayRight_) {
        day_ = (day_ + (&sender == dayLeft_ ? kScheduleDays - 1 : 1)) % kScheduleDays;
    } else if (&sender == progLeft_ || &sender == progRight_) {
        program = (program + (&sender == progLeft_ ? kChoices - 1 : 1)) % kChoices;
    } else if (&sender == ok_) {
        const auto map = map_;
        storeSchedule(ctx_, [&map](Schedule& s) {
            for (int d = 0; d < kScheduleDays; ++d) s.dayProgram[d] = map[size_t(d)];
        });
        closeScreen(this);
        return;
    } else if (&sender == cancel_) {
        closeScreen(this);
        return;
    } else {
        for (int d = 0; d < kScheduleDays; ++d)
            if (&sender == dayButtons_[size_t(d)]) day_ = d;
    }
    showDay(true);
}

}  // namespace vesk
