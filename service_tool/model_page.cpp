// Model and power pages: the model tables as buttons.
#include "service_tool/model_page.h"

#include <string>

namespace vesk {

namespace {
constexpr int kMaxPowerOptions = 8;
}

ModelPage::ModelPage(AppFrame* frame, ServiceRecord& record)
    : ServicePage(frame, record), models_(this, kWideLook, [this](int i) {
          chooseModel(record_, modelChoices()[size_t(i)].boilerType);
      }) {
    addHeading("Выбор типа котла");
    int y = 23;
    for (const ModelChoice& m : modelChoices()) {
        models_.add(39, y, std::string(m.caption));
        y += 37;
    }
}

void ModelPage::load() {
    const auto choices = modelChoices();
    int marked = -1;
    for (size_t i = 0; i < choices.size(); ++i)
        if (choices[i].boilerType == svc().BOILER_TYPE) marked = static_cast<int>(i);
    models_.mark(marked, false);
}

PowerPage::PowerPage(AppFrame* frame, ServiceRecord& record)
    : ServicePage(frame, record),
      powers_(this, kStandardLook, [this](int i) { choosePower(record_, i); }) {
    addHeading("Выбор мощности котла");
    for (int i = 0; i < kMaxPowerOptions; ++i) powers_.add(8 + 105 * (i % 3), 28 + 54 * (i / 3), {});
}

void PowerPage::load() {
    settlePowerOption(record_);
    const std::vector<int32_t> options = powerOptions(svc().BOILER_TYPE);
    const int n = std::min(static_cast<int>(options.size()), kMaxPowerOptions);
    for (int i = 0; i < n; ++i) powers_.button(i)->setText(std::to_string(options[size_t(i)]));
    powers_.showFirst(n);
    powers_.mark(n ? markedPowerOption(svc()) : -1, false);
}

}  // namespace vesk
