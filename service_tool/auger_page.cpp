// AugerPage: per-fuel editing over an edit copy of the record.
#include "service_tool/auger_page.h"

#include <algorithm>

#include "settings/model_tables.h"
#include "ui/toolkit/spin_box.h"

namespace vesk {

namespace {
constexpr int kCaptionWidth = 166;
constexpr int kValueWidth = 54;
constexpr int kFuelCaptionWidth = 100;
constexpr int kFuelValueWidth = 120;
constexpr int kTop = 2;  // no heading: eight rows fill the page
}  // namespace

AugerPage::AugerPage(AppFrame* frame, ServiceRecord& record) : ServicePage(frame, record) {
    int y = kTop;
    auto row = [&](const char* caption) {
        auto* s = new SpinBox(this, 0, y, kCaptionWidth, kValueWidth, caption);
        s->setClickHandler([this](Widget& w) { onChange(w); });
        addChild(s);
        y += kRowPitch;
        return s;
    };
    fuel_ = new SpinBox(this, 0, y, kFuelCaptionWidth, kFuelValueWidth, "Выбор топлива");
    fuel_->setClickHandler([this](Widget& w) { onChange(w); });
    addChild(fuel_);
    y += kRowPitch;
    period_ = row("Период вкл шнека, с");
    period_->setRange(5, 3600);
    worm100_ = row("Время вкл. шнека, с");
    fan100_ = row("Вент. 100% мощ. %");
    fan100_->setRange(70, 90);
    fanMin_ = row("Вент. мин. мощн. %");
    wormCorrMax_ = row("Макс. корр. шнека");
    wormCorrMax_->setRange(0, 50);
    blowup_ = row("t раздува, минут");
    blowup_->setRange(0, 30);
    powerMin_ = row("Мин. мощность, %");
    powerMin_->setRange(10, 30);
}

void AugerPage::load() {
    edit_ = svc();
    const std::vector<std::string_view> names = fuelNames(edit_.BOILER_TYPE, edit_.POWER);
    // A stored on-time above its period's bound is lowered to it.
    for (size_t i = 0; i < names.size(); ++i)
        edit_.WORM100[i] = std::min(edit_.WORM100[i], worm100Bound(edit_.WORM_PERIOD[i]));
    shownFuel_ = std::clamp(shownFuel_, 0, static_cast<int>(names.size()) - 1);
    fuel_->setRange(0, static_cast<int>(names.size()) - 1);
    fuel_->setFormat([names](int i) { return std::string(names.at(static_cast<size_t>(i))); });
    fan100_->setValue(edit_.FAN100, false);
    wormCorrMax_->setValue(edit_.WORM_CORR_MAX, false);
    powerMin_->setValue(edit_.POWER_MIN, false);
    showFuel(false);
}

void AugerPage::showFuel(bool redraw) {
    const size_t f = static_cast<size_t>(shownFuel_);
    fuel_->setValue(shownFuel_, redraw);
    period_->setValue(edit_.WORM_PERIOD[f], redraw);
    worm100_->setRange(1, worm100Bound(edit_.WORM_PERIOD[f]));
    worm100_->setValue(edit_.WORM100[f], redraw);
    fanMin_->setValue(edit_.FAN_MIN[f], redraw);
    boundFanMin(redraw);
    blowup_->setValue(edit_.BLOWUP_TIME[f], redraw);
}

void AugerPage::keepFuel() {
    const size_t f = static_cast<size_t>(shownFuel_);
    edit_.WORM_PERIOD[f] = period_->value();
    edit_.WORM100[f] = worm100_->value();
    edit_.FAN_MIN[f] = fanMin_->value();
    edit_.BLOWUP_TIME[f] = blowup_->value();
    edit_.FAN100 = fan100_->value();
    edit_.WORM_CORR_MAX = wormCorrMax_->value();
    edit_.POWER_MIN = powerMin_->value();
}

void AugerPage::boundWorm100(bool redraw) {
    const int32_t bound = worm100Bound(period_->value());
    worm100_->setRange(1, bound);
    if (worm100_->value() > bound) worm100_->setValue(bound, redraw);
}

void AugerPage::boundFanMin(bool redraw) {
    const int32_t bound = fanMinBound(edit_, shownFuel_);
    // A model value below the file's lower limit pins the field to it.
    fanMin_->setRange(std::min(10, bound), bound);
    if (fanMin_->value() > bound) fanMin_->setValue(bound, redraw);
}

void AugerPage::onChange(Widget& sender) {
    if (&sender == fuel_) {
        // The field shows the new fuel already; keep the old one's values.
        const int next = fuel_->value();
        keepFuel();
        shownFuel_ = next;
        showFuel(true);
        return;
    }
    if (&sender == period_) boundWorm100(true);
    if (&sender == fan100_) {
        edit_.FAN100 = fan100_->value();
        boundFanMin(true);
    }
}

void AugerPage::apply() {
    keepFuel();
    ServiceParams& p = svc();
    std::copy(std::begin(edit_.WORM_PERIOD), std::end(edit_.WORM_PERIOD), p.WORM_PERIOD);
    std::copy(std::begin(edit_.WORM100), std::end(edit_.WORM100), p.WORM100);
    std::copy(std::begin(edit_.FAN_MIN), std::end(edit_.FAN_MIN), p.FAN_MIN);
    std::copy(std::begin(edit_.BLOWUP_TIME), std::end(edit_.BLOWUP_TIME), p.BLOWUP_TIME);
    p.FAN100 = edit_.FAN100;
    p.WORM_CORR_MAX = edit_.WORM_CORR_MAX;
    p.POWER_MIN = edit_.POWER_MIN;
}

}  // namespace vesk
