// Editors with a layout of their own that still follow the editor pattern:
// the sensor corrections (argument: the place in "КОРРЕКЦИЯ ДАТЧИКОВ") and
// ORVENA's bunker filling.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <mutex>

#include "control/burner_commands.h"
#include "control/control_context.h"
#include "core/refresh_sink.h"
#include "settings/user_table.h"
#include "ui/screens/editor/editor_screen.h"
#include "ui/screens/editor/editors.h"
#include "ui/toolkit/app_frame.h"
#include "ui/toolkit/message_box.h"

namespace vesk {

namespace {

// ---- sensor corrections ------------------------------------------------------

struct SensorCorrection {
    const char* title;
    std::string_view key;
    int sensor;
};

// In the order of the "КОРРЕКЦИЯ ДАТЧИКОВ" list.
constexpr SensorCorrection kCorrections[] = {
    {"КОРРЕКЦИЯ ДАТЧИКА ГАЗА", "TGAS_CORR", kSensorGas},
    {"КОРРЕКЦИЯ ДАТЧИКА ТЕПЛОНОСИТЕЛЯ", "TWAT_CORR", kSensorWater},
    {"КОРРЕКЦИЯ ДАТЧИКА ОБРАТКИ", "USER_TBWAT_CORR", kSensorReturn},
    {"КОРРЕКЦИЯ ДАТЧИКА ВОЗДУХА", "TAIR_CORR", kSensorAir},
    {"КОРРЕКЦИЯ ДАТЧИКА УЛИЦЫ", "TOAIR_CORR", kSensorOutdoor},
    {"КОРРЕКЦИЯ ДАТЧИКА ГВС", "USER_TDHW_CORR", kSensorDhw},
    {"КОРРЕКЦИЯ ДАТЧИКА ВОЗДУХА КЛАПАНА", "TVAIR_CORR", kSensorValveAir},
    {"КОРРЕКЦИЯ ДАТЧИКА ЦО", "USER_TCH_CORR", kSensorCh},
    {"КОРРЕКЦИЯ ДАТЧИКА КЛАПАНА", "USER_VWAT1_CORR", kSensorValve1},
    {"КОРРЕКЦИЯ ДАТЧИКА ПОДАЧИ", "USER_VWAT2_CORR", kSensorValve2},
};
constexpr int kCorrectionCount = static_cast<int>(sizeof kCorrections / sizeof kCorrections[0]);

const SensorCorrection& correctionOf(const EditorScreen& s) {
    return kCorrections[std::clamp(s.spec().argument, 0, kCorrectionCount - 1)];
}

// What the editor shows of the sensor, read in one go.
struct SensorNow {
    int reading = kInvalidTemp;  // as the link stored it, the correction in force included
    int32_t inForce = 0;
    bool tenths = false;  // the board reports tenths, the flue gas excepted
    int32_t maxCorrection = 0;
};

SensorNow sensorNow(const EditorScreen& s) {
    const SensorCorrection& c = correctionOf(s);
    ControllerState& st = s.context().state();
    std::lock_guard<std::recursive_mutex> g(st.stateLock);
    SensorNow n;
    n.reading = st.sensors[static_cast<size_t>(c.sensor)];
    n.inForce = findUserKey(st.variant, c.key)->field.get(st.usr, 0);
    n.tenths = st.boardVersion == kTenthsFirmware && c.sensor != kSensorGas;
    n.maxCorrection = st.svc.MAX_TSENS_CORR * (n.tenths ? 10 : 1);
    return n;
}

// Tenths with their sign in front: "-0.5", "62.3".
std::string tenthsText(int v, bool withPlus) {
    char buf[24];
    std::snprintf(buf, sizeof buf, "%s%d.%d", v < 0 ? "-" : withPlus ? "+" : "", std::abs(v) / 10, std::abs(v) % 10);
    return buf;
}

std::string correctionText(const EditorScreen& s, int32_t correction) {
    const SensorNow n = sensorNow(s);
    switch (n.reading) {
        case 0x4000: return "Обрыв";
        case 0x4001: return "Нет датчика";
        case 0x4002: return "Реверс";
        default:
            if (!isValidTemp(n.reading)) return "Ошибка";
    }
    // The reading as it will be with this correction in place of the one in force.
    const int corrected = n.reading - n.inForce + correction;
    if (n.tenths) return tenthsText(correction, true) + "|" + tenthsText(corrected, false) + "°C";
    char buf[32];
    std::snprintf(buf, sizeof buf, "%d|%d°C", int(correction), corrected);
    return buf;
}

// A faulty reading leaves nothing to correct: the arrows stop where they are.
int32_t correctionLow(const EditorView& v) {
    const SensorNow n = sensorNow(v.screen);
    return isValidTemp(n.reading) ? -n.maxCorrection : v.screen.copy(0);
}
int32_t correctionHigh(const EditorView& v) {
    const SensorNow n = sensorNow(v.screen);
    return isValidTemp(n.reading) ? n.maxCorrection : v.screen.copy(0);
}

EditorSpec sensorCorrection(int place) {
    const SensorCorrection& c = kCorrections[std::clamp(place, 0, kCorrectionCount - 1)];
    EditorSpec e = setpointEditor(c.title, number("", c.key, correctionLow, correctionHigh).shownBy(correctionText));
    e.argument = place;
    e.bigFontSize = 26;
    return e;
}

// ---- bunker filling ------------------------------------------------------------

constexpr int kBunkerTimeStep = 10;

std::string minutesSeconds(const EditorScreen&, int32_t seconds) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%u:%02u", unsigned(seconds) / 60, unsigned(seconds) % 60);
    return buf;
}

int fillButton(const EditorScreen& s) {
    for (int i = 0; i < s.fieldCount(); ++i)
        if (s.opener(i)) return i;
    return -1;
}

// The filler output by hand, switched at once; the bunker step leaves it
// running while the flag is set.
void setManualFill(EditorScreen& s, bool on) {
    ControllerState& st = s.context().state();
    {
        std::lock_guard<std::recursive_mutex> g(st.stateLock);
        st.protection.manualFill = on ? 1 : 0;
        st.outputFlags = on ? uint16_t(st.outputFlags | kOutBunkerFiller) : uint16_t(st.outputFlags & ~kOutBunkerFiller);
    }
    if (s.context().control.sendNow) s.context().control.sendNow();
}

void showFillButton(EditorScreen& s) {
    Button* b = s.opener(fillButton(s));
    if (!b) return;
    ControllerState& st = s.context().state();
    bool on;
    {
        std::lock_guard<std::recursive_mutex> g(st.stateLock);
        on = st.protection.manualFill != 0;
    }
    const std::string text = on ? "ОТКЛЮЧИТЬ ЗАПОЛНЕНИЕ" : "ВКЛЮЧИТЬ ЗАПОЛНЕНИЕ";
    if (b->text() == text) return;
    b->setText(text);
    b->repaint();
}

EditorSpec bunkerFilling() {
    EditorSpec e;
    e.title = "ЗАПОЛНЕНИЕ БУНКЕРА";
    e.fields = {
        // The first caption line runs on above the arrows.
        check("ИСПОЛЬЗОВАТЬ УСТРОЙСТВО\nАВТОЗАПОЛНЕНИЯ", "BUNK_AUTOFILL").at(10, 25).labelled(235),
        check("ВЕРХНИЙ\nДАТЧИК", "USE_FULL_SENS").at(10, 63).labelled(75),
        check("НИЖНИЙ\nДАТЧИК", "USE_EMPTY_SENS").at(130, 63).labelled(75),
        number("ВРЕМЯ ЗАПОЛНЕНИЯ", "BUNK_TOUT", 10, 1800).at(10, 101).stepBy(kBunkerTimeStep).shownBy(minutesSeconds),
        opens("ВКЛЮЧИТЬ ЗАПОЛНЕНИЕ",
              [](EditorScreen& s) {
                  ControllerState& st = s.context().state();
                  bool on;
                  {
                      std::lock_guard<std::recursive_mutex> g(st.stateLock);
                      on = st.protection.manualFill != 0;
                  }
                  setManualFill(s, !on);
                  showFillButton(s);
              })
            .at(10, 143)
            .labelled(184),
    };
    // The sensors and the time matter only to the automatic filling.
    e.changed = [](EditorScreen& s, int) {
        const bool automatic = s.copy(s.indexOf("BUNK_AUTOFILL")) != 0;
        for (std::string_view k : {"USE_FULL_SENS", "USE_EMPTY_SENS", "BUNK_TOUT"}) s.showField(s.indexOf(k), automatic);
        s.increaseButton()->setVisible(automatic, false);
        s.decreaseButton()->setVisible(automatic, false);
    };
    e.refreshed = showFillButton;
    // Leaving the screen always stops filling by hand.
    e.afterStore = [](EditorCommit& c) {
        c.s.protection.manualFill = 0;
        c.s.outputFlags = uint16_t(c.s.outputFlags & ~kOutBunkerFiller);
        if (c.stored("BUNK_AUTOFILL")) c.s.controlFlags |= kFlagBunkerRestart;
        if (c.screen.context().control.sendNow) c.screen.context().control.sendNow();
    };
    e.cancelled = [](EditorScreen& s) { setManualFill(s, false); };
    return e;
}

// ---- semi-automatic start and stop -----------------------------------------------

bool burnerStopped(ScreenContext& ctx) {
    std::lock_guard<std::recursive_mutex> g(ctx.state().stateLock);
    return ctx.state().burnerState == kStop;
}

// The start blower takes effect at each press; "ОК" and the start/stop
// button save it when it differs from its value at opening, "ОТМЕНА" puts
// that value back.
void storeStartBlower(EditorScreen& s, int32_t value) {
    ControllerState& st = s.context().state();
    std::lock_guard<std::recursive_mutex> g(st.stateLock);
    st.usr.SA_FAN_BUP = value;
}

EditorSpec semiAutomatic(const EditorEnv& env) {
    constexpr int kWideNormal = 256, kWidePressed = 255;
    EditorSpec e;
    e.title = "ПУСК/СТОП КОТЛА";
    e.fields = {
        opens(burnerStopped(env.ctx) ? "ЗАПУСТИТЬ КОТЁЛ" : "ОСТАНОВИТЬ КОТЁЛ",
              [](EditorScreen& s) {
                  commandBurner(s.context().state(), burnerStopped(s.context()) ? kCmdStartIgnition : kCmdStop);
                  s.ok();
              })
            .at(10, 32)
            .faces(kWideNormal, kWidePressed),
        number("СКОРОСТЬ ВЕНТИЛЯТОРА", "SA_FAN_BUP", [](const EditorView& v) { return v.svc().SA_FANBUP_MIN; }, 100)
            .at(10, 80)
            .as(kValuePercent),
        opens("ЗАГРУЗКА ТОПЛИВА",
              [](EditorScreen& s) {
                  ScreenContext& ctx = s.context();
                  if (!commandBurner(ctx.state(), kCmdFuelLoadBegin)) return;
                  auto* box = new MessageBox(s.frame());
                  box->build("ЗАГРУЗКА ТОПЛИВА", "ЗАГРУЗИТЕ ТОПЛИВО И НАЖМИТЕ КНОПКУ \"ОК\"", 0);
                  box->setResultHandler([&ctx](bool) {
                      commandBurner(ctx.state(), kCmdFuelLoadEnd);
                      ctx.control.refresh.postRefresh();
                  });
                  s.frame()->push(box);
              })
            .at(10, 128)
            .faces(kWideNormal, kWidePressed),
    };
    e.changed = [](EditorScreen& s, int field) {
        const int blower = s.indexOf("SA_FAN_BUP");
        if (field < 0) {
            s.memo = s.copy(blower);
        } else if (field == blower) {
            storeStartBlower(s, s.copy(blower));
        }
    };
    e.afterStore = [](EditorCommit& c) {
        if (c.s.usr.SA_FAN_BUP != c.screen.memo) c.changed = true;
    };
    e.cancelled = [](EditorScreen& s) { storeStartBlower(s, s.memo); };
    return e;
}

}  // namespace

std::optional<EditorSpec> ownLayoutEditor(ScreenId id, const EditorEnv& env, int argument) {
    switch (id) {
        case ScreenId::SensorCorrection:
            return sensorCorrection(argument);
        case ScreenId::SemiAutomatic:
            return semiAutomatic(env);
        case ScreenId::BunkerFilling:
            if (isKestralo(env.variant)) return std::nullopt;
            return bunkerFilling();
        default:
            return std::nullopt;
    }
}

}  // namespace vesk
