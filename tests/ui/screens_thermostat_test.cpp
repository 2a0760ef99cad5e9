// The thermostat screens through the real AppFrame: a program assigned to
// a weekday reaches tmstat.cfg, the period hours keep their bounds, the
// ninth period is refused, an overlapping program is reported by its
// number and nothing stored, and the chart draws a known program.
#include "menu_fixture.h"
#include "ui/screens/thermostat/thermostat_screens.h"
#include "ui/toolkit/message_box.h"

namespace vesk::test {
namespace {

class Thermostat : public BothMenus {
protected:
    ThermostatScreen* openThermostat() {
        choose(openMenu(), "ТЕРМОСТАТ");
        return topAs<ThermostatScreen>();
    }
    ProgramScreen* openPrograms() {
        ThermostatScreen* t = openThermostat();
        if (!t) return nullptr;
        tapWidget(t->programsButton());
        return topAs<ProgramScreen>();
    }
    std::string tmstat() const {
        const std::string p = dir.file("tmstat.cfg");
        return std::filesystem::exists(p) ? readText(p) : std::string();
    }
    void setProgram(int index, std::vector<Period> periods) {
        std::lock_guard<std::mutex> g(schedule.scheduleLock);
        Program& p = schedule.schedule.programs[index];
        p = Program{};
        for (const Period& q : periods) p.periods[p.count++] = q;
    }
    static Period period(int begin, int end, int pause = 0, int water = 70) {
        Period p;
        p.begin = begin;
        p.end = end;
        p.pause = pause;
        p.useWater = 1;
        p.waterTarget = water;
        p.airTarget = 21;
        return p;
    }
};

TEST_P(Thermostat, EnableFlagAndWeekdayProgramReachTheFile) {
    ThermostatScreen* t = openThermostat();
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->checkBox()->rect().left, 39);
    EXPECT_EQ(t->programsButton()->rect().top, 128);
    tapWidget(t->weekdaysButton());
    auto* w = topAs<WeekdayScreen>();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->dayPlate()->text(), "ПН");
    tapWidget(w->dayLeft());  // wraps to Sunday
    EXPECT_EQ(w->dayPlate()->text(), "ВС");
    tapWidget(w->programRight());  // none -> 1
    tapWidget(w->programRight());  // -> 2
    EXPECT_EQ(w->programPlate()->text(), "2");
    EXPECT_EQ(w->dayProgram(6)->text(), "2") << "the column follows";
    tapWidget(w->dayButton(2));
    EXPECT_EQ(w->day(), 2);
    tapWidget(w->programLeft());  // none -> 4
    tapWidget(w->okButton());
    ASSERT_EQ(top(), t);
    EXPECT_NE(tmstat().find("\tSUN=1\n"), std::string::npos) << tmstat();
    EXPECT_NE(tmstat().find("\tWED=3\n"), std::string::npos);
    EXPECT_EQ(schedule.schedule.dayProgram[6], 1);

    tapWidget(t->checkLabel());
    tapWidget(t->okButton());
    EXPECT_EQ(schedule.schedule.enabled, 1);
    EXPECT_NE(tmstat().find("\tENABLE=1\n"), std::string::npos);
}

TEST_P(Thermostat, PeriodHoursKeepTheirBoundsAndTheNinthIsRefused) {
    ProgramScreen* p = openPrograms();
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->programPlate()->text(), "1");
    tapWidget(p->addButton());
    auto* e = topAs<PeriodScreen>();
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->beginPlate()->text(), "00-00");
    EXPECT_EQ(e->endPlate()->text(), "01-00");
    tapWidget(e->beginUp());
    EXPECT_EQ(e->period().begin, 0) << "begin stays below the end";
    tapWidget(e->endDown());
    EXPECT_EQ(e->period().end, 1) << "end stays after the begin";
    for (int i = 0; i < 30; ++i) tapWidget(e->endUp());
    EXPECT_EQ(e->endPlate()->text(), "24-00") << "end at most 24";
    for (int i = 0; i < 30; ++i) tapWidget(e->beginUp());
    EXPECT_EQ(e->period().begin, 23);
    for (int i = 0; i < 40; ++i) tapWidget(e->airUp());
    EXPECT_EQ(e->airPlate()->text(), "35°C");
    tapWidget(e->okButton());
    ASSERT_EQ(top(), p);
    ASSERT_EQ(p->periodButtons().size(), 1u);
    EXPECT_EQ(p->periodButtons()[0]->text(), "23:00\r24:00");

    // Seven more fit; the ninth is refused and opens nothing.
    for (int i = 0; i < 7; ++i) {
        tapWidget(p->addButton());
        tapWidget(topAs<PeriodScreen>()->okButton());
    }
    EXPECT_EQ(p->edited().count, 8);
    tapWidget(p->addButton());
    EXPECT_EQ(top(), p);
    EXPECT_EQ(p->edited().count, 8);

    // A period added and cancelled leaves nothing behind.
    tapWidget(p->periodButtons()[0]);
    tapWidget(topAs<PeriodScreen>()->deleteButton());
    EXPECT_EQ(p->edited().count, 7);
    tapWidget(p->addButton());
    tapWidget(topAs<PeriodScreen>()->cancelButton());
    EXPECT_EQ(p->edited().count, 7);
}

