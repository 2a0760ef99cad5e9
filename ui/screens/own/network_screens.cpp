// The network settings, password, status and QR screens.
#include "ui/screens/own/network_screens.h"

#include <mutex>

#include "core/refresh_sink.h"

#include "net/network_settings.h"
#include "net/qr/qr_draw.h"
#include "net/qr/qr_text.h"
#include "ui/screens/screen_parts.h"
#include "ui/toolkit/app_frame.h"
#include "ui/toolkit/message_box.h"

namespace vesk {

namespace {

constexpr int kWideNormal = 256, kWidePressed = 255;
constexpr int kUpNormal = 213, kUpPressed = 210, kDownNormal = 211, kDownPressed = 212;

}  // namespace

// ---- "СЕТЕВОЕ ПОДКЛЮЧЕНИЕ" -----------------------------------------------------------

NetworkScreen::NetworkScreen(AppFrame* frame, ScreenContext& ctx) : Screen(frame), ctx_(ctx) {
    setBackground(kEditorBackground, false);
    addTitle(this, "СЕТЕВОЕ ПОДКЛЮЧЕНИЕ");
    auto on = [this](Widget& w) { onClick(w); };
    bool remote, local;
    {
        std::lock_guard<std::recursive_mutex> g(ctx.state().stateLock);
        remote = ctx.state().usr.LAN_EN_REM != 0;
        local = ctx.state().usr.LAN_EN_LOC != 0;
    }
    remote_ = addCheckBox(this, 39, 30, on);
    remote_->setPressed(remote, false);
    remoteLabel_ = addCheckLabel(this, 85, 30, 200, "ИНТЕРНЕТ", on);
    local_ = addCheckBox(this, 39, 67, on);
    local_->setPressed(local, false);
    localLabel_ = addCheckLabel(this, 85, 67, 200, "ДОМАШНЯЯ СЕТЬ", on);
    password_ = addPictureButton(this, 39, 104, kWideNormal, kWidePressed, on);
    password_->setText("ЗАДАТЬ ПАРОЛЬ");
    status_ = addPictureButton(this, 39, 144, kWideNormal, kWidePressed, on);
    status_->setText("СОСТОЯНИЕ ПОДКЛЮЧЕНИЯ");
    ok_ = addWideButton(this, 44, 185, "ОК", on);
    cancel_ = addWideButton(this, 182, 185, "ОТМЕНА", on);
}

void NetworkScreen::onClick(Widget& sender) {
    if (&sender == remoteLabel_ || &sender == localLabel_) {
        ToggleButton* box = &sender == remoteLabel_ ? remote_ : local_;
        box->setPressed(!box->on(), true);
    } else if (&sender == password_) {
        frame_->push(new PasswordScreen(frame_, ctx_));
    } else if (&sender == status_) {
        frame_->push(new NetworkStatusScreen(frame_, ctx_));
    } else if (&sender == ok_) {
        const bool remote = remote_->on(), local = local_->on();
        {
            ControllerState& s = ctx_.state();
            std::lock_guard<std::recursive_mutex> g(s.stateLock);
            s.usr.LAN_EN_REM = remote;
            s.usr.LAN_EN_LOC = local;
            ctx_.saveUserSettings();
        }
        ctx_.control.refresh.postRefresh();
        // The driver settings take effect only after a restart, offered
        // only when they changed.
        const bool restart = (remote || local) && ctx_.registry && applyDriverSettings(*ctx_.registry);
        AppFrame* f = frame_;
        closeScreen(this);
        if (restart) {
            auto* box = new MessageBox(f);
            box->build("ВНИМАНИЕ!", "ДЛЯ ПРИМЕНЕНИЯ НАСТРОЕК КОТЕЛ БУДЕТ ПЕРЕЗАГРУЖЕН", 0);
            box->setResultHandler([&ctx = ctx_](bool) {
                if (ctx.restartPanel) ctx.restartPanel();
            });
            f->push(box);
        }
    } else if (&sender == cancel_) {
        closeScreen(this);
    }
}

// ---- "СЕТЕВОЙ ПАРОЛЬ" ------------------------------------------------------------------

PasswordScreen::PasswordScreen(AppFrame* frame, ScreenContext& ctx) : Screen(frame), ctx_(ctx) {
    setBackground(kEditorBackground, false);
    addTitle(this, "СЕТЕВОЙ ПАРОЛЬ");
    {
        std::lock_guard<std::recursive_mutex> g(ctx.state().stateLock);
        const PasswordDigits d = passwordDigits(ctx.state().usr.LAN_PWD);
        std::copy(d.begin(), d.end(), digits_.begin());
    }
    auto on = [this](Widget& w) { onClick(w); };
    constexpr int kFirstX = 7, kPitch = 52;
    for (int i = 0; i < kDigits; ++i) {
        const int x = kFirstX + kPitch * i;
        auto arrow = [&](int y, int normal, int pressed) {
            auto* r = new RepeatButton(this);
            r->setBitmaps(x, y, normal, pressed);
            r->setClickHandler(on);
            addChild(r);
            return r;
        };
        up_[size_t(i)] = arrow(43, kUpNormal, kUpPressed);
        auto* l = new Label(this);
        l->setBounds(x, 70, 50, 60, 0, std::to_string(digits_[size_t(i)]));
        l->setFont(44, true);
        l->setTextFormat(kDtCenter | kDtVCenter);
        l->setMargins(0, 0, 0, 0);
        addChild(l);
        digit_[size_t(i)] = l;
        down_[size_t(i)] = arrow(130, kDownNormal, kDownPressed);
    }
    ok_ = addWideButton(this, 44, 175, "ОК", on);
    cancel_ = addWideButton(this, 182, 175, "ОТМЕНА", on);
}

void PasswordScreen::onClick(Widget& sender) {
    if (&sender == ok_) {
        PasswordDigits d;
        std::copy(digits_.begin(), digits_.end(), d.begin());
        {
            ControllerState& s = ctx_.state();
            std::lock_guard<std::recursive_mutex> g(s.stateLock);
            s.usr.LAN_PWD = passwordFromDigits(d);
            ctx_.saveUserSettings();
        }
        ctx_.control.refresh.postRefresh();
        closeScreen(this);
        return;
    }
    if (&sender == cancel_) {
        closeScreen(this);
        return;
    }
    for (int i = 0; i < kDigits; ++i) {
        if (&sender != up_[size_t(i)] && &sender != down_[size_t(i)]) continue;
        int& d = digits_[size_t(i)];
        d = stepDigit(d, &sender == up_[size_t(i)] ? 1 : -1);
        digit_[size_t(i)]->setText(std::to_string(d));
        digit_[size_t(i)]->repaint();
    }
}

// ---- connection status ------------------------------------------------------------------

NetworkStatusScreen::NetworkStatusScreen(AppFrame* frame, ScreenContext& ctx) : Screen(frame), ctx_(ctx) {
    setBackground(kEditorBackground, false);
    addTitle(this, "СОСТОЯНИЕ ПОДКЛЮЧЕНИЯ");
    text_ = new Label(this);
    text_->setBounds(10, 35, 300, 140, 0, "");
    text_->setFont(14, true);
    text_->setTextFormat(kDtCenter | kDtWordBreak);
    addChild(text_);
    back_ = addWideButton(this, 113, 185, "НАЗАД", [this](Widget&) { closeScreen(this); });
    refresh();
}

void NetworkStatusScreen::refresh() {
    const LinkView v = ctx_.linkStatus ? ctx_.linkStatus() : LinkView{};
    const std::string t = networkStatusText(v, ctx_.remoteHost);
    if (t == text_->text()) return;
    text_->setText(t);
    text_->repaint();
}

// ---- QR code --------------------------------------------------------------------------

namespace {

class PainterCanvas : public QrCanvas {
public:
    explicit PainterCanvas(Painter& p) : p_(p) {}
    void fillRect(int x, int y, int w, int h, bool dark) override {
        p_.fillRect({x, y, x + w, y + h}, dark ? kBlack : kWhite);
    }

private:
    Painter& p_;
};

}  // namespace

QrScreen::QrScreen(AppFrame* frame, ScreenContext& ctx) : Screen(frame) {
    setBackground(kEditorBackground, false);
    {
        ControllerState& s = ctx.state();
        std::lock_guard<std::recursive_mutex> g(s.stateLock);
        text_ = std::string(buildQrText(s.svc, s.usr).view());
    }
    back_ = addWideButton(this, 113, 187, "НАЗАД", [this](Widget&) { closeScreen(this); });
}

void QrScreen::paint(Painter& p) {
    Screen::paint(p);
    PainterCanvas canvas(p);
    drawn_ = drawQr(text_, canvas);
}

}  // namespace vesk
