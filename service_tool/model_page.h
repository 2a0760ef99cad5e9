// "Выбор типа котла": the five model buttons.
#pragma once
#include "service_tool/tool_buttons.h"
#include "service_tool/service_page.h"

namespace vesk {

class ModelPage : public ServicePage {
public:
    ModelPage(AppFrame* frame, ServiceRecord& record);
    void load() override;
    const ChoiceButtons& models() const { return models_; }

private:
    ChoiceButtons models_;
};

// "Выбор мощности котла": the power options of the model, POWER marked.
class PowerPage : public ServicePage {
public:
    PowerPage(AppFrame* frame, ServiceRecord& record);
    void load() override;
    const ChoiceButtons& powers() const { return powers_; }

private:
    ChoiceButtons powers_;
};

}  // namespace vesk
