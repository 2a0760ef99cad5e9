// PidPage: an edit copy of the four sets.
#include "service_tool/pid_page.h"

#include "ui/toolkit/spin_box.h"

namespace vesk {

namespace {

using P = ServiceParams;
// Sets in the order of the choice: water, air, flue gas, semi-automatic.
constexpr int32_t P::*kSets[4][3] = {
    {&P::WPID_KP, &P::WPID_KI, &P::WPID_KD},
    {&P::APID_KP, &P::APID_KI, &P::APID_KD},
    {&P::GPID_KP, &P::GPID_KI, &P::GPID_KD},
    {&P::SA_WPID_KP, &P::SA_WPID_KI, &P::SA_WPID_KD},
};
constexpr const char* kSetNames[4] = {"Вода", "Воздух", "Газы", "Полуавтомат"};
constexpr const char* kCoefficients[3] = {"Пропорциональный", "Интегральный", "Дифференциальный"};

}  // namespace

PidPage::PidPage(AppFrame* frame, ServiceRecord& record)
    : ServicePage(frame, record), sets_(this, kTabLook, [this](int i) { chooseSet(i); }) {
    addHeading("Коэфф. PID");
    for (int i = 0; i < 4; ++i) sets_.add(80 * i, 24, kSetNames[i]);
    for (int i = 0; i < 3; ++i) {
        spins_[size_t(i)] = new SpinBox(this, 0, 64 + kRowPitch * i, 166, 54, kCoefficients[i]);
        spins_[size_t(i)]->setRange(0, 200);
        addChild(spins_[size_t(i)]);
    }
}

void PidPage::load() {
    for (int s = 0; s < 4; ++s)
        for (int k = 0; k < 3; ++k) edit_[size_t(s)][size_t(k)] = svc().*kSets[s][k];
    sets_.mark(set_, false);
    for (int k = 0; k < 3; ++k) spins_[size_t(k)]->setValue(edit_[size_t(set_)][size_t(k)], false);
}

void PidPage::keepSet() {
    for (int k = 0; k < 3; ++k) edit_[size_t(set_)][size_t(k)] = spins_[size_t(k)]->value();
}

void PidPage::chooseSet(int set) {
    keepSet();
    set_ = set;
    for (int k = 0; k < 3; ++k) spins_[size_t(k)]->setValue(edit_[size_t(set_)][size_t(k)], true);
}

void PidPage::apply() {
    keepSet();
    for (int s = 0; s < 4; ++s)
        for (int k = 0; k < 3; ++k) svc().*kSets[s][k] = edit_[size_t(s)][size_t(k)];
}

}  // namespace vesk
