// Screens that are pages of big buttons: "КОНФИГУРАЦИЯ" (the settings copy
// to and from the SD card) and ORVENA's "СБРОС РАСХОДА".
#include "ui/screens/own/page_screens.h"

#include <memory>
#include <mutex>

#include "core/refresh_sink.h"

#include "control/fuel_accounting.h"
#include "net/network_settings.h"
#include "platform/backlight.h"
#include "settings/sd_transfer.h"
#include "settings/user_table.h"
#include "ui/screens/menu/button_page.h"
#include "ui/screens/screen_parts.h"
#include "ui/toolkit/app_frame.h"

namespace vesk {

namespace {

void report(AppFrame& frame, SdOperation op, SdResult r) {
    const SdMessage m = sdMessage(op, r);
    if (!m.title.empty()) showMessage(frame, std::string(m.title), std::string(m.text));
}

// After a good import: every setting reloaded at once under stateLock, the
// Ethernet address from the imported serial number, network access off
// until enabled again, the backlight level applied.
SdResult reloadImported(ScreenContext& ctx) {
    ControllerState& s = ctx.state();
    int32_t level;
    bool saved;
    {
        std::lock_guard<std::recursive_mutex> g(s.stateLock);
        const UserParams before = s.usr;
        saved = applyImportedSettings(ctx.settingsDir, s.settings, s.variant,
                                      antiJamDayNumber(ctx.control.clock.localTime()), s.settingsFileLock);
        userSettingsChanged(s, before);
        if (ctx.registry) writeEthernetAddress(*ctx.registry, variantInfo(s.variant).macPrefix, s.svc.SERIAL);
        level = s.usr.BL_LEVEL;
    }
    if (ctx.registry) applyBacklightLevel(*ctx.registry, level);
    ctx.control.refresh.postRefresh();
    return saved ? SdResult::Ok : SdResult::LoadError;
}

}  // namespace

Widget* makeSettingsCopyScreen(AppFrame& frame, ScreenContext& ctx) {
    // The key stream lives as long as the page and runs on from one
    // operation to the next.
    auto keys = std::make_shared<KeyStream>();
    return new ButtonPage(
        &frame, "КОНФИГУРАЦИЯ",
        {{40,
          {"СОХРАНИТЬ НАСТРОЙКИ НА SDCard", {},
           [&ctx, keys](Widget& page) {
               report(*page.frame(), SdOperation::Export, exportToSd(ctx.settingsDir, ctx.sdDir, *keys));
           }}},
         {90,
          {"ЗАГРУЗИТЬ НАСТРОЙКИ С SDCard", {}, [&ctx, keys](Widget& page) {
               SdResult r = importFromSd(ctx.settingsDir, ctx.sdDir, *keys, ctx.state().settingsFileLock);
               if (r == SdResult::Ok) r = reloadImported(ctx);
               report(*page.frame(), SdOperation::Import, r);
           }}}});
}

Widget* makeFuelResetScreen(AppFrame& frame, ScreenContext& ctx) {
    auto reset = [&ctx](unsigned flags) {
        return [&ctx, flags](Widget&) {
            if (FuelAccounting* f = ctx.fuel()) f->reset(flags);
            ctx.control.refresh.postRefresh();
        };
    };
    return new ButtonPage(&frame, "СБРОС РАСХОДА",
                          {{50, {"СЧЕТЧИКИ ПО ВРЕМЕНИ", {}, reset(kFuelResetTime)}},
                           {100, {"СВОЙ СЧЕТЧИК", {}, reset(kFuelResetOwn)}}});
}

}  // namespace vesk
