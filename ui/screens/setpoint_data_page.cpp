// SetpointDataPage: re-read and repainted once a second while shown.
#include "ui/screens/data_page.h"

#include <cstdio>
#include <mutex>

#include "ui/screens/home_rules.h"
#include "ui/toolkit/app_frame.h"

namespace vesk {

namespace {
constexpr int kValuePlate = 201;
}

SetpointDataPage::SetpointDataPage(AppFrame* frame, ScreenContext& ctx) : Page(frame), ctx_(ctx) {
    adopt(this, new Picture(this))->setPicture(24, 49, 216);
    power_ = adopt(this, new Label(this));
    power_->setBounds(54, 53, 0, 0, kValuePlate, {});
    power_->setFont(14, true);
    // "100%" needs the whole plate.
    power_->setMargins(0, 0, 0, 0);
    power_->setTextFormat(kDtCenter | kDtVCenter);

    auto caption = [&](int y, int plate, const char* text) {
        auto* l = adopt(this, new Label(this));
        l->setBounds(103, y, 0, 0, plate, text);
        l->setFont(11, true);
        return l;
    };
    caption(48, 195, "УСТАНОВЛЕННАЯ МОЩНОСТЬ");

    auto setpoint = [&](int pictureY, int y, const int* value) {
        adopt(this, new Picture(this))->setPicture(24, pictureY, pictureY == 75 ? 214 : 215);
        auto* r = adopt(this, new SensorReadout(this));
        r->setBounds(54, y, 0, 0, kValuePlate, value);
        r->setMode(1);
        r->setFont(14, true);
        return r;
    };
    water_ = setpoint(75, 79, &twat_);
    caption(74, 196, "ЗАДАННАЯ Т ТЕПЛОНОСИТЕЛЯ");
    room_ = setpoint(101, 105, &tair_);
    caption(100, 197, "ЗАДАННАЯ Т ПОМЕЩЕНИЯ");

    heat_ = adopt(this, new Label(this));
    heat_->setBounds(22, 126, 0, 0, 209, {});
    heat_->setFont(11, true);
    burn_ = adopt(this, new Label(this));
    burn_->setBounds(22, 152, 0, 0, 207, {});
    burn_->setFont(11, true);
    reread(false);
}

void SetpointDataPage::reread(bool redraw) {
    const StateSnapshot v = takeSnapshot(ctx_.state());
    twat_ = v.usr().TWAT_UST;
    tair_ = v.usr().TAIR_UST;
    char buf[16];
    std::snprintf(buf, sizeof buf, "%d%%", static_cast<int>(v.usr().POW_UST));
    power_->setText(buf);
    heat_->setText(heatModeText(v.usr().HEAT_MODE));
    burn_->setText(vesk::burnModeLine(v));
    if (!redraw) return;
    for (Widget* w : {static_cast<Widget*>(power_), static_cast<Widget*>(water_), static_cast<Widget*>(room_),
                      static_cast<Widget*>(heat_), static_cast<Widget*>(burn_)})
        w->repaint();
}

void SetpointDataPage::show() {
    reread(false);
    Page::show();
    frame_->startTimer(this, kSetpointPageMs);
}

void SetpointDataPage::hide() {
    Page::hide();
    frame_->stopTimer(this);
}

void SetpointDataPage::timerTick() { reread(true); }

}  // namespace vesk
