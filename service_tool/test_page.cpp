// TestPage: readings and inputs from one snapshot of the board state.
#include "service_tool/test_page.h"

#include "platform/network_adapter.h"
#include "service_tool/tool_buttons.h"
#include "ui/toolkit/app_frame.h"
#include "ui/toolkit/button.h"
#include "ui/toolkit/check_mark.h"
#include "ui/toolkit/label.h"

namespace vesk {

namespace {

struct Reading {
    const char* name;
    int sensor;
};
constexpr Reading kReadings[TestPage::kReadingCount] = {
    {"Газы", kSensorGas},        {"Вода", kSensorWater},     {"Воздух", kSensorAir},
    {"Улица", kSensorOutdoor},   {"Обратка", kSensorReturn}, {"Х.концы", kSensorBoardRef},
    {"ЦО", kSensorCh},           {"ГВС", kSensorDhw},        {"Клап1", kSensorValve1},
    {"Клап2", kSensorValve2},    {"Кл.возд", kSensorValveAir},
};

struct Input {
    const char* name;
    uint8_t bit;
};
constexpr Input kInputs[TestPage::kInputCount] = {
    {"Предохранитель", kInFuse},    {"Перегрев", kInEmergencyThermostat}, {"Вн. отключение", kInRoomThermostat},
    {"Бункер1", kInBunkerEmpty},    {"Бункер2", kInBunkerFull},
};

constexpr int kNetworkPollMs = 1000;

void setLabel(Label* l, std::string text, bool redraw) {
    if (l->text() == text) return;
    l->setText(std::move(text));
    if (redraw) l->repaint();
}

}  // namespace

TestPage::TestPage(AppFrame* frame, ServiceRecord& record, BoardTest& board, NetworkAdapter& adapter)
    : ServicePage(frame, record), board_(board), adapter_(adapter) {
    auto* title = new Label(this);
    title->setBounds(10, 4, 100, 48, 0, "ТЕСТ");
    title->setFont(20, true);
    addChild(title);

    test_ = addButton(this, 120, 2, kStandardLook, "Включить", [this](Widget&) { toggleTest(); });

    for (int i = 0; i < kReadingCount; ++i) {
        auto* l = new Label(this);
        l->setBounds(4 + 104 * (i % 3), 54 + 19 * (i / 3), 104, 19, 0, {});
        l->setFont(13, true);
        addChild(l);
        readings_[size_t(i)] = l;
    }
    for (int i = 0; i < kInputCount; ++i) {
        auto* c = new CheckMark(this);
        c->setBounds(4 + 156 * (i % 2), 134 + 19 * (i / 2), 156, 19, 0, kInputs[i].name);
        c->setFont(12, true);
        addChild(c);
        inputs_[size_t(i)] = c;
    }
    auto* netCaption = new Label(this);
    netCaption->setBounds(4, 190, 60, 20, 0, "Сеть");
    netCaption->setFont(13, true);
    addChild(netCaption);
    network_ = new Label(this);
    network_->setBounds(64, 190, 252, 20, 0, {});
    network_->setFont(13, true);
    addChild(network_);
}

void TestPage::load() {
    test_->setText(board_.testMode() ? "Отключить" : "Включить");
    update(false);
}

void TestPage::show() {
    ServicePage::show();
    frame_->startTimer(this, kNetworkPollMs);
}

void TestPage::hide() {
    frame_->stopTimer(this);
    ServicePage::hide();
}

void TestPage::timerTick() { update(true); }

void TestPage::refresh() { update(true); }

void TestPage::update(bool redraw) {
    const BoardReadings r = board_.readings();
    for (int i = 0; i < kReadingCount; ++i)
        setLabel(readings_[size_t(i)], readingText(kReadings[i].name, r.sensors[size_t(kReadings[i].sensor)]), redraw);
    for (int i = 0; i < kInputCount; ++i) inputs_[size_t(i)]->setOn((r.inputs & kInputs[i].bit) != 0, redraw);
    setLabel(network_, networkText(adapter_.query()), redraw);
}

void TestPage::toggleTest() {
    const bool on = !board_.testMode();
    board_.setTestMode(on, svc());
    test_->setText(on ? "Отключить" : "Включить");
    test_->repaint();
}

}  // namespace vesk
