// "Коэфф. PID": one of four regulator sets chosen, its three coefficients
// edited.
#pragma once
#include <array>

#include "service_tool/tool_buttons.h"
#include "service_tool/service_page.h"

namespace vesk {

class SpinBox;

class PidPage : public ServicePage {
public:
    PidPage(AppFrame* frame, ServiceRecord& record);
    void load() override;
    void apply() override;

    const ChoiceButtons& sets() const { return sets_; }
    SpinBox* coefficient(int i) const { return spins_.at(size_t(i)); }

private:
    void chooseSet(int set);
    void keepSet();

    ChoiceButtons sets_;
    std::array<SpinBox*, 3> spins_{};
    std::array<std::array<int32_t, 3>, 4> edit_{};
    int set_ = 0;  // stays chosen between visits
};

}  // namespace vesk
