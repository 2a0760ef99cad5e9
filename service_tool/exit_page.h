// The last page: save and leave, leave without saving, or the factory reset
// of the service settings.
#pragma once
#include <functional>

#include "service_tool/service_page.h"

namespace vesk {

class Button;

struct ExitActions {
    // Writes the record; false when service.cfg could not be written.
    std::function<bool()> save;
    // Ends the tool; the panel restarts.
    std::function<void()> leave;
    // The record changed under the pages (the reset).
    std::function<void()> reloaded;
};

class ExitPage : public ServicePage {
public:
    ExitPage(AppFrame* frame, ServiceRecord& record, ExitActions actions);
    void load() override;

    Button* saveButton() const { return save_; }
    Button* leaveButton() const { return leave_; }
    Button* resetButton() const { return reset_; }
    Label* message() const { return message_; }

private:
    void onButton(Widget& sender);
    void askReset();
    void say(std::string text);

    ExitActions actions_;
    Button* save_;
    Button* leave_;
    Button* reset_;
    Label* message_;
};

// What the page says when service.cfg could not be written.
inline constexpr const char* kSaveFailedText = "Ошибка записи service.cfg! Настройки не сохранены.";

}  // namespace vesk
