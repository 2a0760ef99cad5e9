// BoilerPicture: children placed per variant, driven by update().
#include "ui/screens/boiler_picture.h"

#include "ui/screens/home_rules.h"
#include "ui/screens/page.h"
#include "ui/screens/picture.h"
#include "ui/toolkit/app_frame.h"

namespace vesk {

namespace {

constexpr int kBoilerPicture = 226;
constexpr int kFlueGasPlate = 217;
constexpr Color kBunkerTextColor = 200;

struct Layout {
    Point fan, auger, flame, flueGas;
    Rect bunker;
    int augerMode;
    const char* bunkerText;
};

constexpr Layout kOrvena{{87, 114}, {60, 137}, {20, 83}, {25, 67}, {103, 25, 177, 55}, kAnimOpaque, "БУНКЕР ПУСТ!"};
constexpr Layout kKestralo{{78, 151}, {76, 131}, {15, 80}, {13, 48}, {85, 30, 160, 60}, kAnimKeyed, "БУНКЕР ОТКРЫТ!"};

}  // namespace

BoilerPicture::BoilerPicture(Widget* parent, int x, int y, const StateSnapshot& snapshot)
    : Widget(parent->frame(), x, y, 0, 0), v_(snapshot) {
    setBackground(kBoilerPicture, true);
    resize(background_.width(), background_.height());
    const bool kestralo = isKestralo(snapshot.variant);
    const Layout& l = kestralo ? kKestralo : kOrvena;

    fan_ = adopt(this, new Animation(this));
    fan_->load("fan.mbm", l.fan.x, l.fan.y, kAnimKeyed);
    auger_ = adopt(this, new Animation(this));
    auger_->load(std::string(variantInfo(snapshot.variant).augerAnimation), l.auger.x, l.auger.y, l.augerMode);
    fire_ = adopt(this, new Animation(this));
    fire_->load("fire.mbm", l.flame.x, l.flame.y, kAnimOpaque);
    fire_->setVisible(false, false);
    smoke_ = adopt(this, new Animation(this));
    smoke_->load("smoke.mbm", l.flame.x, l.flame.y, kAnimOpaque);
    smoke_->setVisible(false, false);

    flueGas_ = adopt(this, new SensorReadout(this));
    flueGas_->setBounds(l.flueGas.x, l.flueGas.y, 0, 0, kFlueGasPlate, &snapshot.sensors[kSensorGas]);
    flueGas_->setMode(1);
    flueGas_->setFont(12, true);
    flueGas_->setTextFormat(kDtCenter | kDtVCenter);
    flueGas_->setTextColor(flueGasColor(snapshot.sensors[kSensorGas]));

    bunker_ = adopt(this, new Label(this));
    bunker_->setBounds(l.bunker.left, l.bunker.top, l.bunker.width(), l.bunker.height(), 0, l.bunkerText);
    bunker_->setFont(14, true);
    bunker_->setTextColor(kBunkerTextColor);
    bunker_->setTextFormat(kDtCenter | kDtWordBreak);
    bunker_->setVisible(false, false);
}

BoilerPicture::~BoilerPicture() { deleteAllChildren(); }

void BoilerPicture::showFlame(Animation* a, bool on) {
    if (on) {
        a->setVisible(true, true);
        a->start();
    } else {
        a->stop();
        a->setVisible(false, true);
    }
}

void BoilerPicture::setBlink(bool on) {
    if (on == blinking_) return;
    blinking_ = on;
    if (on) {
        frame_->startTimer(this, kBunkerBlinkMs);
    } else {
        frame_->stopTimer(this);
        bunker_->setVisible(false, true);
    }
}

void BoilerPicture::update() {
    if (augerAnimates(v_))
        auger_->start();
    else
        auger_->stop();
    if (fanAnimates(v_))
        fan_->start();
    else
        fan_->stop();

    // Hide before show: both share one rectangle.
    const FlameChoice f = flameChoice(v_);
    if (f.fire == Show::Off) showFlame(fire_, false);
    if (f.smoke == Show::Off) showFlame(smoke_, false);
    if (f.fire == Show::On) showFlame(fire_, true);
    if (f.smoke == Show::On) showFlame(smoke_, true);

    setBlink(bunkerAlarm(v_));

    flueGas_->setTextColor(flueGasColor(v_.sensors[kSensorGas]));
    if (flueGas_->visible() && parent_) flueGas_->repaint();
}

void BoilerPicture::timerTick() { bunker_->setVisible(!bunker_->visible(), true); }

void BoilerPicture::hide() {
    Widget::hide();
    if (blinking_) {
        frame_->stopTimer(this);
        blinking_ = false;
    }
}

}  // namespace vesk
