// Settings editors described as data. Every editor is one EditorSpec: a
// title, its fields (what each edits, how it is shown, where it sits, the
// limits its arrows keep to) and the few extra steps some editors take on
// "ОК". EditorScreen (editor_screen.h) builds and runs any of them.
//
// To add an editor: write a function returning its EditorSpec (see
// user_editors.cpp for examples) and open it with openEditor(). Fields are
// made with the helpers below and read as a table:
//     number("МАКСИМУМ", "POW_UST", 50, 100).at(10, 50).as(kValuePercent)
// A limit may be a constant, a function of the settings in force and the
// screen's other copies (evaluated at the moment of the press), or left out:
// then the acceptance range of the field's key serves. Limits are always
// kept within the key's acceptance range, so what the editor stores is read
// back from user.cfg after a restart.
#pragma once
#include <climits>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "core/controller_state.h"
#include "ui/toolkit/value_format.h"

namespace vesk {

class EditorScreen;

// What a limit may read at the moment of a press: the settings in force
// (copied under stateLock then) and the screen's edit copies.
struct EditorView {
    const Settings& settings;
    const EditorScreen& screen;
    const ServiceParams& svc() const { return settings.svc; }
    const UserParams& usr() const { return settings.usr; }
    // The edit copy of the field bound to `key`; the value in force when
    // the screen has no such field.
    int32_t copy(std::string_view key) const;
};

using EditorLimitFn = int32_t (*)(const EditorView&);

struct EditLimit {
    constexpr EditLimit() = default;
    constexpr EditLimit(int32_t v) : fixed(true), value(v) {}
    constexpr EditLimit(EditorLimitFn f) : fn(f) {}
    // Captureless lambdas, written in the tables.
    template <typename F>
        requires std::is_convertible_v<F, EditorLimitFn>
    constexpr EditLimit(F f) : fn(static_cast<EditorLimitFn>(f)) {}
    bool fixed = false;
    int32_t value = 0;
    EditorLimitFn fn = nullptr;
};

// A value that is not a user-table key (the SMS permission, the hours of a
// minute-of-day key, sensor substitution values).
struct ValueAccess {
    int32_t (*get)(const ControllerState&) = nullptr;
    void (*set)(ControllerState&, int32_t) = nullptr;
};

enum class FieldKind : uint8_t {
    Number,     // value field; the editor's arrows change the selected one
    Check,      // check box with a clickable label beside it
    Choice,     // one of several check boxes on one key; ticking one clears the others
    Option,     // names in a value field, stepped by the editor's arrows, wrapping
    OptionRow,  // a name on a plate between its own left and right arrows, wrapping
    Caption,    // a line of text
    Opens,      // a button that opens another screen
};

constexpr int kNextRow = -1;

struct FieldSpec {
    FieldKind kind = FieldKind::Number;
    std::string caption;
    std::string caption2;     // second caption line; Option: text before the name
    std::string_view key;     // user key (per-fuel keys: the entry of the FUEL in force)
    ValueAccess access;       // when there is no key
    int valueKind = kValuePlain;
    EditLimit lo, hi;
    int step = 1;
    std::vector<std::string> names;  // Option, OptionRow
    int choice = 0;                  // Choice: the value this box stands for
    int x = kNextRow, y = kNextRow;
    int labelWidth = 190;            // Check/Choice label, Caption
    int faceNormal = 229, faceSelected = 228;  // Number/Option/Opens pictures
    int labelPlate = 0;              // Check/Choice: a picture under the label
    bool dashesBelowZero = false;    // Number: a negative value reads "--"
    // Opens: what the button opens.
    void (*open)(EditorScreen&) = nullptr;
    // Stored on "ОК" only while this holds (null: always).
    bool (*storeWhen)(const EditorView&) = nullptr;
    // Check/Choice: where the label lies (default: beside the box).
    int labelX = kNextRow, labelY = kNextRow;
    // Opens: caption font size.
    int fontSize = 12;
    // OptionRow: the arrows' x (the name lies between them) and the name's
    // plate (-1: the standard plate, 0: none).
    int leftX = kNextRow, rightX = kNextRow, plate = -1;
    // A number's text where no value kind serves (it may read the state:
    // such fields are shown again on every refresh).
    std::string (*shownText)(const EditorScreen&, int32_t value) = nullptr;