TEST_P(Thermostat, OverlappingProgramIsReportedWithItsNumber) {
    setProgram(2, {period(8, 12)});
    ProgramScreen* p = openPrograms();
    ASSERT_NE(p, nullptr);
    tapWidget(p->nextProgram());
    tapWidget(p->nextProgram());
    EXPECT_EQ(p->programPlate()->text(), "3");
    ASSERT_EQ(p->periodButtons().size(), 1u);
    tapWidget(p->addButton());  // 12..13
    auto* e = topAs<PeriodScreen>();
    tapWidget(e->beginDown());  // 11..13 overlaps 8..12
    tapWidget(e->okButton());
    const std::string before = tmstat();
    tapWidget(p->okButton());
    auto* box = dynamic_cast<MessageBox*>(top());
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->textLabel()->text(),
              "Некоторые периоды программы 3 настроены неверно. Проверьте правильность установки времени периодов");
    tapWidget(box->okButton());
    EXPECT_EQ(top(), p);
    EXPECT_EQ(tmstat(), before) << "nothing stored";
    EXPECT_EQ(schedule.schedule.programs[2].count, 1);

    tapWidget(p->periodButtons()[1]);
    tapWidget(topAs<PeriodScreen>()->beginUp());  // 12..13
    tapWidget(topAs<PeriodScreen>()->okButton());
    tapWidget(p->okButton());
    EXPECT_NE(top(), p);
    EXPECT_EQ(schedule.schedule.programs[2].count, 2);
    EXPECT_NE(tmstat().find("\t\t\tTIME_BEGIN=12\n"), std::string::npos);
}

TEST_P(Thermostat, ChartDrawsTheKnownProgram) {
    // 6..22 heating at 70, 22..24 a pause.
    setProgram(0, {period(6, 22, 0, 70), period(22, 24, 1, 50)});
    ProgramScreen* p = openPrograms();
    ASSERT_NE(p, nullptr);
    tapWidget(p->chartButton());
    auto* c = topAs<ProgramChart>();
    ASSERT_NE(c, nullptr);
    const Rect plot = ProgramChart::kPlot;
    auto column = [&](int hour, int top, int bottom) {
        const int x = plot.left + hour * ProgramChart::kHourWidth;
        return Rect{x + 1, top, x + ProgramChart::kHourWidth - 1, bottom};
    };
    const uint32_t work = toPixel(rgb(40, 150, 60)), pause = toPixel(rgb(230, 140, 20)), bar = toPixel(rgb(30, 90, 190));
    EXPECT_EQ(count(column(3, 56, 86), work), 0) << "no period at 3 o'clock";
    EXPECT_GT(count(column(6, 56, 86), work), 200) << "work from 6";
    EXPECT_GT(count(column(21, 56, 86), work), 200);
    EXPECT_EQ(count(column(22, 56, 86), work), 0);
    EXPECT_GT(count(column(23, 106, 136), pause), 200) << "pause from 22";

    tapWidget(c->tab(ProgramChart::kWater));
    EXPECT_EQ(c->current(), ProgramChart::kWater);
    EXPECT_FALSE(c->tab(ProgramChart::kMode)->pressed());
    // Bars of 70 on the scale of the water maximum; the pause's 50 lower.
    const int scale = state.usr.TWAT_UST_LIMIT_MAX;
    const int top70 = plot.bottom - plot.height() * 70 / scale, top50 = plot.bottom - plot.height() * 50 / scale;
    EXPECT_EQ(px(plot.left + 10 * ProgramChart::kHourWidth + 5, top70 + 1), bar);
    EXPECT_NE(px(plot.left + 10 * ProgramChart::kHourWidth + 5, top70 - 2), bar);
    EXPECT_EQ(px(plot.left + 23 * ProgramChart::kHourWidth + 5, top50 + 1), bar);
    EXPECT_NE(px(plot.left + 23 * ProgramChart::kHourWidth + 5, top70 + 1), bar);
    EXPECT_EQ(count(column(2, plot.top, plot.bottom), bar), 0);
    tapWidget(c->backButton());
    EXPECT_EQ(top(), p);
}

INSTANTIATE_TEST_SUITE_P(Variants, Thermostat, ::testing::Values(Variant::Orvena, Variant::Kestralo), variantName);

}  // namespace
}  // namespace vesk::test
