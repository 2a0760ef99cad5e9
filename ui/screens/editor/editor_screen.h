// The one editor screen pattern: the screen copies the values it edits when
// it is built, the user changes the copies (one selected number field moved
// by the increase/decrease buttons, check boxes, options), "ОК" stores the
// copies that differ from the values in force under stateLock and saves
// user.cfg when anything changed (or always, where the editor says so), and
// "ОТМЕНА" throws the copies away. What an editor edits is an EditorSpec.
// An editor opened from another editor (a valve's weather curve) starts
// from the opener's copies of the keys both edit and hands back what it
// stored, so the opener's "ОК" does not put the older value back.
#pragma once
#include <string_view>
#include <vector>

#include "ui/screens/editor/editor_spec.h"
#include "ui/screens/screen_context.h"
#include "ui/toolkit/button.h"
#include "ui/toolkit/label.h"
#include "ui/toolkit/repeat_button.h"
#include "ui/toolkit/screen.h"
#include "ui/toolkit/toggle_button.h"
#include "ui/toolkit/value_field.h"

namespace vesk {

class MenuList;
struct UserKey;

class EditorScreen : public Screen {
public:
    EditorScreen(AppFrame* frame, ScreenContext& ctx, EditorSpec spec);

    ScreenContext& context() const { return ctx_; }
    const EditorSpec& spec() const { return spec_; }

    int fieldCount() const { return static_cast<int>(slots_.size()); }
    // Index of the field bound to `key`, -1 when there is none.
    int indexOf(std::string_view key) const;
    int32_t copy(int field) const { return slots_[static_cast<size_t>(field)].copy; }
    // Sets a copy and shows it.
    void setCopy(int field, int32_t value);
    // The selected number field, -1 when none.
    int selected() const { return selected_; }

    // The press handlers (the buttons call these; tests too).
    void increase() { step(+1); }
    void decrease() { step(-1); }
    void ok();
    void cancel();

    void show() override;
    // Fields shown through a text function follow the state.
    void refresh() override;

    // Moves a field's widgets to row `y`; hides or shows them.
    void placeRow(int field, int y);
    void showField(int field, bool shown);

    // Free for the extra steps of one editor (the backlight's start level).
    int32_t memo = 0;

    Label* title() const { return title_; }
    Label* bigValue() const { return big_; }
    ValueField* valueField(int field) const;
    ToggleButton* checkBox(int field) const;
    // Check and choice labels, option-row plates and captions.
    Label* label(int field) const;
    Button* leftArrow(int field) const;
    Button* rightArrow(int field) const;
    Button* opener(int field) const;
    Button* okButton() const { return ok_; }
    Button* cancelButton() const { return cancel_; }
    RepeatButton* increaseButton() const { return inc_; }
    RepeatButton* decreaseButton() const { return dec_; }
    MenuList* overflowList() const { return overflow_; }

private:
    struct Slot {
        FieldSpec spec;
        const UserKey* key = nullptr;
        int fuel = 0;  // entry of a per-fuel key
        int32_t copy = 0;
        Widget* main = nullptr;  // value field, check box, plate, caption or button
        Label* label = nullptr;
        Button* left = nullptr;
        Button* right = nullptr;
        int rowY = 0;
    };

    void build();
    void layoutFields();
    void makeField(Slot& s, int x, int y, Widget* parent);
    void onClick(Widget& sender);
    void select(int field);
    void step(int dir);
    void stepOption(Slot& s, int dir);
    void show(Slot& s, bool redraw);
    void notifyChanged(int field);
    int32_t valueInForce(const Slot& s, const ControllerState& st) const;
    void store(Slot& s, ControllerState& st) const;
    void limits(const Slot& s, const EditorView& v, int32_t& lo, int32_t& hi) const;
    friend struct EditorView;

    ScreenContext& ctx_;
    EditorSpec spec_;
    std::vector<Slot> slots_;
    std::vector<bool> storedNow_;
    int selected_ = -1;
    Label* title_ = nullptr;
    Label* big_ = nullptr;
    Button* ok_ = nullptr;
    Button* cancel_ = nullptr;
    RepeatButton* inc_ = nullptr;
    RepeatButton* dec_ = nullptr;
    MenuList* overflow_ = nullptr;
    EditorScreen* opener_ = nullptr;
    bool closed_ = false;
    friend struct EditorCommit;
};

// Builds the editor and pushes it over the screen on top.
EditorScreen* openEditor(AppFrame& frame, ScreenContext& ctx, EditorSpec spec);

}  // namespace vesk
