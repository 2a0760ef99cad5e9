// The editors of the installer menu, as tables.
#include <algorithm>

#include "ui/screens/editor/editor_screen.h"
#include "ui/screens/editor/editors.h"

namespace vesk {

namespace {

int32_t limitMin(const EditorView& v) { return v.usr().TWAT_UST_LIMIT_MIN; }
int32_t twatUst(const EditorView& v) { return v.usr().TWAT_UST; }

// Pulls `value` into lo..hi; true when it moved.
bool pullInto(int32_t& value, int32_t lo, int32_t hi) {
    const int32_t before = value;
    value = std::clamp(value, lo, std::max(lo, hi));
    return value != before;
}

EditorSpec waterLimits() {
    EditorSpec e;
    e.title = "УСТАВКИ ТЕМПЕРАТУРЫ ВОДЫ";
    e.fields = {
        caption("ТЕМПЕРАТУРА ВОДЫ"),
        number("МИНИМАЛЬНАЯ", "TWAT_UST_LIMIT_MIN", 40, 60),
        number("МАКСИМАЛЬНАЯ", "TWAT_UST_LIMIT_MAX", 75, 90),
    };
    // The set-point follows its new limits, or the next start would drop it.
    e.afterStore = [](EditorCommit& c) {
        UserParams& u = c.s.usr;
        if (pullInto(u.TWAT_UST, u.TWAT_UST_LIMIT_MIN, u.TWAT_UST_LIMIT_MAX)) c.changed = true;
    };
    return e;
}

EditorSpec dhwSettings() {
    EditorSpec e;
    e.title = "НАСТРОЙКИ ГВС";
    e.fields = {
        check("ВКЛ НАСОСА ПРИ ПЕРЕГРЕВЕ", "DHW_OPT_ENABLE"),
        number("МАКСИМАЛЬНАЯ УСТАВКА", "DHW_OPT_UST_MAX").second("ГВС, °C"),
        number("ДЕЛЬТА", "DHW_OPT_DELTA"),
        number("ДЕЛЬТА ПЕРЕГРЕВА °C", "DHW_OPT_DELTA_OVH"),
        number("ПАУЗА,", "DHW_OPT_PAUSE").second("МИН"),
    };
    // KESTRALO keeps the hot-water set-point at most this maximum.
    e.afterStore = [](EditorCommit& c) {
        UserParams& u = c.s.usr;
        if (isKestralo(c.s.variant) && u.TDHW_UST > u.DHW_OPT_UST_MAX) {
            u.TDHW_UST = u.DHW_OPT_UST_MAX;
            c.changed = true;
        }
    };
    return e;
}

const std::string kReduction = "ВЕЛИЧИНА СНИЖЕНИЯ °C";

EditorSpec thermostatResponse() {
    EditorSpec e;
    e.title = "ОТКЛИК НА ТЕРМОСТАТ";
    e.fields = {
        choice("ОТКЛЮЧАТЬ НАСОС ЦО", "RESPONSE_ON_TMSTAT_TWAT_UST_ENABLE", 0),
        choice("СНИЖАТЬ УСТАВКУ", "RESPONSE_ON_TMSTAT_TWAT_UST_ENABLE", 1),
        number(kReduction, "RESPONSE_ON_TMSTAT_TWAT_UST_DECREASE", 5, 40).second("ТЕМПЕРАТУРЫ ВОДЫ"),
    };
    return e;
}

EditorSpec thermostatResponseKestralo() {
    EditorSpec e;
    e.title = "ОТКЛИК НА ТЕРМОСТАТ";
    e.fields = {
        caption("Тип отклика").at(121, 20).labelled(150),
        optionRow("THERMOSTAT_RESPONSE", {"СНИЖЕНИЕ УСТАВКИ", "НАСОС ЦО", "ПАУЗА", "ПОДДЕРЖАНИЕ"}).at(20, 45),
        number(kReduction, "RESPONSE_ON_TMSTAT_TWAT_UST_DECREASE", 5, 40).at(45, 105),
    };
    e.decrease = {7, 105, 247, 248};
    e.increase = {280, 105, 249, 250};
    return e;
}

EditorSpec heatingPumpDuty() {
    EditorSpec e;
    e.title = "РАБОТА НАСОСА ЦО";
    e.fields = {
        check("ВЫКЛЮЧАТЬ НАСОС", "PUMP_CH_PAUSE_ENABLE"),
        number("ПЕРИОД СТОЯНКИ, МИН.", "PUMP_CH_OFF_DURATION", 5, 300),
        number("ПЕРИОД РАБОТЫ, МИН.", "PUMP_CH_ON_DURATION", 1, 60),
    };
    return e;
}

EditorSpec primaryLoopPump() {
    EditorSpec e;
    e.title = "РАБОТА НАСОСА ПЕРВИЧ. КОНТУРА";
    e.titleHeight = 20;
    e.fields = {
        option("ТИП КОНТУРА", "PRIME_LOOP_TYPE", {"ГИДРОРАЗДЕЛИТЕЛЬ", "БУФЕРНЫЙ БАК"}),
        // Kept below TWAT_UST, as the file accepts it.
        number("УСТАВКА ТЕМПЕРАТУРЫ", "PRIME_LOOP_TANK_UST", limitMin, twatUst).second("БАКА °C"),
        number("ДЕЛЬТА БАКА °C", "PRIME_LOOP_TANK_DELTA"),
        number("ДЕЛЬТА ЗАГРУЗКИ °C", "PRIME_LOOP_TANK_LOAD_DELTA"),
    };
    return e;
}

EditorSpec augerSensorOff() {
    EditorSpec e;
    e.title = "ОТКЛ. ДАТЧИКА ТЕМПЕРАТУРЫ ШНЕКА";
    e.fields = {check("ИСПОЛЬЗОВАТЬ", "WORM_TEMP_SENSOR_ENABLE")};
    // The disabled-sensor reminder starts its count afresh.
    e.afterStore = [](EditorCommit& c) { c.s.protection.augerSensorCounter = 0; };
    return e;
}

EditorSpec gasSensorOff() {
    EditorSpec e;
    e.title = "ОТКЛ. ДАТЧИКА ТЕМП. ГАЗОВ";
    e.fields = {
        check("ИСПОЛЬЗОВАТЬ", "GAS_TEMP_SENSOR_ENABLE"),
        number("ВРЕМЯ ЗАТУХАНИЯ. МИН", "GAS_TEMP_SENSOR_FADE_TOUT", 1, 90),
    };
    // The fire-out check without the sensor counts its time from now.
    e.afterStore = [](EditorCommit& c) {
        c.s.combustion.fadeCheckMinute = c.s.localTime.hour * 60 + c.s.localTime.minute;
    };
    return e;
}

EditorSpec thermoSwitchOff() {
    EditorSpec e;
    e.title = "ОТКЛ. АВАРИЙНОГО ТЕРМОВЫКЛЮЧАТЕЛЯ";
    e.fields = {check("ИСПОЛЬЗОВАТЬ", "THERMO_SWITCH_ENABLE")};
    // The reminder's half-hour window starts again.
    e.afterStore = [](EditorCommit& c) { c.s.protection.reminderStart = -1; };
    return e;
}

EditorSpec antiFreeze() {
    EditorSpec e;
    e.title = "АНТИЗАМОРОЗКА";
    e.fields = {
        check("ВКЛЮЧАТЬ НАСОСЫ", "ANTI_FREEZE_ENABLE").at(10, 25).labelled(120),
        number("ТЕМПЕРАТУРА ВКЛЮЧЕНИЯ", "ANTI_FREEZE_TEMP", 2, 20).second("НАСОСОВ °C").at(10, 65),
    };
    return e;
}

EditorSpec pumpAntiJam() {
    EditorSpec e;
    e.title = "АНТИЗАКЛИНИВАНИЕ НАСОСОВ";
    e.fields = {
        check("ВКЛЮЧАТЬ НАСОСЫ", "ANTI_JAM_ENABLE"),
        number("ПЕРИОД ВКЛЮЧЕНИЯ СУТ", "ANTI_JAM_PERIOD", 7, 100),
        number("ВРЕМЯ ВКЛЮЧЕНИЯ МИН", "ANTI_JAM_DURATION", 1, 120),
    };
    return e;
}

EditorSpec augerAntiJam() {
    EditorSpec e;
    e.title = "АНТИЗАКЛИНИВАНИЕ ШНЕКА";
    e.fields = {
        check("ИСПОЛЬЗОВАТЬ", "REVERSE_TIME_ENABLE"),
        number("ВРЕМЯ РЕВЕРСА СЕК", "REVERSE_TIME_REVERSE"),
        number("ВРЕМЯ ВПЕРЕД СЕК", "REVERSE_TIME_FORWARD"),
        number("ВРЕМЯ ПАУЗЫ СЕК", "REVERSE_TIME_PAUSE"),
    };
    return e;
}

// ANTI_LEGION_CLOCK is a minute of the day (0..1440) edited as hours and
// minutes; each part is stored into the value in force.
constexpr int32_t kDayMinutes = 1440;
const ValueAccess kLegionHours{
    [](const ControllerState& s) { return s.usr.ANTI_LEGION_CLOCK / 60; },
    [](ControllerState& s, int32_t h) {
        s.usr.ANTI_LEGION_CLOCK = std::min(kDayMinutes, h * 60 + s.usr.ANTI_LEGION_CLOCK % 60);
    }};
const ValueAccess kLegionMinutes{
    [](const ControllerState& s) { return s.usr.ANTI_LEGION_CLOCK % 60; },
    [](ControllerState& s, int32_t m) {
        s.usr.ANTI_LEGION_CLOCK = std::min(kDayMinutes, s.usr.ANTI_LEGION_CLOCK / 60 * 60 + m);
    }};

EditorSpec antiLegionella() {
    EditorSpec e;
    e.title = "АНТИЛЕГИОНЕЛЛА";
    e.fields = {
        check("ВКЛЮЧАТЬ НАГРЕВ ГВС", "ANTI_LEGION_ENABLE"),
        number("Уставка", "ANTI_LEGION_UST"),
        number("ДЕНЬ", "ANTI_LEGION_DAY").as(kValueWeekday),
        number("ЧАС", kLegionHours, 0, 23),
        number("МИН.", kLegionMinutes, 0, 59),
        number("ПЕРИОД РАБОТЫ ЧАС", "ANTI_LEGION_DURATION"),
    };
    return e;
}

EditorSpec extraSensors() {
    EditorSpec e;
    e.title = "ДОПОЛНИТЕЛЬНЫЕ ДАТЧИКИ";
    e.fields = {
        check("ДАТЧИК БУНКЕРА", "BUNK_SENSOR_ENABLE").at(10, 25).labelled(120),
        check("ПРОВЕРЯТЬ ФАЗУ", "LINE_WRONG_ENABLE").at(10, 65).labelled(120),
    };
    return e;
}

}  // namespace

std::optional<EditorSpec> installerEditor(ScreenId id, const EditorEnv& env) {
    const bool kestralo = isKestralo(env.variant);
    switch (id) {
        case ScreenId::WaterLimits:
            return waterLimits();
        case ScreenId::DhwSettings:
            return dhwSettings();
        case ScreenId::ThermostatResponse:
            return kestralo ? thermostatResponseKestralo() : thermostatResponse();
        case ScreenId::HeatingPumpDuty:
            return heatingPumpDuty();
        case ScreenId::PrimaryLoopPump:
            return primaryLoopPump();
        case ScreenId::AugerSensorOff:
            return augerSensorOff();
        case ScreenId::GasSensorOff:
            return gasSensorOff();
        case ScreenId::ThermoSwitchOff:
            return thermoSwitchOff();
        case ScreenId::AntiFreeze:
            return antiFreeze();
        case ScreenId::PumpAntiJam:
            return pumpAntiJam();
        case ScreenId::AugerAntiJam:
            return augerAntiJam();
        case ScreenId::AntiLegionella:
            return antiLegionella();
        case ScreenId::ExtraSensors:
            if (!kestralo) return std::nullopt;
            return extraSensors();
        default:
            return std::nullopt;
    }
}

}  // namespace vesk
