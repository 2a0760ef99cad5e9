// The screen catalogue: editors first, then the screens of their own.
#include "ui/screens/menu/screen_catalogue.h"

#include "ui/screens/editor/editor_screen.h"
#include "ui/screens/editor/editors.h"
#include "ui/toolkit/app_frame.h"

namespace vesk {

Widget* makeScreen(AppFrame& frame, ScreenContext& ctx, ScreenId id, int argument) {
    if (auto spec = editorSpec(id, ctx, argument)) return new EditorScreen(&frame, ctx, std::move(*spec));
    return makeOwnLayoutScreen(frame, ctx, id, argument);
}

bool openScreen(AppFrame& frame, ScreenContext& ctx, ScreenId id, int argument) {
    Widget* w = makeScreen(frame, ctx, id, argument);
    if (!w) return false;
    frame.push(w);
    return true;
}

}  // namespace vesk
