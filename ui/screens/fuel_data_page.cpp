// FuelDataPage: counters from fuel accounting, the bunker size editor and
// the fill confirmation.
#include "ui/screens/data_page.h"

#include <algorithm>
#include <mutex>

#include "control/fuel_accounting.h"
#include "ui/toolkit/app_frame.h"

namespace vesk {

namespace {
constexpr int kRowPlate = 288;
constexpr Color kCaptionBlue = 0xC37C00;
}  // namespace

FuelDataPage::FuelDataPage(AppFrame* frame, ScreenContext& ctx) : Page(frame), ctx_(ctx) {
    auto heading = [&](int x, const char* text) {
        auto* l = adopt(this, new Label(this));
        l->setBounds(x, 40, 160, 15, 0, text);
        l->setFont(11, true);
        l->setTextFormat(kDtCenter | kDtVCenter);
    };
    heading(0, "РАСХОД ТОПЛИВА");
    heading(160, "БУНКЕР");

    struct Place {
        int x, y;
        const char* caption;
    };
    const Place places[7] = {{10, 55, "СУТКИ"},     {10, 81, "НЕДЕЛЯ"},   {10, 107, "МЕСЯЦ"}, {10, 133, "ВСЕГО"},
                             {10, 159, "СВОЙ"},     {165, 55, "ОСТАТОК"}, {165, 81, "ОБЪЁМ"}};
    for (size_t i = 0; i < rows_.size(); ++i) {
        auto* r = adopt(this, new ValueLabel(this));
        r->setBounds(places[i].x, places[i].y, 0, 0, kRowPlate, places[i].caption);
        r->setFont(11, true);
        r->setValueFont(11, true);
        rows_[i] = r;
    }

    auto handler = [this](Widget& s) { onButton(s); };
    up_ = adopt(this, new RepeatButton(this));
    up_->setBitmaps(260, 107, 210, 213);
    up_->setClickHandler(handler);
    down_ = adopt(this, new RepeatButton(this));
    down_->setBitmaps(260, 137, 212, 211);
    down_->setClickHandler(handler);
    fill_ = adopt(this, new Button(this));
    fill_->setBitmaps(165, 107, 290, 289);
    fill_->setFont(15, true);
    fill_->setTextColor(kCaptionBlue);
    fill_->setText("ЗАПОЛНЕН");
    fill_->setClickHandler(handler);
}

void FuelDataPage::show() {
    {
        ControllerState& s = ctx_.state();
        std::lock_guard<std::recursive_mutex> g(s.stateLock);
        volume_ = std::clamp<int>(s.usr.BUNK_SIZE, kBunkerSizeMin, kBunkerSizeMax);
    }
    Page::show();
    showFigures(false);
}

void FuelDataPage::refresh() { showFigures(true); }

void FuelDataPage::setRow(int r, const std::string& text, bool redraw) {
    ValueLabel* l = rows_[static_cast<size_t>(r)];
    if (l->valueText() != text) l->setValueText(text, redraw);
}

void FuelDataPage::showFigures(bool redraw) {
    FuelFigures f;
    if (FuelAccounting* fuel = ctx_.fuel()) f = fuel->figures();
    setRow(kDay, formatFuelMass(f.day), redraw);
    setRow(kWeek, formatFuelMass(f.week), redraw);
    setRow(kMonth, formatFuelMass(f.month), redraw);
    setRow(kTotal, formatFuelMass(f.total), redraw);
    setRow(kOwn, formatFuelMass(f.own), redraw);
    setRow(kRemaining, formatFuelPercent(f.percent), redraw);
    setRow(kVolume, formatFuelMass(static_cast<uint32_t>(volume_)), redraw);
}

void FuelDataPage::onButton(Widget& sender) {
    if (&sender == up_ || &sender == down_) {
        // A value at its limit stays, without a message.
        const int next = volume_ + (&sender == up_ ? 1 : -1);
        if (next < kBunkerSizeMin || next > kBunkerSizeMax) return;
        volume_ = next;
        setRow(kVolume, formatFuelMass(static_cast<uint32_t>(volume_)), true);
        return;
    }
    if (&sender == fill_) {
        FuelAccounting* fuel = ctx_.fuel();
        ControllerState& s = ctx_.state();
        {
            std::lock_guard<std::recursive_mutex> g(s.stateLock);
            if (fuel) {
                fuel->confirmFill(volume_, [this] { ctx_.saveUserSettings(); });
            } else if (s.usr.BUNK_SIZE != volume_) {
                s.usr.BUNK_SIZE = volume_;
                ctx_.saveUserSettings();
            }
        }
        showFigures(true);
    }
}

}  // namespace vesk
