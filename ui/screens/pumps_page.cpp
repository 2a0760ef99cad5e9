// PumpsPage: icons, valve indicators and readouts from the snapshot.
#include "ui/screens/pumps_page.h"

#include "ui/screens/home_rules.h"
#include "ui/toolkit/app_frame.h"
#include "ui/toolkit/resources.h"

namespace vesk {

namespace {

constexpr int kReadoutPlate = 201;
constexpr int kValveUnused = 204;
constexpr int kValveUsed = 205;
constexpr int kOutdoorPicture = 273;

struct ReadoutPlace {
    int x, y, sensor;
};
constexpr ReadoutPlace kReadouts[6] = {
    {54, 61, kSensorWater}, {54, 102, kSensorDhw},    {54, 143, kSensorReturn},
    {210, 183, kSensorValve1}, {210, 209, kSensorValve2}, {276, 196, kSensorValveAir},
};

}  // namespace

PumpsPage::PumpsPage(AppFrame* frame, const StateSnapshot& snapshot) : Page(frame), v_(snapshot) {
    const int pumpY[3] = {56, 97, 138};
    for (size_t i = 0; i < 3; ++i) {
        pumps_[i] = adopt(this, new PumpIcon(this));
        pumps_[i]->place(24, pumpY[i]);
    }
    for (size_t i = 0; i < 6; ++i) {
        auto* r = adopt(this, new SensorReadout(this));
        r->setBounds(kReadouts[i].x, kReadouts[i].y, 0, 0, kReadoutPlate, &snapshot.sensors[kReadouts[i].sensor]);
        r->setMode(1);
        r->setFont(14, true);
        // «100°C» and «-25°C» need all but two pixels of the plate's width.
        r->setMargins(2, 0, 2, 0);
        r->setTextFormat(kDtCenter | kDtVCenter);
        readouts_[i] = r;
    }
    auto label = [&](int x, int y, int bitmap, const char* text) {
        auto* l = adopt(this, new Label(this));
        l->setBounds(x, y, 0, 0, bitmap, text);
        l->setFont(11, true);
        return l;
    };
    label(103, 56, 195, "ЦЕНТРАЛЬНОE ОТОПЛЕНИE");
    label(103, 97, 197, "ГОРЯЧЕЕ ВОДОСНАБЖЕНИЕ");
    label(103, 138, 199, "РЕЦИРКУЛЯЦИЯ");
    label(103, 178, 275, "КЛАПАН №1");
    valve2Label_ = label(103, 204, 274, "КЛАПАН №2");
    const int valveY[2] = {183, 209};
    for (size_t i = 0; i < 2; ++i) {
        valves_[i] = adopt(this, new Picture(this));
        valves_[i]->setPicture(184, valveY[i], kValveUnused);
    }
    adopt(this, new Picture(this))->setPicture(254, 178, kOutdoorPicture);
    setMechanicalFeed(snapshot.svc().EMSTART_ENABLE != 0);
}

void PumpsPage::setValve(Picture* p, bool inUse) {
    const int want = inUse ? kValveUsed : kValveUnused;
    if (p->resource() == want) return;
    p->setPicture(p->rect().left, p->rect().top, want);
    p->repaint();
}

// With the auger-tube emergency start, sensor 9 watches the auger tube and
// valve 2 is not driven: the row shows the mechanical feed's temperature,
// and the label (wider than the gap before the indicator) hides the
// indicator it would otherwise overlap.
void PumpsPage::setMechanicalFeed(bool on) {
    mechanicalFeed_ = on;
    if (on) {
        valve2Label_->setBackground(0, false);
        valve2Label_->setBounds(103, 208, 90, 20, 0, "МЕХ.ПОДАЧИ");
    } else {
        valve2Label_->setBounds(103, 204, 0, 0, 274, "КЛАПАН №2");
    }
    valves_[1]->setVisible(!on, false);
}

void PumpsPage::refresh() {
    const UserParams& u = v_.usr();
    const bool emstart = v_.svc().EMSTART_ENABLE != 0;
    if (emstart != mechanicalFeed_) {
        setMechanicalFeed(emstart);
        invalidate();
    }

    pumps_[kHeating]->setState(heatingPumpState(v_));
    pumps_[kHotWater]->setState(dhwPumpState(v_));
    pumps_[kRecirculation]->setState(recirculationPumpState(v_));

    setValve(valves_[0], valveInUse(u.VLV1.MODE));
    if (valve2Board(v_.boardVersion) && !emstart) setValve(valves_[1], valveInUse(u.VLV2.MODE));

    const bool hydrosep = u.USE_HYDROSEP != 0;
    readouts_[kHeatingTemp]->bind(&v_.sensors[hydrosep ? kSensorCh : kSensorWater]);
    readouts_[kRecirculationTemp]->bind(&v_.sensors[hydrosep ? kSensorWater : kSensorReturn]);
    for (size_t i = 0; i < readouts_.size(); ++i) {
        SensorReadout* r = readouts_[i];
        r->setFirmware(v_.boardVersion);
        if (i == kValve2Temp && !(valve2Board(v_.boardVersion) || emstart)) continue;
        r->repaint();
    }
}

}  // namespace vesk
