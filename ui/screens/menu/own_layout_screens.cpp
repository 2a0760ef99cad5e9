// The screens with their own layouts, by name. Each case makes its screen
// (a Screen of 320 x 240 that pops and deletes itself when it closes);
// an id without a case has no screen yet and its menu entry does nothing.
#include "ui/screens/menu/screen_catalogue.h"

#include "ui/screens/own/date_time_screen.h"
#include "ui/screens/own/network_screens.h"
#include "ui/screens/own/page_screens.h"
#include "ui/screens/thermostat/thermostat_screens.h"
#include "ui/toolkit/app_frame.h"

namespace vesk {

Widget* makeOwnLayoutScreen(AppFrame& frame, ScreenContext& ctx, ScreenId id, int argument) {
    (void)argument;
    switch (id) {
        case ScreenId::Thermostat:
            return new ThermostatScreen(&frame, ctx);
        case ScreenId::DateTime:
            return new DateTimeScreen(&frame, ctx);
        case ScreenId::NetworkSettings:
            return new NetworkScreen(&frame, ctx);
        case ScreenId::QrCode:
            return new QrScreen(&frame, ctx);
        case ScreenId::SettingsCopy:
            return makeSettingsCopyScreen(frame, ctx);
        case ScreenId::FuelReset:
            if (isKestralo(ctx.state().variant)) return nullptr;
            return makeFuelResetScreen(frame, ctx);
        default:
            return nullptr;
    }
}

}  // namespace vesk
