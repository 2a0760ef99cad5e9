// The program's day drawn hour by hour under three tabs: "РЕЖИМ" (a work
// row and a pause row), "t ВОДЫ" and "t ВОЗДУХА" (bars of the target, the
// value written over each period).
#include <algorithm>
#include <string>

#include "ui/screens/screen_parts.h"
#include "ui/screens/thermostat/thermostat_screens.h"

namespace vesk {

namespace {

constexpr int kTabNormal = 267, kTabPressed = 266;
constexpr int kHours = 24;
constexpr int kAirScale = 35;
constexpr Color kWorkColor = rgb(40, 150, 60);
constexpr Color kPauseColor = rgb(230, 140, 20);
constexpr Color kBarColor = rgb(30, 90, 190);
constexpr Rect kWorkRow{ProgramChart::kPlot.left, 56, ProgramChart::kPlot.right, 86};
constexpr Rect kPauseRow{ProgramChart::kPlot.left, 106, ProgramChart::kPlot.right, 136};

// The period that covers `hour`, the first in order as the schedule takes it.
const Period* periodAt(const Program& p, int hour) {
    for (int i = 0; i < p.count; ++i)
        if (p.periods[i].begin <= hour && hour < p.periods[i].end) return &p.periods[i];
    return nullptr;
}

Rect hourColumn(int hour, int top, int bottom) {
    const int x = ProgramChart::kPlot.left + hour * ProgramChart::kHourWidth;
    return {x + 1, top, x + ProgramChart::kHourWidth - 1, bottom};
}

}  // namespace

ProgramChart::ProgramChart(AppFrame* frame, const Program& program, int32_t waterMax)
    : Screen(frame), program_(program), waterMax_(waterMax) {
    setBackground(kEditorBackground, false);
    auto on = [this](Widget& w) { onClick(w); };
    const char* names[3] = {"РЕЖИМ", "t ВОДЫ", "t ВОЗДУХА"};
    for (int i = 0; i < 3; ++i) {
        auto* t = new TabButton(this);
        t->setBitmaps(107 * i, 0, kTabNormal, kTabPressed);
        t->setText(names[i]);
        t->setClickHandler(on);
        t->setPressed(i == tab_, false);
        addChild(t);
        tabs_[size_t(i)] = t;
    }
    back_ = addWideButton(this, 113, 187, "НАЗАД", on);
}

void ProgramChart::onClick(Widget& sender) {
    if (&sender == back_) {
        closeScreen(this);
        return;
    }
    for (int i = 0; i < 3; ++i) {
        if (&sender != tabs_[size_t(i)]) continue;
        tab_ = i;
        for (int j = 0; j < 3; ++j)
            if (j != i) tabs_[size_t(j)]->setPressed(false, true);
        invalidate();
    }
}

void ProgramChart::paint(Painter& p) {
    Screen::paint(p);
    const Font small{10, true};
    const Rect plot = kPlot;
    if (tab_ == kMode) {
        p.drawText("Работа", {0, kWorkRow.top, plot.left - 2, kWorkRow.bottom}, small, kBlack, kDtRight | kDtVCenter);
        p.drawText("Пауза", {0, kPauseRow.top, plot.left - 2, kPauseRow.bottom}, small, kBlack, kDtRight | kDtVCenter);
        for (int h = 0; h < kHours; ++h) {
            const Period* q = periodAt(program_, h);
            if (!q) continue;
            const Rect& row = q->pause ? kPauseRow : kWorkRow;
            p.fillRect(hourColumn(h, row.top, row.bottom), q->pause ? kPauseColor : kWorkColor);
        }
    } else {
        const bool water = tab_ == kWater;
        const int scale = water ? std::max(1, int(waterMax_)) : kAirScale;
        p.drawText(std::to_string(scale) + "°C", {0, plot.top - 6, plot.left - 2, plot.top + 8}, small, kBlack,
                   kDtRight | kDtVCenter);
        p.drawText("0°C", {0, plot.bottom - 8, plot.left - 2, plot.bottom + 6}, small, kBlack, kDtRight | kDtVCenter);
        int runStart = 0;
        for (int h = 0; h <= kHours; ++h) {
            const Period* q = h < kHours ? periodAt(program_, h) : nullptr;
            const bool has = q && (water ? q->useWater : q->useAir);
            const int value = has ? (water ? q->waterTarget : q->airTarget) : -1;
            const Period* prev = h > 0 ? periodAt(program_, h - 1) : nullptr;
            // The value is written once over each period's run of bars.
            if (h > 0 && (q != prev || h == kHours)) {
                const bool prevHas = prev && (water ? prev->useWater : prev->useAir);
                if (prevHas) {
                    const int v = water ? prev->waterTarget : prev->airTarget;
                    const int barTop = plot.bottom - (plot.height() * std::min(v, scale)) / scale;
                    const Rect above = hourColumn(runStart, barTop - 14, barTop - 1);
                    const Rect label{above.left - 4, above.top, hourColumn(h - 1, 0, 0).right + 4, above.bottom};
                    p.drawText(std::to_string(v), label, small, kBlack, kDtCenter | kDtVCenter);
                }
                runStart = h;
            }
            if (h == kHours || !has) continue;
            const int barTop = plot.bottom - (plot.height() * std::min(value, scale)) / scale;
            p.fillRect(hourColumn(h, barTop, plot.bottom), kBarColor);
        }
    }
    // The hour axis: a mark per hour, a number every three.
    p.fillRect({plot.left, plot.bottom, plot.right, plot.bottom + 1}, kBlack);
    for (int h = 0; h <= kHours; ++h) {
        const int x = plot.left + h * kHourWidth;
        p.fillRect({x, plot.bottom, x + 1, plot.bottom + (h % 3 ? 3 : 5)}, kBlack);
        if (h % 3 == 0)
            p.drawText(std::to_string(h), {x - 10, plot.bottom + 5, std::min(x + 11, 320), plot.bottom + 17}, small,
                       kBlack, (h == kHours ? kDtRight : kDtCenter) | kDtVCenter);
    }
    p.drawText("Время,ч", {0, plot.bottom + 17, 320, plot.bottom + 32}, small, kBlack, kDtCenter | kDtVCenter);
}

}  // namespace vesk
