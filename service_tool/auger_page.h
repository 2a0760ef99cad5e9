// Auger and fan per fuel: the fuel list of the model and power, and the
// auger period and on-time, fan and blow-up values of the chosen fuel. The
// on-time follows its period; the fan minimum follows the 100 % fan power
// and the model's value for the power.
#pragma once
#include "service_tool/service_page.h"

namespace vesk {

class SpinBox;

class AugerPage : public ServicePage {
public:
    AugerPage(AppFrame* frame, ServiceRecord& record);

    void load() override;
    void apply() override;

    SpinBox* fuel() const { return fuel_; }
    SpinBox* period() const { return period_; }
    SpinBox* worm100() const { return worm100_; }
    SpinBox* fan100() const { return fan100_; }
    SpinBox* fanMin() const { return fanMin_; }
    SpinBox* wormCorrMax() const { return wormCorrMax_; }
    SpinBox* blowup() const { return blowup_; }
    SpinBox* powerMin() const { return powerMin_; }

private:
    void showFuel(bool redraw);
    void keepFuel();
    void onChange(Widget& sender);
    void boundWorm100(bool redraw);
    void boundFanMin(bool redraw);

    SpinBox* fuel_;
    SpinBox* period_;
    SpinBox* worm100_;
    SpinBox* fan100_;
    SpinBox* fanMin_;
    SpinBox* wormCorrMax_;
    SpinBox* blowup_;
    SpinBox* powerMin_;
    // Edit copies of the per-fuel arrays; applied when the page is left.
    ServiceParams edit_;
    int shownFuel_ = 0;  // the fuel stays chosen between visits
};

}  // namespace vesk
