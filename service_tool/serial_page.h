// "Настройки серийного номера": six digits, each with "+" above and "-"
// below, wrapping 0..9; the leftmost is the hundred-thousands.
#pragma once
#include <array>

#include "net/network_settings.h"
#include "service_tool/service_page.h"

namespace vesk {

class Button;
class Label;

class SerialPage : public ServicePage {
public:
    SerialPage(AppFrame* frame, ServiceRecord& record);
    void load() override;
    void apply() override;

    Button* plus(int i) const { return plus_.at(size_t(i)); }
    Button* minus(int i) const { return minus_.at(size_t(i)); }
    Label* digit(int i) const { return labels_.at(size_t(i)); }

private:
    void onButton(Widget& sender);
    void showDigit(int i, bool redraw);

    PasswordDigits digits_{};
    std::array<Button*, 6> plus_{};
    std::array<Button*, 6> minus_{};
    std::array<Label*, 6> labels_{};
};

}  // namespace vesk
