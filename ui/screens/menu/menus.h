// The menu tree: the user menu opened by "МЕНЮ" and everything below it.
// Each menu is a table of entries; conditions are evaluated when the menu
// is built, so the user menu, rebuilt at each "МЕНЮ", follows the power
// board's firmware as it is then.
#pragma once
#include <memory>

#include "ui/screens/menu/access_code_screen.h"
#include "ui/screens/menu/list_menu_screen.h"
#include "ui/screens/screen_context.h"

namespace vesk {

class AppFrame;

// What the entry conditions look at, taken once when a menu is built.
struct MenuFacts {
    Variant variant = Variant::Orvena;
    uint16_t firmware = 0;
    bool emergencyStart = false;  // service EMSTART_ENABLE
    bool backlight = false;       // a backlight the panel can adjust
};
MenuFacts menuFacts(ScreenContext& ctx);

// The user menu owns the access-code buffers, reset each time it is made.
class UserMenuScreen : public ListMenuScreen {
public:
    UserMenuScreen(AppFrame* frame, ScreenContext& ctx, const MenuFacts& facts);
    AccessCodes& codes() { return codes_; }
    // The service hand-over under way, if any; it ends with the menu.
    void setHandover(std::unique_ptr<Widget> h) { handover_ = std::move(h); }
    Widget* handover() const { return handover_.get(); }

private:
    AccessCodes codes_;
    std::unique_ptr<Widget> handover_;
};

UserMenuScreen* makeUserMenu(AppFrame& frame, ScreenContext& ctx);
// Opens the user menu over the home screen (the "МЕНЮ" button).
void openUserMenu(AppFrame& frame, ScreenContext& ctx);

ListMenuScreen* makeInstallerMenu(AppFrame& frame, ScreenContext& ctx);
ListMenuScreen* makeGeneralMenu(AppFrame& frame, ScreenContext& ctx);
ListMenuScreen* makeSensorCorrectionMenu(AppFrame& frame, ScreenContext& ctx);
ListMenuScreen* makePumpsMenu(AppFrame& frame, ScreenContext& ctx);
Widget* makeRemoteAccessPage(AppFrame& frame, ScreenContext& ctx);
Widget* makeAntiJamPage(AppFrame& frame, ScreenContext& ctx);
Widget* makeTestMenu(AppFrame& frame, ScreenContext& ctx);

// The installer code 5827; KESTRALO also takes 8516.
bool isInstallerCode(Variant v, const AccessDigits& d);
constexpr int kInstallerCode = 5827;
constexpr int kInstallerCodeKestralo = 8516;
constexpr int kServiceCode = 7405;

}  // namespace vesk
