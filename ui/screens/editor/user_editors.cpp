// The editors of the user menu, as tables.
#include <algorithm>

#include "control/burner_commands.h"
#include "settings/model_tables.h"
#include "ui/screens/editor/editor_screen.h"
#include "ui/screens/editor/editors.h"

namespace vesk {

namespace {

int fuelOf(const EditorView& v) { return std::clamp<int32_t>(v.usr().FUEL, 0, kFuelCount - 1); }

EditorSpec boilerPower() {
    EditorSpec e;
    e.title = "МОЩНОСТЬ КОТЛА";
    e.titleHeight = 20;
    e.fields = {
        number("МАКСИМУМ", "POW_UST", 50, 100).at(10, 50).as(kValuePercent),
        number("МИНИМУМ", "POW_UST_MIN", [](const EditorView& v) { return v.svc().POWER_MIN; }, 30)
            .at(10, 112)
            .as(kValuePercent),
    };
    return e;
}

// The lower fan limit reaches further down for the coals (positions 0 and 1).
int32_t fanMinLow(const EditorView& v) {
    const int f = fuelOf(v);
    if (isKestralo(v.screen.context().state().variant)) return v.svc().FAN_MIN[f];
    if (f == 0) return v.svc().FAN_MIN[0] - 25;
    if (f == 1) return v.svc().FAN_MIN[1] - 35;
    return v.svc().FAN_MIN[f] - 4;
}

int32_t fanMinHigh(const EditorView& v) {
    const int f = fuelOf(v);
    if (isKestralo(v.screen.context().state().variant)) return v.svc().FAN_MIN[f] + 5;
    return v.svc().FAN_MIN[f] + (f <= 1 ? 15 : 4);
}

EditorSpec combustionCorrection() {
    EditorSpec e;
    e.title = "КОРРЕКЦИЯ ГОРЕНИЯ";
    e.fields = {
        number("ВЕНТИЛЯТОР МАКСИМУМ", "FAN_MAX", [](const EditorView& v) { return v.svc().FAN100 - 10; },
               [](const EditorView& v) { return std::min(v.svc().FAN100 + 10, 100); })
            .at(10, 40)
            .as(kValuePercent),
        number("ВЕНТИЛЯТОР МИНИМУМ", "FAN_MIN", fanMinLow, fanMinHigh).at(10, 81).as(kValuePercent),
        number("ПОДАЧА ТОПЛИВА", "WORM_CORR", [](const EditorView& v) { return -v.svc().WORM_CORR_MAX; },
               [](const EditorView& v) { return v.svc().WORM_CORR_MAX; })
            .at(10, 122)
            .as(kValueSignedPercent),
    };
    return e;
}

constexpr int kModeRowY = 24;
constexpr int kFuelRowY = 60;
constexpr int kHeatRowY = 96;
constexpr int kRowBelow = 36;

// The fuel row is shown in the automatic mode only; the heating row and
// the separator check box move up into its place otherwise.
void burnerModeLayout(EditorScreen& e, int) {
    const bool automatic = e.copy(e.indexOf("BURN_MODE")) == 0;
    const int fuel = e.indexOf("FUEL"), heat = e.indexOf("HEAT_MODE"), sep = e.indexOf("USE_HYDROSEP");
    e.showField(fuel, automatic);
    const int y = automatic ? kHeatRowY : kFuelRowY;
    e.placeRow(heat, y);
    e.placeRow(sep, y + kRowBelow);
}

EditorSpec burnerMode(const EditorEnv& env) {
    std::vector<std::string> fuels;
    for (std::string_view n : fuelNames(env.svc().BOILER_TYPE, env.svc().POWER)) fuels.emplace_back(n);
    EditorSpec e;
    e.title = "РЕЖИМ РАБОТЫ КОТЛА";
    e.fields = {
        optionRow("BURN_MODE", {"АВТОМАТ", "ПОЛУАВТОМАТ", "РУЧНОЙ"}).at(20, kModeRowY),
        // The fuel is taken over only together with the automatic mode.
        optionRow("FUEL", std::move(fuels))
            .at(20, kFuelRowY)
            .storedWhen([](const EditorView& v) { return v.copy("BURN_MODE") == 0; }),
        optionRow("HEAT_MODE", {"ОТОПЛЕНИЕ", "ПРИОРИТЕТ ГВС", "ПАРАЛЛЕЛЬНЫЕ НАСОСЫ", "ГВС"}).at(20, kHeatRowY),
        check("ИСПОЛЬЗОВАТЬ\nГИДРОРАЗДЕЛИТЕЛЬ", "USE_HYDROSEP").at(10, kHeatRowY + kRowBelow),
    };
    e.changed = burnerModeLayout;
    e.afterStore = [](EditorCommit& c) {
        if (c.stored("BURN_MODE")) commandBurner(c.s, kCmdModeChanged);
    };
    return e;
}

EditorSpec fireKeeping() {
    EditorSpec e;
    e.title = "ПОДДЕРЖАНИЕ ГОРЕНИЯ";
    e.fields = {
        number("КОРРЕКЦИЯ ПОДАЧИ", "KEEP_WORM_CORR").second("ТОПЛИВА").as(kValueSignedPercent),
        number("ПРОГРЕВ ДЫМОХОДА, МИН.", "CHIMN_TON"),
        number("ИНТЕРВАЛ ПРОГРЕВА, МИН.", "CHIMN_TOFF"),
        opens("ПОДДУВ В ПОДДЕРЖАНИИ",
              [](EditorScreen& s) { openScreen(*s.frame(), s.context(), ScreenId::FanKeepAlive); }),
    };
    return e;
}

EditorSpec keepAlive(std::string title, std::string useText, std::string_view use, std::string_view pause,
                     std::string_view on, std::string_view power) {
    EditorSpec e;
    e.title = std::move(title);
    e.fields = {
        check(std::move(useText), use),
        number("ВРЕМЯ ПАУЗЫ,МИН", pause, 0, 99),
        number("ВРЕМЯ ВКЛ.,СЕК", on, 5, 60),
        number("МОЩНОСТЬ ВКЛ.,%", power, 10, 100),
    };
    return e;
}

EditorSpec exhaustFan() {
    EditorSpec e;
    e.title = "ВЫТЯЖНОЙ ВЕНТИЛЯТОР";
    e.fields = {
        option("РЕЖИМ РАБОТЫ", "EXFAN_MODE", {"НЕ ИСПОЛЬЗУЕТСЯ", "ВКЛЮЧЕН", "СИНХРОННО", "ТРУБОЧИСТ"}),
        number("СКОРОСТЬ ВРАЩЕНИЯ, %", "EXFAN_UST", 10, 100),
        opens("РАБОТА В ПОДДЕРЖАНИИ",
              [](EditorScreen& s) { openScreen(*s.frame(), s.context(), ScreenId::ExhaustKeepAlive); }),
    };
    return e;
}

EditorSpec smsControl() {
    EditorSpec e;
    e.title = "УПРАВЛЕНИЕ ПО SMS";
    e.fields = {
        check("РАЗРЕШИТЬ ОПЕРАЦИИ\nС НОМЕРАМИ GSM",
              ValueAccess{[](const ControllerState& s) { return int32_t(s.smsControlEnable); },
                          [](ControllerState& s, int32_t v) { s.smsControlEnable = v; }}),
        check("ОПОВЕЩАТЬ О НИЗКОЙ\nТЕМПЕРАТУРЕ ВОДЫ", "USE_LTWATW"),
        number("ТЕМПЕРАТУРА ОПОВЕЩЕНИЯ", "LOW_TWATW", 0,
               [](const EditorView& v) { return v.usr().TWAT_UST_LIMIT_MAX; }),
    };
    return e;
}

EditorSpec ashRemoval() {
    EditorSpec e;
    e.title = "ЗОЛОУДАЛИТЕЛЬ";
    e.fields = {
        check("ИСПОЛЬЗОВАТЬ", "USE_ASH"),
        number("ВРЕМЯ ВКЛЮЧЕНИЯ, СЕК.", "ASH_TIME_ON", 3, 60),
        number("ВРЯМЯ ОТКЛЮЧЕНИЯ, МИН.", "ASH_TIME_OFF", 1, 60),
    };
    return e;
}

}  // namespace

std::optional<EditorSpec> userEditor(ScreenId id, const EditorEnv& env) {
    const bool kestralo = isKestralo(env.variant);
    switch (id) {
        case ScreenId::BoilerPower:
            return boilerPower();
        case ScreenId::WaterSetpoint:
            return setpointEditor("ТЕМПЕРАТУРА ПОДАЧИ",
                                  number("", "TWAT_UST", [](const EditorView& v) { return v.usr().TWAT_UST_LIMIT_MIN; },
                                         [](const EditorView& v) { return v.usr().TWAT_UST_LIMIT_MAX; })
                                      .as(kValueCelsius));
        case ScreenId::RoomSetpoint:
            return setpointEditor("ТЕМПЕРАТУРА ПОМЕЩЕНИЯ", number("", "TAIR_UST", 5, 35).as(kValueCelsius));
        case ScreenId::ConsumptionCorrection:
            if (kestralo) return std::nullopt;
            return setpointEditor("КОРРЕКЦИЯ РАСХОДА", number("", "CONS_CORR", -50, 50).as(kValueSignedPercent));
        case ScreenId::CombustionCorrection:
            return combustionCorrection();
        case ScreenId::BurnerMode:
            return burnerMode(env);
        case ScreenId::FireKeeping:
            return fireKeeping();
        case ScreenId::FanKeepAlive:
            return keepAlive("ПОДДУВ в ПОДДЕРЖАНИИ", "ИСПОЛЬЗОВАТЬ ПОДДУВ", "FANKEEP_USE", "FANKEEP_TPAUSE",
                             "FANKEEP_TON", "FANKEEP_POWER");
        case ScreenId::ExhaustFan:
            return exhaustFan();
        case ScreenId::ExhaustKeepAlive:
            return keepAlive("РАБОТА В ПОДДЕРЖАНИИ", "ИСПОЛЬЗОВАТЬ", "EXFANKEEP_USE", "EXFANKEEP_TPAUSE",
                             "EXFANKEEP_TON", "EXFANKEEP_POWER");
        case ScreenId::SmsControl:
            return smsControl();
        case ScreenId::AshRemoval:
            return ashRemoval();
        default:
            return std::nullopt;
    }
}

}  // namespace vesk
