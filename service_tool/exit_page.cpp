// ExitPage: the three ways out and the reset dialog.
#include "service_tool/exit_page.h"

#include "ui/toolkit/app_frame.h"
#include "ui/toolkit/button.h"
#include "ui/toolkit/label.h"
#include "ui/toolkit/message_box.h"

namespace vesk {

namespace {
constexpr int kBigNormal = 163;
constexpr int kBigPressed = 277;
}  // namespace

ExitPage::ExitPage(AppFrame* frame, ServiceRecord& record, ExitActions actions)
    : ServicePage(frame, record), actions_(std::move(actions)) {
    auto make = [&](int y, const char* caption) {
        auto* b = new Button(this);
        b->setBitmaps(43, y, kBigNormal, kBigPressed);
        b->setFont(16, true);
        b->setText(caption);
        b->setClickHandler([this](Widget& s) { onButton(s); });
        addChild(b);
        return b;
    };
    save_ = make(10, "Сохранить и выйти");
    leave_ = make(62, "Выйти не сохраняя");
    reset_ = make(114, "Сброс настроек");
    message_ = new Label(this);
    message_->setBounds(0, 162, kScreenWidth, 48, 0, {});
    message_->setFont(13, true);
    message_->setTextColor(kRed);
    message_->setTextFormat(kDtCenter | kDtVCenter | kDtWordBreak);
    addChild(message_);
}

void ExitPage::load() { message_->setText({}); }

void ExitPage::say(std::string text) {
    message_->setText(std::move(text));
    message_->repaint();
}

void ExitPage::onButton(Widget& sender) {
    if (&sender == save_) {
        // A failed save restarts nothing: the panel would come up with the
        // old settings without a word.
        if (!actions_.save()) {
            say(kSaveFailedText);
            return;
        }
        actions_.leave();
    } else if (&sender == leave_) {
        actions_.leave();
    } else if (&sender == reset_) {
        askReset();
    }
}

void ExitPage::askReset() {
    auto* box = new MessageBox(frame_);
    box->build("Внимание!", "Вы действительно хотите сбросить все настройки на заводские?", 1, "Да", "Нет");
    box->setResultHandler([this](bool cancelled) {
        if (cancelled) return;
        factoryReset(record_);
        if (actions_.reloaded) actions_.reloaded();
    });
    frame_->push(box);
}

}  // namespace vesk
