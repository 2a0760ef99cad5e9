// A full-screen message with OK and/or cancel. A press of either saves the
// user settings, pops the box, reports the result and deletes the box: push
// it with `new` and let it go.
#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "ui/toolkit/widget.h"

namespace vesk {

class Button;
class Label;
class ToggleButton;

class MessageBox : public Widget {
public:
    // cancelled is false only for OK.
    using ResultHandler = std::function<void(bool cancelled)>;
    // A setting seen through the state lock (read, write).
    struct SettingAccess {
        std::function<int32_t()> read;
        std::function<void(int32_t)> write;
    };

    explicit MessageBox(AppFrame* frame);
    ~MessageBox() override;

    // buttons 1: OK and cancel; 0: OK only; anything else: none. Empty
    // captions mean "ОК" / "ОТМЕНА" in the larger font.
    void build(const std::string& title, const std::string& text, int buttons, const std::string& okCaption = {},
               const std::string& cancelCaption = {});
    // The ignition choice: OK and cancel, and the "АВТОРОЗЖИГ" check box bound
    // to `autoHeater`; cancel is shown only while the setting is non-zero.
    void buildIgnitionChoice(const std::string& title, const std::string& text, const std::string& okCaption,
                             const std::string& cancelCaption, SettingAccess autoHeater);

    void setResultHandler(ResultHandler h) { onResult_ = std::move(h); }
    // Writes user.cfg under the settings file lock.
    void setSaveSettings(std::function<void()> save) { save_ = std::move(save); }

    Label* titleLabel() const { return title_; }
    Label* textLabel() const { return text_; }
    Button* okButton() const { return ok_; }
    Button* cancelButton() const { return cancel_; }
    ToggleButton* checkBox() const { return check_; }
    Label* checkLabel() const { return checkLabel_; }

private:
    void makeButtons(int buttons, const std::string& okCaption, const std::string& cancelCaption);
    void finish(Widget& sender);
    void flipAutoHeater(Widget& sender);

    Label* title_ = nullptr;
    Label* text_ = nullptr;
    ToggleButton* check_ = nullptr;
    Label* checkLabel_ = nullptr;
    Button* ok_ = nullptr;
    Button* cancel_ = nullptr;
    ResultHandler onResult_;
    std::function<void()> save_;
    SettingAccess autoHeater_;
    bool finished_ = false;
};

}  // namespace vesk
