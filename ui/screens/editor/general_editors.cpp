// The editors of "ОБЩИЕ НАСТРОЙКИ", of the pumps list and of the KESTRALO
// test menu, as tables.
#include <mutex>

#include "platform/backlight.h"
#include "ui/screens/editor/editor_screen.h"
#include "ui/screens/editor/editors.h"

namespace vesk {

namespace {

constexpr int kBacklightStep = 10;

// The level is applied at each press and stored at once; "ОТМЕНА" goes
// back to the level the screen started with.
void applyLevel(EditorScreen& e, int32_t level) {
    ScreenContext& ctx = e.context();
    {
        std::lock_guard<std::recursive_mutex> g(ctx.state().stateLock);
        ctx.state().usr.BL_LEVEL = level;
    }
    if (ctx.registry) applyBacklightLevel(*ctx.registry, level);
}

EditorSpec backlight() {
    EditorSpec e;
    e.title = "ПОДСВЕТКА ЭКРАНА";
    e.fields = {
        number("УРОВЕНЬ ЯРКОСТИ", "BL_LEVEL", 10, 100).as(kValuePercent).stepBy(kBacklightStep),
        check("СНИЖАТЬ ЯРКОСТЬ\nПРИ ПРОСТОЕ", "EN_BL_OFF"),
    };
    e.changed = [](EditorScreen& s, int field) {
        const int level = s.indexOf("BL_LEVEL");
        if (field < 0) {
            // Opening: the level in tens, remembered as the start.
            s.memo = s.copy(level) / kBacklightStep * kBacklightStep;
            s.setCopy(level, s.memo);
        } else if (field == level) {
            applyLevel(s, s.copy(level));
        }
    };
    e.afterStore = [](EditorCommit& c) {
        if (c.s.usr.BL_LEVEL != c.screen.memo) c.changed = true;
        if (c.screen.context().registry) applyIdleDimming(*c.screen.context().registry, c.s.usr.EN_BL_OFF != 0);
    };
    e.cancelled = [](EditorScreen& s) { applyLevel(s, s.memo); };
    return e;
}

EditorSpec pumpsIdle() {
    EditorSpec e;
    e.title = "РАБОТА НАСОСОВ В РЕЖИМЕ ОСТАНОВ";
    e.fields = {
        choice("АВТО", "PUMPS_IDLE_MODE", 0),
        choice("ВЫКЛЮЧЕН", "PUMPS_IDLE_MODE", 1),
        choice("ВКЛЮЧЕН", "PUMPS_IDLE_MODE", 2),
    };
    return e;
}

EditorSpec heatingPumps(const EditorEnv& env) {
    const bool separator = env.usr().USE_HYDROSEP != 0;
    EditorSpec e;
    e.title = "НАСОСЫ ОТОПЛЕНИЯ И ГВС";
    e.fields = {
        number("ТЕМПЕРАТУРА ВКЛЮЧЕНИЯ", separator ? "TPUMPS_ON_HSEP" : "TPUMPS_ON", 31, separator ? 70 : 55),
        number("ТЕМПЕРАТУРА ГВС", "TDHW_UST", 31, 80),
        option("РАБОТА В РЕЖИМЕ", "PUMPS_IDLE_MODE", {"АВТО", "ВЫКЛЮЧЕН", "ВКЛЮЧЕН"}).second("\"ОСТАНОВ\" : "),
    };
    e.alwaysSaves = true;
    return e;
}

// The switch-on and switch-off temperatures keep their order: with the
// separator off stays at least 5 below on, without it on stays at most off.
EditorSpec recirculationPump(const EditorEnv& env) {
    EditorSpec e;
    e.title = "НАСОС РЕЦИРКУЛЯЦИИ";
    if (env.usr().USE_HYDROSEP != 0) {
        e.fields = {
            number("ТЕМПЕРАТУРА ВКЛЮЧЕНИЯ", "TRC_HSEP_ON",
                   [](const EditorView& v) { return v.copy("TRC_HSEP_OFF") + 5; }, EditLimit{}),
            number("ТЕМПЕРАТУРА ВЫКЛЮЧЕНИЯ", "TRC_HSEP_OFF", EditLimit{},
                   [](const EditorView& v) { return v.copy("TRC_HSEP_ON") - 5; }),
        };
    } else {
        e.fields = {
            check("ИСПОЛЬЗОВАТЬ", "USE_RECIRC"),
            number("ТЕМПЕРАТУРА ВКЛЮЧЕНИЯ", "TRECIRC_ON", EditLimit{},
                   [](const EditorView& v) { return v.copy("TRECIRC_OFF"); }),
            number("ТЕМПЕРАТУРА ВЫКЛЮЧЕНИЯ", "TRECIRC_OFF", [](const EditorView& v) { return v.copy("TRECIRC_ON"); },
                   EditLimit{}),
        };
    }
    return e;
}

// Sensor substitution: -1 ("--") leaves the reading as the board sends it.
const ValueAccess kSubstOn{[](const ControllerState& s) { return int32_t(s.substOn); },
                           [](ControllerState& s, int32_t v) { s.substOn = v; }};
const ValueAccess kSubstGas{[](const ControllerState& s) { return int32_t(s.substGas); },
                            [](ControllerState& s, int32_t v) { s.substGas = v; }};
const ValueAccess kSubstWater{[](const ControllerState& s) { return int32_t(s.substWater); },
                              [](ControllerState& s, int32_t v) { s.substWater = v; }};
const ValueAccess kSubstThird{[](const ControllerState& s) { return int32_t(s.substDhw); },
                              [](ControllerState& s, int32_t v) { s.substDhw = v; }};

EditorSpec sensorSubstitution() {
    EditorSpec e;
    e.title = "ПОДМЕНА ЗНАЧЕНИЙ ДАТЧИКОВ";
    e.fields = {
        check("ПОДМЕНЯТЬ ЗНАЧЕНИЯ", kSubstOn),
        // Values in the board's unit (tenths with firmware 2.2.1.5).
        number("ДАТЧИК ГАЗОВ", kSubstGas, -1, 999).dashedBelowZero(),
        number("ДАТЧИК КОТЛА", kSubstWater, -1, 999).dashedBelowZero(),
        // KESTRALO's third value stands for the return water.
        number("ДАТЧИК ОБРАТКИ", kSubstThird, -1, 999).dashedBelowZero(),
    };
    e.savesFile = false;
    return e;
}

// "ПЕРЕГРЕВ ШНЕКА": the auger tube reads hotter than the emergency start
// threshold, so the protection raises its fault the way a real overheat
// does; unticked, the real reading returns and the fault clears.
const ValueAccess kAugerOverheat{[](const ControllerState& s) { return int32_t(s.substAuger >= 0); },
                                 [](ControllerState& s, int32_t on) {
                                     const int unit = s.boardVersion == kTenthsFirmware ? 10 : 1;
                                     s.substAuger = on ? (s.svc.EMSTART_TEMP + 10) * unit : -1;
                                 }};

EditorSpec faultTesting() {
    EditorSpec e;
    e.title = "ТЕСТИРОВАНИЕ ОШИБОК";
    e.fields = {check("ПЕРЕГРЕВ ШНЕКА", kAugerOverheat).at(10, 25).labelled(180)};
    e.savesFile = false;
    return e;
}

}  // namespace

std::optional<EditorSpec> generalEditor(ScreenId id, const EditorEnv& env) {
    switch (id) {
        case ScreenId::TouchSound: {
            EditorSpec e;
            e.title = "ЗВУК НАЖАТИЯ НА ЭКРАН";
            e.fields = {check("АКТИВИРОВАТЬ ЗВУК \n НАЖАТИЯ НА ЭКРАН", "EN_SOUNDPRESS").at(10, 25)};
            return e;
        }
        case ScreenId::Backlight:
            return backlight();
        case ScreenId::PumpsIdle:
            return pumpsIdle();
        case ScreenId::HeatingPumps:
            return heatingPumps(env);
        case ScreenId::RecirculationPump:
            return recirculationPump(env);
        case ScreenId::SensorSubstitution:
            if (!isKestralo(env.variant)) return std::nullopt;
            return sensorSubstitution();
        case ScreenId::FaultTesting:
            if (!isKestralo(env.variant)) return std::nullopt;
            return faultTesting();
        default:
            return std::nullopt;
    }
}

}  // namespace vesk
