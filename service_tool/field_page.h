// A page of plain number fields (and check boxes), described as data: each
// row names its caption, its key and its range.
#pragma once
#include <span>
#include <string_view>
#include <vector>

#include "service_tool/service_page.h"
#include "settings/param_rule.h"

namespace vesk {

class SpinBox;
class ToggleButton;

enum class FieldShow : uint8_t { Plain, Tenths, WormSpeed, Flag };

struct FieldSpec {
    std::string_view caption;
    ServiceField field;
    int32_t lo = 0;
    int32_t hi = 0;
    FieldShow show = FieldShow::Plain;
};

class FieldPage : public ServicePage {
public:
    FieldPage(AppFrame* frame, ServiceRecord& record, std::string_view heading, std::span<const FieldSpec> fields);

    void load() override;
    void apply() override;

    // The number field of row `i` (null for a check-box row).
    SpinBox* spin(size_t i) const { return rows_.at(i).spin; }
    ToggleButton* check(size_t i) const { return rows_.at(i).check; }

private:
    struct Row {
        const FieldSpec* spec;
        SpinBox* spin = nullptr;
        ToggleButton* check = nullptr;
    };
    std::vector<Row> rows_;
};

// The pages of this kind, in sheet order.
FieldPage* makeIgnitionPage(AppFrame* f, ServiceRecord& r);
FieldPage* makeCombustion2Page(AppFrame* f, ServiceRecord& r);
FieldPage* makeFireKeepingPage(AppFrame* f, ServiceRecord& r);
FieldPage* makeEmergencyAugerPage(AppFrame* f, ServiceRecord& r);
FieldPage* makeInverterPage(AppFrame* f, ServiceRecord& r);
FieldPage* makeSemiAutoPage(AppFrame* f, ServiceRecord& r);

}  // namespace vesk
