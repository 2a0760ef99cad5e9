// The menus as tables of entries.
#include "ui/screens/menu/menus.h"

#include <mutex>

#include "platform/backlight.h"
#include "ui/screens/menu/button_page.h"
#include "ui/screens/menu/confirmations.h"
#include "ui/screens/menu/reverse_page.h"
#include "ui/screens/menu/screen_catalogue.h"
#include "ui/screens/menu/service_handover.h"
#include "ui/screens/start_stop.h"
#include "ui/toolkit/app_frame.h"

namespace vesk {

namespace {

// An entry that opens a screen of the catalogue.
MenuEntry screenEntry(std::string text, ScreenContext& ctx, ScreenId id, int argument = 0) {
    return {std::move(text), {}, [&ctx, id, argument](Widget& menu) { openScreen(*menu.frame(), ctx, id, argument); }};
}

// An entry that opens a menu or page made by `make`.
template <typename Make>
MenuEntry menuEntry(std::string text, std::string second, ScreenContext& ctx, Make make) {
    return {std::move(text), std::move(second), [&ctx, make](Widget& menu) {
                AppFrame& f = *menu.frame();
                f.push(make(f, ctx));
            }};
}

bool not2200(const MenuFacts& f) { return f.firmware != 0x2200; }
bool reverseFirmware(const MenuFacts& f) { return f.firmware == 0x2214 || f.firmware == 0x2215; }

}  // namespace

MenuFacts menuFacts(ScreenContext& ctx) {
    ControllerState& s = ctx.state();
    MenuFacts f;
    f.variant = s.variant;
    {
        std::lock_guard<std::recursive_mutex> g(s.stateLock);
        f.firmware = s.boardVersion;
        f.emergencyStart = s.svc.EMSTART_ENABLE != 0;
    }
    f.backlight = ctx.backlightPresent ? ctx.backlightPresent() : backlightAvailable();
    return f;
}

bool isInstallerCode(Variant v, const AccessDigits& d) {
    return digitsAre(d, kInstallerCode) || (isKestralo(v) && digitsAre(d, kInstallerCodeKestralo));
}

// ---- user menu -------------------------------------------------------------

namespace {

std::vector<MenuEntry> userEntries(ScreenContext& ctx, const MenuFacts& f, UserMenuScreen* self) {
    const bool k = isKestralo(f.variant);
    std::vector<MenuEntry> e;
    if (k) e.push_back(menuEntry("ТЕСТОВОЕ МЕНЮ", "", ctx, makeTestMenu));
    e.push_back(screenEntry("МОЩНОСТЬ КОТЛА", ctx, ScreenId::BoilerPower));
    e.push_back(screenEntry("ТЕМПЕРАТУРА КОТЛА", ctx, ScreenId::WaterSetpoint));
    e.push_back(screenEntry("ТЕМПЕРАТУРА ПОМЕЩЕНИЯ", ctx, ScreenId::RoomSetpoint));
    e.push_back(screenEntry("КОРРЕКЦИЯ ГОРЕНИЯ", ctx, ScreenId::CombustionCorrection));
    e.push_back({"ПУСК/СТОП КОТЛА", {}, [&ctx](Widget& menu) {
                     AppFrame& fr = *menu.frame();
                     startStopBoiler(fr, ctx, &menu,
                                     [&fr, &ctx] { return makeScreen(fr, ctx, ScreenId::SemiAutomatic); });
                 }});
    e.push_back(screenEntry("РЕЖИМ РАБОТЫ КОТЛА", ctx, ScreenId::BurnerMode));
    e.push_back(screenEntry("ПОГОД. РЕГУЛИРОВАНИЕ", ctx, ScreenId::WeatherCompensation));
    e.push_back(screenEntry("ТЕРМОСТАТ", ctx, ScreenId::Thermostat));
    e.push_back(menuEntry(k ? "НАСОСЫ И КЛАПАН" : "НАСОСЫ И КЛАПАНЫ", "", ctx, makePumpsMenu));
    e.push_back(screenEntry("ПОДДЕРЖАНИЕ ГОРЕНИЯ", ctx, ScreenId::FireKeeping));
    e.push_back(screenEntry("ВЫТЯЖНОЙ ВЕНТИЛЯТОР", ctx, ScreenId::ExhaustFan));
    MenuEntry reverse = menuEntry("РАБОТА РЕВЕРСА", "", ctx, makeReversePage);
    if (k) {
        e.push_back(screenEntry("ЗОЛОУДАЛИТЕЛЬ", ctx, ScreenId::AshRemoval));
        if (reverseFirmware(f)) e.push_back(reverse);
        e.push_back(menuEntry("УДАЛЕННОЕ ПОДКЛЮЧЕНИЕ", "", ctx, makeRemoteAccessPage));
    } else {
        e.push_back(menuEntry("УДАЛЕННОЕ ПОДКЛЮЧЕНИЕ", "", ctx, makeRemoteAccessPage));
        if (not2200(f)) {
            e.push_back(screenEntry("ЗОЛОУДАЛИТЕЛЬ", ctx, ScreenId::AshRemoval));
            e.push_back(screenEntry("ЗАПОЛНЕНИЕ БУНКЕРА", ctx, ScreenId::BunkerFilling));
        }
        e.push_back(screenEntry("КОРРЕКЦИЯ РАСХОДА", ctx, ScreenId::ConsumptionCorrection));
        e.push_back(screenEntry("СБРОС РАСХОДА", ctx, ScreenId::FuelReset));
    }
    e.push_back(menuEntry("ОБЩИЕ НАСТРОЙКИ", "", ctx, makeGeneralMenu));
    e.push_back({"СБРОС НАСТРОЕК", {}, [&ctx](Widget& menu) { confirmFactoryReset(*menu.frame(), ctx); }});
    if (!k && reverseFirmware(f)) e.push_back(reverse);
    e.push_back({"МЕНЮ МОНТАЖНИКА", {},
                 [&ctx, self](Widget& menu) {
                     AppFrame& fr = *menu.frame();
                     AccessCodes& c = self->codes();
                     fr.push(new AccessCodeScreen(&fr, c.installer, c.lastColumn, [&fr, &ctx, self](bool cancelled) {
                         if (cancelled || !isInstallerCode(ctx.state().variant, self->codes().installer)) return;
                         fr.push(makeInstallerMenu(fr, ctx));
                     }));
                 },
                 EntryPress::Hold});
    e.push_back({"СЕРВИСНОЕ МЕНЮ", {},
                 [&ctx, self](Widget& menu) {
                     AppFrame& fr = *menu.frame();
                     AccessCodes& c = self->codes();
                     fr.push(new AccessCodeScreen(&fr, c.service, c.lastColumn, [&ctx, self](bool cancelled) {
                         if (cancelled || !digitsAre(self->codes().service, kServiceCode)) return;
                         startServiceHandover(*self, ctx);
                     }));
                 },
                 EntryPress::Hold});
    return e;
}

}  // namespace

UserMenuScreen::UserMenuScreen(AppFrame* frame, ScreenContext& ctx, const MenuFacts& facts)
    : ListMenuScreen(frame, longListStyle(), userEntries(ctx, facts, this)) {}

UserMenuScreen* makeUserMenu(AppFrame& frame, ScreenContext& ctx) {
    return new UserMenuScreen(&frame, ctx, menuFacts(ctx));
}

void openUserMenu(AppFrame& frame, ScreenContext& ctx) { frame.push(makeUserMenu(frame, ctx)); }

// ---- installer menu ----------------------------------------------------------

ListMenuScreen* makeInstallerMenu(AppFrame& frame, ScreenContext& ctx) {
    const MenuFacts f = menuFacts(ctx);
    std::vector<MenuEntry> e;
    auto two = [&ctx](std::string a, std::string b, ScreenId id) {
        MenuEntry m = screenEntry(std::move(a), ctx, id);
        m.second = std::move(b);
        return m;
    };
    e.push_back(two("УСТАВКИ ТЕМПЕРАТУРЫ", "ВОДЫ", ScreenId::WaterLimits));
    e.push_back(screenEntry("НАСТРОЙКИ ГВС", ctx, ScreenId::DhwSettings));
    e.push_back(screenEntry("ОТКЛИК НА ТЕРМОСТАТ", ctx, ScreenId::ThermostatResponse));
    e.push_back(screenEntry("РАБОТА НАСОСА ЦО", ctx, ScreenId::HeatingPumpDuty));
    e.push_back(two("РАБОТА НАСОСА", "ПЕРВИЧНОГО КОНТУРА", ScreenId::PrimaryLoopPump));
    e.push_back(two("ОТКЛЮЧЕНИЕ ДАТЧИКА", "ТЕМПЕРАТУРЫ ШНЕКА", ScreenId::AugerSensorOff));
    e.push_back(two("ОТКЛЮЧЕНИЕ ДАТЧИКА", "ТЕМПЕРАТУРЫ ГАЗОВ", ScreenId::GasSensorOff));
    e.push_back(two("ОТКЛЮЧЕНИЕ АВАРИЙНОГО", "ТЕРМОВЫКЛЮЧАТЕЛЯ", ScreenId::ThermoSwitchOff));
    e.push_back(screenEntry("АНТИЗАМОРОЗКА", ctx, ScreenId::AntiFreeze));
    e.push_back(menuEntry("АНТИЗАКЛИНИВАНИЕ", "", ctx, makeAntiJamPage));
    e.push_back(screenEntry("АНТИЛЕГИОНЕЛЛА", ctx, ScreenId::AntiLegionella));
    if (isKestralo(f.variant)) {
        e.push_back(screenEntry("ДОПОЛНИТЕЛЬНЫЕ ДАТЧИКИ", ctx, ScreenId::ExtraSensors));
    } else {
        const bool fw = f.firmware == 0x2200 || f.firmware == 0x2214 || f.firmware == 0x2215;
        if (!f.emergencyStart && !fw)
            e.push_back({"СБРОС НАСТРОЕК", {}, [&ctx](Widget& menu) { confirmInstallerReset(*menu.frame(), ctx); }});
    }
    MenuStyle style = longListStyle();
    style.centred = true;
    return new ListMenuScreen(&frame, style, std::move(e));
}

// ---- general settings, sensors, pumps ---------------------------------------------

ListMenuScreen* makeGeneralMenu(AppFrame& frame, ScreenContext& ctx) {
    const MenuFacts f = menuFacts(ctx);
    std::vector<MenuEntry> e;
    e.push_back(screenEntry("ВРЕМЯ И ДАТА", ctx, ScreenId::DateTime));
    if (f.backlight) e.push_back(screenEntry("ЯРКОСТЬ ЭКРАНА", ctx, ScreenId::Backlight));
    e.push_back(screenEntry("ЗВУК НАЖАТИЯ", ctx, ScreenId::TouchSound));
    e.push_back(menuEntry("КОРРЕКЦИЯ ДАТЧИКОВ", "", ctx, makeSensorCorrectionMenu));
    e.push_back(screenEntry("СОХРАНЕНИЕ НАСТРОЕК", ctx, ScreenId::SettingsCopy));
    return new ListMenuScreen(&frame, generalListStyle(), std::move(e));
}

ListMenuScreen* makeSensorCorrectionMenu(AppFrame& frame, ScreenContext& ctx) {
    static constexpr const char* kSensors[] = {
        "ДАТЧИК ГАЗОВ", "ДАТЧИК КОТЛА",         "ДАТЧИК ОБРАТКИ", "ДАТЧИК ВОЗДУХА", "ДАТЧИК УЛИЦЫ",
        "ДАТЧИК ГВС",   "ДАТЧИК ВОЗД. КЛАПАНА", "ДАТЧИК ЦО",      "ДАТЧИК КЛАПАНА", "ДАТЧИК ПОДАЧИ",
    };
    std::vector<MenuEntry> e;
    for (int i = 0; i < 10; ++i) e.push_back(screenEntry(kSensors[i], ctx, ScreenId::SensorCorrection, i));
    MenuStyle style = longListStyle();
    style.fontSize = 13;
    return new ListMenuScreen(&frame, style, std::move(e));
}

ListMenuScreen* makePumpsMenu(AppFrame& frame, ScreenContext& ctx) {
    const MenuFacts f = menuFacts(ctx);
    std::vector<MenuEntry> e;
    e.push_back(screenEntry("РАБОТА НАСОСОВ", ctx, ScreenId::PumpsIdle));
    e.push_back(screenEntry("НАСОСЫ ОТОПЛЕНИЯ ГВС", ctx, ScreenId::HeatingPumps));
    e.push_back(screenEntry("НАСОС РЕЦИРКУЛЯЦИИ", ctx, ScreenId::RecirculationPump));
    e.push_back(screenEntry("КЛАПАН", ctx, ScreenId::Valve1));
    if (!f.emergencyStart && f.firmware != 0x2200) e.push_back(screenEntry("КЛАПАН 2", ctx, ScreenId::Valve2));
    return new ListMenuScreen(&frame, pumpsListStyle(), std::move(e));
}

// ---- button pages ---------------------------------------------------------------

Widget* makeRemoteAccessPage(AppFrame& frame, ScreenContext& ctx) {
    return new ButtonPage(&frame, "УДАЛЕННОЕ ПОДКЛЮЧЕНИЕ",
                          {{40, screenEntry("СЕТЕВОЕ ПОДКЛЮЧЕНИЕ", ctx, ScreenId::NetworkSettings)},
                           {90, screenEntry("УПРАВЛЕНИЕ ПО SMS", ctx, ScreenId::SmsControl)},
                           {140, screenEntry("QR КОД", ctx, ScreenId::QrCode)}});
}

Widget* makeAntiJamPage(AppFrame& frame, ScreenContext& ctx) {
    return new ButtonPage(&frame, "АНТИЗАКЛИНИВАНИЕ",
                          {{60, screenEntry("НАСОСЫ", ctx, ScreenId::PumpAntiJam)},
                           {110, screenEntry("ШНЕК", ctx, ScreenId::AugerAntiJam)}});
}

Widget* makeTestMenu(AppFrame& frame, ScreenContext& ctx) {
    std::vector<MenuEntry> e;
    e.push_back(screenEntry("ПОДМЕНА ЗНАЧЕНИЙ", ctx, ScreenId::SensorSubstitution));
    e.back().second = "ДАТЧИКОВ";
    e.push_back(screenEntry("ТЕСТИРОВАНИЕ", ctx, ScreenId::FaultTesting));
    e.back().second = "ОШИБОК";
    return new ListMenuScreen(&frame, generalListStyle(), std::move(e));
}

}  // namespace vesk
