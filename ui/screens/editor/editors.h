// The editor tables: one EditorSpec per editor of the menus, by screen id.
#pragma once
#include <optional>

#include "ui/screens/editor/editor_spec.h"
#include "ui/screens/menu/screen_catalogue.h"

namespace vesk {

// What an editor table may look at when the editor is opened.
struct EditorEnv {
    const Settings& settings;
    Variant variant;
    ScreenContext& ctx;
    const ServiceParams& svc() const { return settings.svc; }
    const UserParams& usr() const { return settings.usr; }
};

// Nothing for an id that is not an editor of the editor pattern.
std::optional<EditorSpec> editorSpec(ScreenId id, ScreenContext& ctx, int argument = 0);

// The families (user_editors.cpp, installer_editors.cpp, general_editors.cpp).
std::optional<EditorSpec> userEditor(ScreenId id, const EditorEnv& env);
std::optional<EditorSpec> installerEditor(ScreenId id, const EditorEnv& env);
std::optional<EditorSpec> generalEditor(ScreenId id, const EditorEnv& env);
// Weather curves and valves (valve_editors.cpp): the argument is the valve,
// 0 for the boiler's curve.
std::optional<EditorSpec> valveEditor(ScreenId id, const EditorEnv& env, int argument);
// Sensor corrections, bunker filling (own_editors.cpp).
std::optional<EditorSpec> ownLayoutEditor(ScreenId id, const EditorEnv& env, int argument);

// A single big value between its arrows (the set-point layout).
EditorSpec setpointEditor(std::string title, FieldSpec value);

}  // namespace vesk
