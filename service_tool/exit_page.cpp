// ExitPage: the three ways out and the reset dialog.
#include "service_tool/exit_page.h"

#include "service_tool/tool_buttons.h"
#include "ui/toolkit/app_frame.h"
#include "ui/toolkit/button.h"
#include "ui/toolkit/label.h"
#include "ui/toolkit/message_box.h"

namespace vesk {

ExitPage::ExitPage(AppFrame* frame, ServiceRecord& record, ExitActions actions)
    : ServicePage(frame, record), actions_(std::move(actions)) {
    auto handler = [this](Widget& s) { onButton(s); };
    save_ = addButton(this, 43, 10, kBigLook, "Сохранить и выйти", handler);
    leave_ = addButton(this, 43, 62, kBigLook, "Выйти не сохраняя", handler);
    reset_ = addButton(this, 43, 114, kBigLook, "Сброс настроек", handler);
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
