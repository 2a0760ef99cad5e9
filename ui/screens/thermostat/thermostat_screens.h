// The thermostat schedule on the panel: "ТЕРМОСТАТ" (the enable flag and
// the way to the other screens), the weekday screen (a program per day),
// the program screen (periods of the four programs), the period editor and
// the program's 24-hour chart. Each screen edits copies; its "ОК" stores
// them under the schedule lock and saves tmstat.cfg.
#pragma once
#include <array>
#include <functional>
#include <vector>

#include "settings/schedule.h"
#include "ui/screens/screen_context.h"
#include "ui/toolkit/button.h"
#include "ui/toolkit/label.h"
#include "ui/toolkit/menu_list.h"
#include "ui/toolkit/repeat_button.h"
#include "ui/toolkit/screen.h"
#include "ui/toolkit/tab_button.h"
#include "ui/toolkit/toggle_button.h"

namespace vesk {

// Stores `edit` into the schedule under its lock and writes tmstat.cfg.
bool storeSchedule(ScreenContext& ctx, const std::function<void(Schedule&)>& edit);
Schedule scheduleNow(ScreenContext& ctx);

class ThermostatScreen : public Screen {
public:
    ThermostatScreen(AppFrame* frame, ScreenContext& ctx);
    ToggleButton* checkBox() const { return check_; }
    Label* checkLabel() const { return label_; }
    Button* weekdaysButton() const { return days_; }
    Button* programsButton() const { return programs_; }
    Button* okButton() const { return ok_; }
    Button* cancelButton() const { return cancel_; }

private:
    void onClick(Widget& sender);
    ScreenContext& ctx_;
    ToggleButton* check_ = nullptr;
    Label* label_ = nullptr;
    Button *days_ = nullptr, *programs_ = nullptr, *ok_ = nullptr, *cancel_ = nullptr;
};

class WeekdayScreen : public Screen {
public:
    WeekdayScreen(AppFrame* frame, ScreenContext& ctx);
    int day() const { return day_; }
    int programOf(int day) const { return map_[size_t(day)]; }
    Button* dayLeft() const { return dayLeft_; }
    Button* dayRight() const { return dayRight_; }
    Button* programLeft() const { return progLeft_; }
    Button* programRight() const { return progRight_; }
    Label* dayPlate() const { return dayPlate_; }
    Label* programPlate() const { return progPlate_; }
    Button* dayButton(int day) const { return dayButtons_[size_t(day)]; }
    Label* dayProgram(int day) const { return dayPrograms_[size_t(day)]; }
    Button* okButton() const { return ok_; }
    Button* cancelButton() const { return cancel_; }

private:
    void onClick(Widget& sender);
    void showDay(bool redraw);
    ScreenContext& ctx_;
    std::array<int32_t, kScheduleDays> map_{};
    int day_ = 0;
    Button *dayLeft_ = nullptr, *dayRight_ = nullptr, *progLeft_ = nullptr, *progRight_ = nullptr;
    Label *dayPlate_ = nullptr, *progPlate_ = nullptr;
    std::array<Button*, kScheduleDays> dayButtons_{};
    std::array<Label*, kScheduleDays> dayPrograms_{};
    Button *ok_ = nullptr, *cancel_ = nullptr;
};

class ProgramScreen : public Screen {
public:
    ProgramScreen(AppFrame* frame, ScreenContext& ctx);
    int program() const { return index_; }
    Program& edited() { return programs_[size_t(index_)]; }
    const Program& edited() const { return programs_[size_t(index_)]; }
    // The period buttons are rebuilt after each change of the program.
    void rebuildPeriods();
    // "ДОБАВИТЬ ПЕРИОД": appends a period after the last one and opens it;
    // false when the program already has eight.
    bool addPeriod();

