// ServiceSheet: page switching and the refresh routed to the page shown.
#include "service_tool/service_sheet.h"

#include "service_tool/auger_page.h"
#include "service_tool/field_page.h"
#include "service_tool/model_page.h"
#include "service_tool/pid_page.h"
#include "service_tool/serial_page.h"
#include "service_tool/test_page.h"
#include "ui/toolkit/app_frame.h"
#include "ui/toolkit/tab_strip.h"

namespace vesk {

namespace {
constexpr int kBackground = 193;
constexpr const char* kTabCaptions[ServiceSheet::kPageCount] = {
    "Тест", "Котел", "Мощность", "Номер", "Розжиг", "Шнек", "Горение 2",
    "Поддерж.", "Ав. шнек", "Инвертор", "PID", "Полуавт.", "Выход",
};
}  // namespace

ServiceSheet::ServiceSheet(AppFrame* frame, ServiceRecord& record, BoardTest& board, NetworkAdapter& adapter,
                           ExitActions actions)
    : Screen(frame), record_(record) {
    setBackground(kBackground, false);
    if (!actions.reloaded) actions.reloaded = [this] { reloadCurrent(); };
    pages_ = {
        new TestPage(frame, record, board, adapter),
        new ModelPage(frame, record),
        new PowerPage(frame, record),
        new SerialPage(frame, record),
        makeIgnitionPage(frame, record),
        new AugerPage(frame, record),
        makeCombustion2Page(frame, record),
        makeFireKeepingPage(frame, record),
        makeEmergencyAugerPage(frame, record),
        makeInverterPage(frame, record),
        new PidPage(frame, record),
        makeSemiAutoPage(frame, record),
        new ExitPage(frame, record, std::move(actions)),
    };
    for (ServicePage* p : pages_) {
        p->setVisible(false, false);
        addChild(p);
    }
    tabs_ = new TabStrip(frame, 0, 0, kScreenWidth);
    for (const char* caption : kTabCaptions) tabs_->addTab(caption);
    tabs_->setSelectHandler([this](int i) { selectPage(i); });
    addChild(tabs_);
    selectPage(kTestPage);
}

void ServiceSheet::selectPage(int i) {
    if (i < 0 || i >= kPageCount || i == current_) return;
    if (current_ >= 0) {
        ServicePage* old = pages_[size_t(current_)];
        old->apply();
        old->hide();
        old->setVisible(false, false);
    }
    current_ = i;
    ServicePage* now = pages_[size_t(i)];
    now->load();
    now->setVisible(true, false);
    if (frame_->top() == this) now->show();
    tabs_->select(i);
    invalidate();
}

void ServiceSheet::applyCurrent() {
    if (current_ >= 0) pages_[size_t(current_)]->apply();
}

void ServiceSheet::reloadCurrent() {
    if (current_ < 0) return;
    pages_[size_t(current_)]->load();
    invalidate();
}

void ServiceSheet::show() {
    // Only the page in view runs (its timers, its readings).
    tabs_->show();
    if (current_ >= 0) pages_[size_t(current_)]->show();
}

void ServiceSheet::hide() {
    tabs_->hide();
    if (current_ >= 0) pages_[size_t(current_)]->hide();
}

void ServiceSheet::refresh() {
    if (current_ >= 0) pages_[size_t(current_)]->refresh();
}

}  // namespace vesk
