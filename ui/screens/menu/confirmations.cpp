// The reset confirmations.
#include "ui/screens/menu/confirmations.h"

#include <mutex>

#include "platform/backlight.h"
#include "settings/user_table.h"
#include "ui/toolkit/app_frame.h"
#include "ui/toolkit/message_box.h"

namespace vesk {

namespace {

void confirm(AppFrame& frame, const std::string& text, std::function<void()> onOk) {
    auto* box = new MessageBox(&frame);
    box->build("ВНИМАНИЕ!", text, 1);
    box->setResultHandler([onOk = std::move(onOk)](bool cancelled) {
        if (!cancelled) onOk();
    });
    frame.push(box);
}

int32_t today(ScreenContext& ctx) { return antiJamDayNumber(ctx.control.clock.localTime()); }

}  // namespace

void confirmFactoryReset(AppFrame& frame, ScreenContext& ctx) {
    confirm(frame, "ВЫ ДЕЙСТВИТЕЛЬНО ХОТИТЕ СБРОСИТЬ ВСЕ НАСТРОЙКИ НА ЗАВОДСКИЕ?", [&ctx] {
        ControllerState& s = ctx.state();
        int32_t level, dimming;
        {
            std::lock_guard<std::recursive_mutex> g(s.stateLock);
            userDefaults(s.settings, s.variant, true, today(ctx));
            ctx.saveUserSettings();
            level = s.usr.BL_LEVEL;
            dimming = s.usr.EN_BL_OFF;
        }
        if (ctx.registry) {
            applyBacklightLevel(*ctx.registry, level);
            applyIdleDimming(*ctx.registry, dimming != 0);
        }
        ctx.control.refresh.postRefresh();
    });
}

void confirmInstallerReset(AppFrame& frame, ScreenContext& ctx) {
    confirm(frame, "ВЫ ДЕЙСТВИТЕЛЬНО ХОТИТЕ СБРОСИТЬ НАСТРОЙКИ МОНТАЖНИКА НА ЗАВОДСКИЕ?", [&ctx] {
        ControllerState& s = ctx.state();
        {
            std::lock_guard<std::recursive_mutex> g(s.stateLock);
            installerDefaults(s.settings, s.variant, today(ctx));
            // The protections these settings switch start their timing afresh.
            s.protection.reminderStart = -1;
            s.protection.augerSensorCounter = 0;
            ctx.saveUserSettings();
        }
        ctx.control.refresh.postRefresh();
    });
}

}  // namespace vesk