    Button* chartButton() const { return chart_; }
    Button* previousProgram() const { return left_; }
    Button* nextProgram() const { return right_; }
    Label* programPlate() const { return plate_; }
    MenuList* periods() const { return list_; }
    const std::vector<Button*>& periodButtons() const { return periodButtons_; }
    Button* addButton() const { return add_; }
    Button* okButton() const { return ok_; }
    Button* cancelButton() const { return cancel_; }

private:
    void onClick(Widget& sender);
    void openPeriod(int index, bool added);
    ScreenContext& ctx_;
    std::array<Program, kSchedulePrograms> programs_{};
    int index_ = 0;
    Button *chart_ = nullptr, *left_ = nullptr, *right_ = nullptr, *add_ = nullptr, *ok_ = nullptr, *cancel_ = nullptr;
    RepeatButton *scrollLeft_ = nullptr, *scrollRight_ = nullptr;
    Label* plate_ = nullptr;
    MenuList* list_ = nullptr;
    std::vector<Button*> periodButtons_;
};

// Edits one period of the program screen's copy; "ОК" puts it back,
// "УДАЛИТЬ\rПЕРИОД" takes it out, "ОТМЕНА" drops a period just added.
class PeriodScreen : public Screen {
public:
    PeriodScreen(AppFrame* frame, ScreenContext& ctx, ProgramScreen& owner, int index, bool added);
    const Period& period() const { return p_; }
    Button* beginDown() const { return beginDown_; }
    Button* beginUp() const { return beginUp_; }
    Button* endDown() const { return endDown_; }
    Button* endUp() const { return endUp_; }
    Label* beginPlate() const { return beginPlate_; }
    Label* endPlate() const { return endPlate_; }
    ToggleButton* pauseBox() const { return pause_; }
    ToggleButton* airBox() const { return air_; }
    ToggleButton* waterBox() const { return water_; }
    Button* airDown() const { return airDown_; }
    Button* airUp() const { return airUp_; }
    Button* waterDown() const { return waterDown_; }
    Button* waterUp() const { return waterUp_; }
    Label* airPlate() const { return airPlate_; }
    Label* waterPlate() const { return waterPlate_; }
    Button* okButton() const { return ok_; }
    Button* cancelButton() const { return cancel_; }
    Button* deleteButton() const { return delete_; }

private:
    void onClick(Widget& sender);
    void showValues(bool redraw);
    ScreenContext& ctx_;
    ProgramScreen& owner_;
    int index_;
    bool added_;
    Period p_;
    int32_t waterMin_ = 0, waterMax_ = 0;
    Button *beginDown_ = nullptr, *beginUp_ = nullptr, *endDown_ = nullptr, *endUp_ = nullptr;
    Button *airDown_ = nullptr, *airUp_ = nullptr, *waterDown_ = nullptr, *waterUp_ = nullptr;
    Label *beginPlate_ = nullptr, *endPlate_ = nullptr, *airPlate_ = nullptr, *waterPlate_ = nullptr;
    ToggleButton *pause_ = nullptr, *air_ = nullptr, *water_ = nullptr;
    Label *pauseLabel_ = nullptr, *airLabel_ = nullptr, *waterLabel_ = nullptr;
    Button *ok_ = nullptr, *cancel_ = nullptr, *delete_ = nullptr;
};

// The program's day as a chart: per hour the mode, the water target or the
// air target, chosen by the three tabs.
class ProgramChart : public Screen {
public:
    enum Tab { kMode = 0, kWater = 1, kAir = 2 };
    static constexpr Rect kPlot{54, 44, 318, 150};  // 24 columns of 11 pixels
    static constexpr int kHourWidth = 11;

    ProgramChart(AppFrame* frame, const Program& program, int32_t waterMax);
    TabButton* tab(int i) const { return tabs_[size_t(i)]; }
    int current() const { return tab_; }
    Button* backButton() const { return back_; }
    void paint(Painter& p) override;

private:
    void onClick(Widget& sender);
    Program program_;
    int32_t waterMax_;
    int tab_ = kMode;
    std::array<TabButton*, 3> tabs_{};
    Button* back_ = nullptr;
};

}  // namespace vesk
