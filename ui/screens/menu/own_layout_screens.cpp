// The screens with their own layouts, by name. Each case makes its screen
// (a Screen of 320 x 240 that pops and deletes itself when it closes);
// an id without a case has no screen yet and its menu entry does nothing.
#include "ui/screens/menu/screen_catalogue.h"

namespace vesk {

Widget* makeOwnLayoutScreen(AppFrame& frame, ScreenContext& ctx, ScreenId id, int argument) {
    (void)frame;
    (void)ctx;
    (void)argument;
    switch (id) {
        default:
            return nullptr;
    }
}

}  // namespace vesk
