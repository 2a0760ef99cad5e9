// "НАСОСЫ": the three pumps with their temperatures, the two mixing
// valves and the valves' outdoor sensor.
#pragma once
#include <array>

#include "ui/screens/page.h"
#include "ui/screens/picture.h"
#include "ui/screens/pump_icon.h"
#include "ui/screens/state_snapshot.h"
#include "ui/toolkit/label.h"
#include "ui/toolkit/sensor_readout.h"

namespace vesk {

class PumpsPage : public Page {
public:
    enum Row { kHeating, kHotWater, kRecirculation };
    enum Readout { kHeatingTemp, kHotWaterTemp, kRecirculationTemp, kValve1Temp, kValve2Temp, kOutdoorTemp };

    PumpsPage(AppFrame* frame, const StateSnapshot& snapshot);

    void refresh() override;

    PumpIcon* pump(int row) const { return pumps_[static_cast<size_t>(row)]; }
    Picture* valveIndicator(int valve) const { return valves_[static_cast<size_t>(valve)]; }
    SensorReadout* readout(int which) const { return readouts_[static_cast<size_t>(which)]; }
    Label* valve2Label() const { return valve2Label_; }

private:
    void setValve(Picture* p, bool inUse);
    void setMechanicalFeed(bool on);

    const StateSnapshot& v_;
    std::array<PumpIcon*, 3> pumps_{};
    std::array<Picture*, 2> valves_{};
    std::array<SensorReadout*, 6> readouts_{};
    Label* valve2Label_ = nullptr;
    bool mechanicalFeed_ = false;
};

}  // namespace vesk
