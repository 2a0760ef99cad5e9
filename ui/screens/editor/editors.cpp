// Editor lookup and the set-point layout.
#include "ui/screens/editor/editors.h"

#include <mutex>

namespace vesk {

EditorSpec setpointEditor(std::string title, FieldSpec value) {
    EditorSpec e;
    e.title = std::move(title);
    e.layout = EditorLayout::Setpoint;
    e.fields.push_back(std::move(value));
    e.increase = {217, 47, 187, 184};
    e.decrease = {217, 110, 185, 186};
    e.buttonsY = 175;
    e.alwaysSaves = true;
    return e;
}

std::optional<EditorSpec> editorSpec(ScreenId id, ScreenContext& ctx, int argument) {
    ControllerState& s = ctx.state();
    Settings now;
    {
        std::lock_guard<std::recursive_mutex> g(s.stateLock);
        now = s.settings;
    }
    const EditorEnv env{now, s.variant, ctx};
    if (auto e = userEditor(id, env)) return e;
    if (auto e = installerEditor(id, env)) return e;
    if (auto e = valveEditor(id, env, argument)) return e;
    if (auto e = ownLayoutEditor(id, env, argument)) return e;
    return generalEditor(id, env);
}

}  // namespace vesk
