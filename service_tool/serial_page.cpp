// SerialPage: the digit columns of the network password screen's kind.
#include "service_tool/serial_page.h"

#include "service_tool/tool_buttons.h"
#include "ui/toolkit/label.h"

namespace vesk {

SerialPage::SerialPage(AppFrame* frame, ServiceRecord& record) : ServicePage(frame, record) {
    addHeading("Настройки серийного номера");
    for (int i = 0; i < 6; ++i) {
        const int x = 6 + 52 * i;
        auto handler = [this](Widget& s) { onButton(s); };
        plus_[size_t(i)] = addButton(this, x, 40, kUpArrowLook, {}, handler);
        labels_[size_t(i)] = new Label(this);
        labels_[size_t(i)]->setBounds(x, 70, 50, 60, 0, {});
        labels_[size_t(i)]->setFont(36, true);
        labels_[size_t(i)]->setMargins(0, 0, 0, 0);
        labels_[size_t(i)]->setTextFormat(kDtCenter | kDtVCenter);
        addChild(labels_[size_t(i)]);
        minus_[size_t(i)] = addButton(this, x, 134, kDownArrowLook, {}, handler);
    }
}

void SerialPage::showDigit(int i, bool redraw) {
    labels_[size_t(i)]->setNumber(digits_[size_t(i)]);
    if (redraw) labels_[size_t(i)]->repaint();
}

void SerialPage::load() {
    digits_ = passwordDigits(svc().SERIAL);
    for (int i = 0; i < 6; ++i) showDigit(i, false);
}

void SerialPage::apply() { svc().SERIAL = passwordFromDigits(digits_); }

void SerialPage::onButton(Widget& sender) {
    for (int i = 0; i < 6; ++i) {
        const int delta = &sender == plus_[size_t(i)] ? 1 : &sender == minus_[size_t(i)] ? -1 : 0;
        if (!delta) continue;
        digits_[size_t(i)] = stepDigit(digits_[size_t(i)], delta);
        showDigit(i, true);
    }
}

}  // namespace vesk
