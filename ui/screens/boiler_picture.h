// The animated boiler: fan, auger, fire and smoke over the boiler picture,
// the flue-gas readout and the blinking bunker label. Shared by the boiler
// page and the manual ignition screen.
#pragma once
#include "ui/screens/state_snapshot.h"
#include "ui/toolkit/animation.h"
#include "ui/toolkit/label.h"
#include "ui/toolkit/sensor_readout.h"

namespace vesk {

constexpr int kBunkerBlinkMs = 300;

class BoilerPicture : public Widget {
public:
    // `snapshot` is what the readout shows; it outlives the picture.
    BoilerPicture(Widget* parent, int x, int y, const StateSnapshot& snapshot);

    // Animations, fire and smoke, bunker label and readout colour from
    // the snapshot, in that order.
    void update();

    Animation* fan() const { return fan_; }
    Animation* auger() const { return auger_; }
    Animation* fire() const { return fire_; }
    Animation* smoke() const { return smoke_; }
    SensorReadout* flueGas() const { return flueGas_; }
    Label* bunkerLabel() const { return bunker_; }
    bool bunkerBlinking() const { return blinking_; }

    void timerTick() override;
    void hide() override;
    ~BoilerPicture() override;

private:
    void showFlame(Animation* a, bool on);
    void setBlink(bool on);

    const StateSnapshot& v_;
    Animation* fan_ = nullptr;
    Animation* auger_ = nullptr;
    Animation* fire_ = nullptr;
    Animation* smoke_ = nullptr;
    SensorReadout* flueGas_ = nullptr;
    Label* bunker_ = nullptr;
    bool blinking_ = false;
};

}  // namespace vesk
