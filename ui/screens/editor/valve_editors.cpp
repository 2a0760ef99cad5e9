// The weather curves (the boiler's and each mixing valve's) and the valve
// editors "КЛАПАН" / "КЛАПАН 2" with their "ПРОЧЕЕ" page, as tables. The
// spec's argument is the valve (1, 2), 0 for the boiler's curve.
#include <algorithm>
#include <cstdio>

#include "ui/screens/editor/editor_screen.h"
#include "ui/screens/editor/editors.h"
#include "ui/screens/screen_parts.h"
#include "ui/toolkit/app_frame.h"

namespace vesk {

namespace {

struct ValveKeys {
    std::string_view mode, useWeather, useWater, useAir, water, air, interval, step, open;
    // Curve points: water at the mild end, outdoor there, water and outdoor at the cold end.
    std::string_view curveFloor[4], curveHeating[4];
};

constexpr ValveKeys kValves[2] = {
    {"VLV1_MODE", "VLV1_USEWH", "VLV1_USEWATER", "VLV1_USEAIR", "VLV1_WATER", "VLV1_AIR", "VLV1_INT", "VLV1_STEP",
     "VLV1_TOPEN", {"VLV1_WATL_FL", "VLV1_AIRL_FL", "VLV1_WATH_FL", "VLV1_AIRH_FL"},
     {"VLV1_WATL_CH", "VLV1_AIRL_CH", "VLV1_WATH_CH", "VLV1_AIRH_CH"}},
    {"VLV2_MODE", "VLV2_USEWH", "VLV2_USEWATER", "VLV2_USEAIR", "VLV2_WATER", "VLV2_AIR", "VLV2_INT", "VLV2_STEP",
     "VLV2_TOPEN", {"VLV2_WATL_FL", "VLV2_AIRL_FL", "VLV2_WATH_FL", "VLV2_AIRH_FL"},
     {"VLV2_WATL_CH", "VLV2_AIRL_CH", "VLV2_WATH_CH", "VLV2_AIRH_CH"}},
};
constexpr std::string_view kBoilerCurve[4] = {"WHETH_WAT_LOW", "WHETH_AIR_LOW", "WHETH_WAT", "WHETH_AIR"};

constexpr int kHeatingMode = 2;
constexpr int kFloorWaterMax = 60;
constexpr int kCurveWaterMin = 20;
constexpr int kOutdoorMin = -50;

const ValveKeys& valveOf(const EditorScreen& s) { return kValves[std::clamp(s.spec().argument, 1, 2) - 1]; }

// ---- weather curve ---------------------------------------------------------------

int32_t curveWaterMin(const EditorView& v) {
    return v.screen.spec().argument == 0 ? v.usr().TWAT_UST_LIMIT_MIN : kCurveWaterMin;
}
int32_t curveWaterMax(const EditorView& v) {
    const int valve = v.screen.spec().argument;
    if (valve == 0 || v.screen.indexOf(kValves[valve - 1].curveHeating[0]) >= 0) return v.usr().TWAT_UST_LIMIT_MAX;
    return kFloorWaterMax;
}

// The points keep their order (water rising, outdoor falling towards the
// cold end); a curve out of order is replaced by its defaults at the next
// start. Fields: 1 water low, 2 outdoor low, 3 water high, 4 outdoor high.
int32_t waterLowMax(const EditorView& v) { return std::min(curveWaterMax(v), v.screen.copy(3) - 1); }
int32_t waterHighMin(const EditorView& v) { return std::max(curveWaterMin(v), v.screen.copy(1) + 1); }
int32_t outdoorLowMin(const EditorView& v) { return v.screen.copy(4) + 1; }
int32_t outdoorHighMax(const EditorView& v) { return v.screen.copy(2) - 1; }

EditorSpec weatherCurve(int valve, int valveMode) {
    const std::string_view* keys = kBoilerCurve;
    std::string_view use = "USE_WHETHER";
    if (valve) {
        const ValveKeys& k = kValves[valve - 1];
        keys = valveMode == kHeatingMode ? k.curveHeating : k.curveFloor;
        use = k.useWeather;
    }
    constexpr int kFaceNormal = 282, kFaceSelected = 281, kUsePlate = 199;
    EditorSpec e;
    e.title = "ПОГОДОЗАВИСИМОЕ РЕГУЛИРОВАНИЕ";
    e.argument = valve;
    e.fields = {
        check("ИСПОЛЬЗОВАТЬ", use).at(10, 30).labelAt(56, 35).onPlate(kUsePlate),
        number("T ВОДЫ1", keys[0], curveWaterMin, waterLowMax).at(10, 76).faces(kFaceNormal, kFaceSelected),
        number("T УЛИЦЫ", keys[1], outdoorLowMin, {}).at(133, 76).faces(kFaceNormal, kFaceSelected),
        number("T ВОДЫ2", keys[2], waterHighMin, curveWaterMax).at(10, 121).faces(kFaceNormal, kFaceSelected),
        number("T УЛИЦЫ", keys[3], kOutdoorMin, outdoorHighMax).at(133, 121).faces(kFaceNormal, kFaceSelected),
    };
    return e;
}

// ---- valve ---------------------------------------------------------------------

int32_t valveWaterMax(const EditorView& v) {
    const ValveKeys& k = valveOf(v.screen);
    return v.screen.copy(v.screen.indexOf(k.mode)) == kHeatingMode ? v.usr().TWAT_UST_LIMIT_MAX : kFloorWaterMax;
}

// The page edits the heating points of a valve in heating mode and the
// underfloor points otherwise, by the mode the valve's editor shows.
void openValveCurve(EditorScreen& s) {
    const int valve = s.spec().argument;
    openEditor(*s.frame(), s.context(), weatherCurve(valve, s.copy(s.indexOf(kValves[valve - 1].mode))));
}

void openValveOther(EditorScreen& s) { openScreen(*s.frame(), s.context(), ScreenId::ValveOther, s.spec().argument); }

// The room-air sensor serves one valve only.
bool airSensorFree(EditorScreen& s) {
    const ValveKeys& mine = valveOf(s);
    if (!s.copy(s.indexOf(mine.useAir))) return true;
    const int other = s.spec().argument == 1 ? 2 : 1;
    bool taken;
    {
        ControllerState& st = s.context().state();
        std::lock_guard<std::recursive_mutex> g(st.stateLock);
        const ValveParams& o = other == 1 ? st.usr.VLV1 : st.usr.VLV2;
        taken = o.MODE != 0 && o.USEAIR != 0;
    }
    if (!taken) return true;
    char text[96];
    std::snprintf(text, sizeof text, "\n\nДатчик воздуха уже выбран в настройках клапана %u", unsigned(other));
    showMessage(*s.frame(), "ВНИМАНИЕ!", text);
    return false;
}

EditorSpec valve(int n) {
    const ValveKeys& k = kValves[n - 1];
    constexpr int kFieldNormal = 272, kFieldSelected = 271, kCurveNormal = 280, kCurvePressed = 279;
    constexpr int kWideNormal = 173, kWidePressed = 172;
    EditorSpec e;
    e.title = n == 1 ? "КЛАПАН" : "КЛАПАН 2";
    e.argument = n;
    e.fields = {
        optionRow(k.mode, {"НЕ ИСПОЛЬЗУЕТСЯ", "ТЕПЛЫЙ ПОЛ", "ОТОПЛЕНИЕ"}).at(9, 24).arrowsAt(9, 215, 0),
        check("", k.useWeather).at(9, 60),
        opens("ПОГОД. РЕГУЛИРОВАНИЕ", openValveCurve).at(61, 60).faces(kCurveNormal, kCurvePressed),
        check("", k.useWater).at(9, 96),
        number("ТЕМП. ВОДЫ", k.water, kCurveWaterMin, valveWaterMax)
            .at(61, 96)
            .faces(kFieldNormal, kFieldSelected)
            .as(kValueCelsius),
        check("", k.useAir).at(9, 132),
        number("ТЕМП. ВОЗДУХА", k.air, 5, 35).at(61, 132).faces(kFieldNormal, kFieldSelected).as(kValueCelsius),
        opens("ПРОЧЕЕ", openValveOther).at(212, 175).faces(kWideNormal, kWidePressed).font(20),
    };
    e.okX = 8;
    e.cancelX = 110;
    e.buttonsY = 175;
    e.increase = {261, 47, 233, 230};
    e.decrease = {261, 110, 231, 232};
    // A new mode brings the water target into its limits at once.
    e.changed = [](EditorScreen& s, int field) {
        const ValveKeys& vk = valveOf(s);
        if (field != s.indexOf(vk.mode)) return;
        const int water = s.indexOf(vk.water);
        ControllerState& st = s.context().state();
        int32_t hi;
        {
            std::lock_guard<std::recursive_mutex> g(st.stateLock);
            hi = s.copy(field) == kHeatingMode ? st.usr.TWAT_UST_LIMIT_MAX : kFloorWaterMax;
        }
        const int32_t now = s.copy(water);
        const int32_t pulled = std::clamp(now, kCurveWaterMin, std::max(kCurveWaterMin, int(hi)));
        if (pulled != now) s.setCopy(water, pulled);
    };
    e.accept = airSensorFree;
    // An underfloor valve without its curve works on the water target; the
    // settings are read back that way after a restart too.
    e.afterStore = [](EditorCommit& c) {
        ValveParams& v = c.screen.spec().argument == 1 ? c.s.usr.VLV1 : c.s.usr.VLV2;
        if (v.MODE == 1 && v.USEWH == 0 && v.USEWATER == 0) {
            v.USEWATER = 1;
            c.changed = true;
        }
    };
    return e;
}

EditorSpec valveOther(int n) {
    const ValveKeys& k = kValves[n - 1];
    EditorSpec e;
    e.title = n == 1 ? "КЛАПАН" : "КЛАПАН 2";
    e.argument = n;
    e.fields = {
        number("ИНТЕРВАЛ РЕГУЛИРОВАНИЯ", k.interval).as(kValueSeconds),
        number("ВРЕМЯ ВКЛЮЧЕНИЯ МОТОРА", k.step).as(kValueSeconds),
        number("ВРЕМЯ ПОЛНОГО ОТКРЫТИЯ", k.open).as(kValueSeconds),
    };
    return e;
}

}  // namespace

std::optional<EditorSpec> valveEditor(ScreenId id, const EditorEnv& env, int argument) {
    const int n = std::clamp(argument, 1, 2);
    switch (id) {
        case ScreenId::WeatherCompensation:
            if (argument == 0) return weatherCurve(0, kHeatingMode);
            return weatherCurve(n, (n == 1 ? env.usr().VLV1 : env.usr().VLV2).MODE);
        case ScreenId::Valve1:
            return valve(1);
        case ScreenId::Valve2:
            return valve(2);
        case ScreenId::ValveOther:
            return valveOther(n);
        default:
            return std::nullopt;
    }
}

}  // namespace vesk
