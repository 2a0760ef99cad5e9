// The network screens of "УДАЛЕННОЕ ПОДКЛЮЧЕНИЕ": "СЕТЕВОЕ ПОДКЛЮЧЕНИЕ"
// (access toggles, the way to the password and the status), "СЕТЕВОЙ
// ПАРОЛЬ" (six wrapping digits), the connection status, and the QR code.
#pragma once
#include <array>

#include "ui/screens/screen_context.h"
#include "ui/toolkit/button.h"
#include "ui/toolkit/label.h"
#include "ui/toolkit/repeat_button.h"
#include "ui/toolkit/screen.h"
#include "ui/toolkit/toggle_button.h"

namespace vesk {

class NetworkScreen : public Screen {
public:
    NetworkScreen(AppFrame* frame, ScreenContext& ctx);
    ToggleButton* internetBox() const { return remote_; }
    ToggleButton* homeBox() const { return local_; }
    Label* internetLabel() const { return remoteLabel_; }
    Label* homeLabel() const { return localLabel_; }
    Button* passwordButton() const { return password_; }
    Button* statusButton() const { return status_; }
    Button* okButton() const { return ok_; }
    Button* cancelButton() const { return cancel_; }

private:
    void onClick(Widget& sender);
    ScreenContext& ctx_;
    ToggleButton *remote_ = nullptr, *local_ = nullptr;
    Label *remoteLabel_ = nullptr, *localLabel_ = nullptr;
    Button *password_ = nullptr, *status_ = nullptr, *ok_ = nullptr, *cancel_ = nullptr;
};

class PasswordScreen : public Screen {
public:
    static constexpr int kDigits = 6;
    PasswordScreen(AppFrame* frame, ScreenContext& ctx);
    RepeatButton* upButton(int i) const { return up_[size_t(i)]; }
    RepeatButton* downButton(int i) const { return down_[size_t(i)]; }
    Label* digitLabel(int i) const { return digit_[size_t(i)]; }
    Button* okButton() const { return ok_; }
    Button* cancelButton() const { return cancel_; }

private:
    void onClick(Widget& sender);
    ScreenContext& ctx_;
    std::array<int, kDigits> digits_{};
    std::array<RepeatButton*, kDigits> up_{}, down_{};
    std::array<Label*, kDigits> digit_{};
    Button *ok_ = nullptr, *cancel_ = nullptr;
};

// The texts of the network layer, kept current on every refresh.
class NetworkStatusScreen : public Screen {
public:
    NetworkStatusScreen(AppFrame* frame, ScreenContext& ctx);
    Label* text() const { return text_; }
    Button* backButton() const { return back_; }
    void refresh() override;

private:
    ScreenContext& ctx_;
    Label* text_ = nullptr;
    Button* back_ = nullptr;
};

// The pairing code: the symbol of the connection text centred on (160, 92),
// nothing where the text cannot be encoded.
class QrScreen : public Screen {
public:
    QrScreen(AppFrame* frame, ScreenContext& ctx);
    const std::string& encodedText() const { return text_; }
    bool drawn() const { return drawn_; }
    Button* backButton() const { return back_; }
    void paint(Painter& p) override;

private:
    std::string text_;
    bool drawn_ = false;
    Button* back_ = nullptr;
};

}  // namespace vesk
