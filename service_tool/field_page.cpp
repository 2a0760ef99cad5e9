// Field pages: rows built from their descriptions.
#include "service_tool/field_page.h"

#include "ui/toolkit/label.h"
#include "ui/toolkit/spin_box.h"
#include "ui/toolkit/toggle_button.h"
#include "ui/toolkit/value_format.h"

namespace vesk {

namespace {

using P = ServiceParams;

constexpr int kCaptionWidth = 166;
constexpr int kValueWidth = 54;
constexpr int kCheckOff = 219;
constexpr int kCheckOn = 218;
constexpr int kCheckRowHeight = 34;

constexpr FieldSpec kIgnition[] = {
    {"Температура газов\nрозжига", &P::GAS_BURNUP, 0, 150},
    {"Мощность работы\nвентилятора", &P::FAN_BURNUP, 70, 90},
    {"Время вкл. шнека, сек", &P::WORM_BURNUP, 0, 60},
    {"Количество\nпопыток розжига", &P::BURNUP_TRY, 0, 5},
    {"Время попытки\nрозжига, мин", &P::BURNUP_TOUT, 1, 30},
};

constexpr FieldSpec kCombustion2[] = {
    {"Темп. газов макс", &P::GAS_MAX, 0, 500},
    {"Темп. газов чистки", &P::GAS_CLEAN, 0, 500},
    {"Откл. насоса мин.", &P::PUMPS_TOUT, 0, 30},
    {"Таймаут ГВС, мин", &P::DHWFALL_TOUT, 0, 300},
    {"Макс. корр. темп.", &P::MAX_TSENS_CORR, 1, 50},
    {"Гист. ГВС", &P::DHW_HYST, 1, 30},
    {"Гист. воздуха", &P::AIR_HYST, 1, 10},
};

constexpr FieldSpec kFireKeeping[] = {
    {"Темп вкл. режима °C", &P::GAS_KEEP, 0, 500},
    {"Время работы шнека, сек", &P::PRECHIMN_WORM, 0, 60},
};

constexpr FieldSpec kEmergencyAuger[] = {
    {"Использовать", &P::EMSTART_ENABLE, 0, 1, FieldShow::Flag},
    {"Темп вкл.  шнека °C", &P::EMSTART_TEMP, 50, 100},
    {"Гистерезис выкл. шнека,°C", &P::EMSTART_DELTA, 1, 5},
    {"Время вкл шнека, сек", &P::EMSTART_TIMEON, 1, 999},
    {"Время паузы, мин", &P::EMSTART_TIMEOFF, 1, 10},
};

constexpr FieldSpec kInverter[] = {
    {"Ток заклин, А", &P::WORM_OVC_CUR, 5, 100, FieldShow::Tenths},
    {"Таймаут закл, с", &P::WORM_OVC_TOUT, 5, 25, FieldShow::Tenths},
    {"Частота тока, Гц", &P::WORM_SPEED, 0, 2, FieldShow::WormSpeed},
    {"Время реверса, с", &P::WORM_REV_TIME, 1, 30},
    {"Время вперед, с", &P::WORM_FORW_TIME, 1, 30},
    {"Время паузы, с", &P::WORM_PAUSE_TIME, 1, 30},
};

constexpr FieldSpec kSemiAuto[] = {
    {"Темп. газов розж °C", &P::SA_GAS_BURNUP, 0, 150},
    {"Мин.мощ  вент. %", &P::SA_FANBUP_MIN, 0, 100},
    {"Время розжига, мин", &P::SA_BUP_TIME, 1, 90},
    {"Время раздувания мин", &P::SA_BLOW_TIME, 1, 60},
    {"Время гашения, мин", &P::SA_FADE_TIME, 1, 60},
    {"Макс. темп. газов °C", &P::SA_GAS_LIM, 0, 350},
    {"Мин мощ. вент %", &P::SA_FAN_MIN, 1, 20},
};

SpinBox::Format formatFor(FieldShow show) {
    switch (show) {
    case FieldShow::Tenths: return [](int v) { return formatValue(kValueTenths, v); };
    case FieldShow::WormSpeed: return wormSpeedText;
    default: return {};
    }
}

}  // namespace

FieldPage::FieldPage(AppFrame* frame, ServiceRecord& record, std::string_view heading,
                     std::span<const FieldSpec> fields)
    : ServicePage(frame, record) {
    addHeading(std::string(heading));
    int y = kFirstRow;
    for (const FieldSpec& f : fields) {
        Row row{&f};
        if (f.show == FieldShow::Flag) {
            row.check = new ToggleButton(this);
            row.check->setBitmaps(10, y, kCheckOff, kCheckOn);
            addChild(row.check);
            auto* label = new Label(this);
            label->setBounds(50, y, 200, kCheckRowHeight, 0, std::string(f.caption));
            label->setFont(12, true);
            label->setClickHandler([c = row.check](Widget&) { c->setPressed(!c->pressed(), true); });
            addChild(label);
            y += kCheckRowHeight;
        } else {
            row.spin = new SpinBox(this, 0, y, kCaptionWidth, kValueWidth, std::string(f.caption));
            row.spin->setRange(f.lo, f.hi);
            row.spin->setFormat(formatFor(f.show));
            addChild(row.spin);
            y += kRowPitch;
        }
        rows_.push_back(row);
    }
}

void FieldPage::load() {
    for (Row& r : rows_) {
        const int32_t v = r.spec->field.get(svc());
        if (r.check)
            r.check->setPressed(v != 0, false);
        else
            r.spin->setValue(v, false);
    }
}

void FieldPage::apply() {
    for (Row& r : rows_) r.spec->field.set(svc(), 0, r.check ? (r.check->pressed() ? 1 : 0) : r.spin->value());
}

FieldPage* makeIgnitionPage(AppFrame* f, ServiceRecord& r) {
    return new FieldPage(f, r, "Настройки розжига", kIgnition);
}
FieldPage* makeCombustion2Page(AppFrame* f, ServiceRecord& r) {
    return new FieldPage(f, r, "Настройки горения 2", kCombustion2);
}
FieldPage* makeFireKeepingPage(AppFrame* f, ServiceRecord& r) {
    return new FieldPage(f, r, "Настройки поддержания горения", kFireKeeping);
}
FieldPage* makeEmergencyAugerPage(AppFrame* f, ServiceRecord& r) {
    return new FieldPage(f, r, "Аварийное включение шнека", kEmergencyAuger);
}
FieldPage* makeInverterPage(AppFrame* f, ServiceRecord& r) { return new FieldPage(f, r, "Инвертор", kInverter); }
FieldPage* makeSemiAutoPage(AppFrame* f, ServiceRecord& r) { return new FieldPage(f, r, "Полуавтомат", kSemiAuto); }

}  // namespace vesk