    FieldSpec at(int px, int py) && { x = px; y = py; return std::move(*this); }
    FieldSpec as(int shownAs) && { valueKind = shownAs; return std::move(*this); }
    FieldSpec second(std::string text) && { caption2 = std::move(text); return std::move(*this); }
    FieldSpec stepBy(int s) && { step = s; return std::move(*this); }
    FieldSpec labelled(int width) && { labelWidth = width; return std::move(*this); }
    FieldSpec faces(int normal, int selected) && {
        faceNormal = normal;
        faceSelected = selected;
        return std::move(*this);
    }
    FieldSpec onPlate(int picture) && { labelPlate = picture; return std::move(*this); }
    FieldSpec dashedBelowZero() && { dashesBelowZero = true; return std::move(*this); }
    FieldSpec storedWhen(bool (*f)(const EditorView&)) && { storeWhen = f; return std::move(*this); }
    FieldSpec labelAt(int px, int py) && { labelX = px; labelY = py; return std::move(*this); }
    FieldSpec font(int size) && { fontSize = size; return std::move(*this); }
    FieldSpec arrowsAt(int left, int right, int plateResource) && {
        leftX = left; rightX = right; plate = plateResource; return std::move(*this);
    }
    FieldSpec shownBy(std::string (*f)(const EditorScreen&, int32_t)) && { shownText = f; return std::move(*this); }
};

FieldSpec number(std::string caption, std::string_view key, EditLimit lo = {}, EditLimit hi = {});
FieldSpec number(std::string caption, ValueAccess access, EditLimit lo, EditLimit hi);
FieldSpec check(std::string caption, std::string_view key);
FieldSpec check(std::string caption, ValueAccess access);
FieldSpec choice(std::string caption, std::string_view key, int value);
FieldSpec option(std::string caption, std::string_view key, std::vector<std::string> names);
FieldSpec optionRow(std::string_view key, std::vector<std::string> names);
FieldSpec caption(std::string text);
FieldSpec opens(std::string caption, void (*open)(EditorScreen&));

enum class EditorLayout : uint8_t {
    Fields,    // value fields, check boxes and options under the title
    Setpoint,  // one big value between "ОК"/"ОТМЕНА" and its arrows
};

struct ArrowSpec {
    int x, y, normal, pressed;
};

// What the extra "ОК" steps see: called under stateLock after the changed
// copies were stored; setting `changed` makes the editor save user.cfg.
struct EditorCommit {
    ControllerState& s;
    EditorScreen& screen;
    bool changed;
    // Whether the field bound to `key` was stored just now.
    bool stored(std::string_view key) const;
};

struct EditorSpec {
    std::string title;
    int titleY = 0;
    int titleHeight = 25;
    EditorLayout layout = EditorLayout::Fields;
    std::vector<FieldSpec> fields;
    bool alwaysSaves = false;
    // False for editors of values that are not kept in user.cfg.
    bool savesFile = true;
    ArrowSpec increase{255, 47, 233, 230};
    ArrowSpec decrease{255, 110, 231, 232};
    int buttonsY = 185;
    int okX = 44, cancelX = 182;
    // Which of several like editors this is (a valve, a sensor); the
    // editor's own functions read it through the screen.
    int argument = 0;
    // Extra "ОК" steps (under stateLock, before the save).
    void (*afterStore)(EditorCommit&) = nullptr;
    // After the build (-1) and after each change of a copy (its field).
    void (*changed)(EditorScreen&, int field) = nullptr;
    // "ОТМЕНА", before the screen closes.
    void (*cancelled)(EditorScreen&) = nullptr;
    // On every refresh message while the editor is on top.
    void (*refreshed)(EditorScreen&) = nullptr;
    // Size of the set-point layout's big value.
    int bigFontSize = 60;
    // "ОК" is refused (nothing stored, the editor stays) when this is false.
    bool (*accept)(EditorScreen&) = nullptr;
};

}  // namespace vesk
