// MessageBox construction and its one result path.
#include "ui/toolkit/message_box.h"

#include "platform/display/display.h"
#include "ui/toolkit/app_frame.h"
#include "ui/toolkit/button.h"
#include "ui/toolkit/label.h"
#include "ui/toolkit/toggle_button.h"

namespace vesk {

namespace {

constexpr int kBoxBackground = 193;
constexpr int kButtonNormal = 173;
constexpr int kButtonPressed = 172;
constexpr int kCheckOff = 219;
constexpr int kCheckOn = 218;
constexpr int kCheckLabelBackground = 268;
constexpr Color kCaptionColor = 0xC37C00;

}  // namespace

MessageBox::MessageBox(AppFrame* frame) : Widget(frame, 0, 0, kScreenWidth, kScreenHeight) {
    setBackground(kBoxBackground, false);
}

MessageBox::~MessageBox() { deleteAllChildren(); }

void MessageBox::makeButtons(int buttons, const std::string& okCaption, const std::string& cancelCaption) {
    auto make = [&](int x, const std::string& caption, const char* standard) {
        auto* b = new Button(this);
        b->setBitmaps(x, 175, kButtonNormal, kButtonPressed);
        b->setTextColor(kCaptionColor);
        b->setPressedTextColor(kWhite);
        if (caption.empty()) {
            b->setFont(20, true);
            b->setText(standard);
        } else {
            b->setFont(16, true);
            b->setText(caption);
        }
        b->setClickHandler([this](Widget& s) { finish(s); });
        addChild(b);
        return b;
    };
    if (buttons == 1) {
        ok_ = make(44, okCaption, "ОК");
        cancel_ = make(182, cancelCaption, "ОТМЕНА");
    } else if (buttons == 0) {
        ok_ = make(113, okCaption, "ОК");
    }
}

void MessageBox::build(const std::string& title, const std::string& text, int buttons, const std::string& okCaption,
                       const std::string& cancelCaption) {
    title_ = new Label(this);
    title_->setBounds(0, 0, 320, 25, 0, title);
    title_->setFont(14, true);
    title_->setTextFormat(kDtCenter | kDtVCenter);
    addChild(title_);

    text_ = new Label(this);
    text_->setBounds(0, 25, 320, 150, 0, text);
    text_->setFont(12, true);
    text_->setTextFormat(kDtCenter | kDtWordBreak);
    addChild(text_);

    makeButtons(buttons, okCaption, cancelCaption);
}

void MessageBox::buildIgnitionChoice(const std::string& title, const std::string& text, const std::string& okCaption,
                                     const std::string& cancelCaption, SettingAccess autoHeater) {
    autoHeater_ = std::move(autoHeater);
    const bool on = autoHeater_.read && autoHeater_.read() != 0;

    title_ = new Label(this);
    title_->setBounds(0, 0, 200, 50, 0, title);
    title_->setFont(14, true);
    title_->setTextFormat(kDtCenter | kDtVCenter);
    addChild(title_);

    text_ = new Label(this);
    text_->setBounds(30, 25, 240, 50, 0, text);
    text_->setFont(12, true);
    text_->setTextFormat(kDtCenter | kDtWordBreak);
    addChild(text_);

    check_ = new ToggleButton(this);
    check_->setBitmaps(45, 120, kCheckOff, kCheckOn);
    check_->setPressed(on, false);
    check_->setClickHandler([this](Widget& s) { flipAutoHeater(s); });
    addChild(check_);

    checkLabel_ = new Label(this);
    checkLabel_->setBounds(85, 120, 100, 50, kCheckLabelBackground, "АВТОРОЗЖИГ");
    checkLabel_->setMargins(7, 4, 5, 7);
    checkLabel_->setTextFormat(kDtCenter | kDtVCenter);
    checkLabel_->setClickHandler([this](Widget& s) { flipAutoHeater(s); });
    addChild(checkLabel_);

    makeButtons(1, okCaption, cancelCaption);
    if (cancel_) cancel_->setVisible(on, false);
}

void MessageBox::flipAutoHeater(Widget& sender) {
    // The check box has flipped itself already; a tap on the label flips it.
    if (&sender != check_) check_->setPressed(!check_->pressed(), true);
    const bool on = check_->pressed();
    if (autoHeater_.write) autoHeater_.write(on ? 1 : 0);
    if (cancel_) cancel_->setVisible(on, true);
}

void MessageBox::finish(Widget& sender) {
    if (finished_) return;
    finished_ = true;
    const bool cancelled = &sender != ok_;
    if (save_) save_();
    if (frame_->top() == this) frame_->pop();
    if (onResult_) {
        ResultHandler h = std::move(onResult_);
        h(cancelled);
    }
    frame_->deleteLater(this);
}

}  // namespace vesk
