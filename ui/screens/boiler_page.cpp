// BoilerPage: built once, refreshed in the designed order.
#include "ui/screens/boiler_page.h"

#include <mutex>

#include "ui/toolkit/app_frame.h"

namespace vesk {

namespace {
constexpr int kFuelCoal = 291;
constexpr int kFuelPellets = 292;
constexpr int kNetIcons[3] = {kNetIconOffline, kNetIconLocal, kNetIconRemote};
}  // namespace

BoilerPage::BoilerPage(AppFrame* frame, ScreenContext& ctx, const StateSnapshot& snapshot)
    : Page(frame), ctx_(ctx), v_(snapshot) {
    fuel_[0] = adopt(this, new Picture(this));
    fuel_[0]->setPicture(171, 165, kFuelCoal);
    fuel_[1] = adopt(this, new Picture(this));
    fuel_[1]->setPicture(171, 165, kFuelPellets);
    for (size_t i = 0; i < 3; ++i) {
        net_[i] = adopt(this, new Picture(this));
        net_[i]->setPicture(102, 215, kNetIcons[i]);
        net_[i]->setVisible(false, false);
    }
    signal_ = adopt(this, new SignalIndicator(this));
    signal_->place(98, 190);
    signal_->setVisible(false, false);
    signal_->setFlashDone([&s = ctx.state()] {
        std::lock_guard<std::recursive_mutex> g(s.stateLock);
        s.expansionEvent = 0;
    });
    boiler_ = adopt(this, new BoilerPicture(this, 132, 44, snapshot));
    panel_ = adopt(this, new TemperaturePanel(this));
    panel_->place(7, 45);
}

void BoilerPage::show() {
    Page::show();
    const bool coal = coalFuel(v_.usr().FUEL);
    fuel_[0]->setVisible(coal, false);
    fuel_[1]->setVisible(!coal, false);
    setNetworkIcons(false);
    frame_->startTimer(this, kNetworkPollMs);
}

void BoilerPage::hide() {
    Page::hide();
    frame_->stopTimer(this);
}

void BoilerPage::timerTick() { setNetworkIcons(true); }

void BoilerPage::refresh() {
    panel_->update(v_);
    boiler_->update();
    signal_->update(v_.expansionConnected != 0, v_.expansionSignal, v_.expansionEvent != 0);
}

int BoilerPage::networkIconShown() const {
    for (const Picture* p : net_)
        if (p->visible()) return p->resource();
    return kNetIconNone;
}

void BoilerPage::setNetworkIcons(bool redraw) {
    NoNetwork none;
    NetworkIndicators& n = ctx_.network ? *ctx_.network : none;
    const int icon = networkIcon(n.network());
    // Hide first: the icons share one place.
    for (Picture* p : net_)
        if (p->resource() != icon) p->setVisible(false, redraw);
    for (Picture* p : net_)
        if (p->resource() == icon) p->setVisible(true, redraw);
}

}  // namespace vesk
