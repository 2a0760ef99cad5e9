// EditorScreen: building the fields of a spec, the one click handler, the
// arrows with their limits and the "ОК" that stores the changed copies.
#include "ui/screens/editor/editor_screen.h"

#include <algorithm>
#include <mutex>

#include "settings/user_table.h"
#include "ui/screens/screen_parts.h"
#include "ui/toolkit/app_frame.h"
#include "ui/toolkit/caption_value_field.h"
#include "ui/toolkit/menu_list.h"

namespace vesk {

namespace {

constexpr int kCheckOff = 219, kCheckOn = 218;
constexpr int kLeftNormal = 247, kLeftPressed = 248;
constexpr int kRightNormal = 249, kRightPressed = 250;
constexpr int kPlate = 268;
constexpr int kOpenerNormal = 183, kOpenerPressed = 182;
constexpr int kFirstRowY = 25;
constexpr int kRowPitch = 40;
constexpr int kOptionRowPitch = 36;
constexpr int kCaptionRowPitch = 25;
// Rows end above "ОК" and "ОТМЕНА".
constexpr int kRowsBottom = 183;
constexpr int kFieldHeight = 36;
constexpr int kOverflowSpacing = 4;
constexpr int kFieldX = 10;
constexpr int kCheckLabelX = 56;
constexpr int kOptionLeftX = 20, kOptionPlateX = 66, kOptionRightX = 263;

bool isNumberLike(FieldKind k) { return k == FieldKind::Number || k == FieldKind::Option; }
bool isStored(FieldKind k) { return k != FieldKind::Caption && k != FieldKind::Opens; }

int rowPitch(FieldKind k) {
    if (k == FieldKind::OptionRow) return kOptionRowPitch;
    if (k == FieldKind::Caption) return kCaptionRowPitch;
    return kRowPitch;
}

int fuelIndex(const UserParams& u) { return std::clamp<int32_t>(u.FUEL, 0, kFuelCount - 1); }

const std::string& nameAt(const std::vector<std::string>& names, int32_t i) {
    static const std::string none;
    return i >= 0 && i < static_cast<int32_t>(names.size()) ? names[static_cast<size_t>(i)] : none;
}

}  // namespace

// ---- field helpers --------------------------------------------------------

FieldSpec number(std::string caption, std::string_view key, EditLimit lo, EditLimit hi) {
    FieldSpec f;
    f.caption = std::move(caption);
    f.key = key;
    f.lo = lo;
    f.hi = hi;
    return f;
}

FieldSpec number(std::string caption, ValueAccess access, EditLimit lo, EditLimit hi) {
    FieldSpec f = number(std::move(caption), std::string_view{}, lo, hi);
    f.access = access;
    return f;
}

FieldSpec check(std::string caption, std::string_view key) {
    FieldSpec f;
    f.kind = FieldKind::Check;
    f.caption = std::move(caption);
    f.key = key;
    return f;
}

FieldSpec check(std::string caption, ValueAccess access) {
    FieldSpec f = check(std::move(caption), std::string_view{});
    f.access = access;
    return f;
}

FieldSpec choice(std::string caption, std::string_view key, int value) {
    FieldSpec f = check(std::move(caption), key);
    f.kind = FieldKind::Choice;
    f.choice = value;
    return f;
}

FieldSpec option(std::string caption, std::string_view key, std::vector<std::string> names) {
    FieldSpec f;
    f.kind = FieldKind::Option;
    f.caption = std::move(caption);
    f.key = key;
    f.names = std::move(names);
    return f;
}

FieldSpec optionRow(std::string_view key, std::vector<std::string> names) {
    FieldSpec f;
    f.kind = FieldKind::OptionRow;
    f.key = key;
    f.names = std::move(names);
    return f;
}

FieldSpec caption(std::string text) {
    FieldSpec f;
    f.kind = FieldKind::Caption;
    f.caption = std::move(text);
    f.labelWidth = 300;
    return f;
}

FieldSpec opens(std::string caption, void (*open)(EditorScreen&)) {
    FieldSpec f;
    f.kind = FieldKind::Opens;
    f.caption = std::move(caption);
    f.open = open;
    f.faceNormal = kOpenerNormal;
    f.faceSelected = kOpenerPressed;
    return f;
}

int32_t EditorView::copy(std::string_view key) const {
    const int i = screen.indexOf(key);
    if (i >= 0) return screen.copy(i);
    const UserKey* k = findUserKey(screen.context().state().variant, key);
    return k ? k->field.get(settings.usr, fuelIndex(settings.usr)) : 0;
}

bool EditorCommit::stored(std::string_view key) const {
    const int i = screen.indexOf(key);
    return i >= 0 && screen.storedNow_[static_cast<size_t>(i)];
}

// ---- building ---------------------------------------------------------------

EditorScreen::EditorScreen(AppFrame* frame, ScreenContext& ctx, EditorSpec spec)
    : Screen(frame), ctx_(ctx), spec_(std::move(spec)) {
    build();
}

void EditorScreen::build() {
    setBackground(kEditorBackground, false);
    // An editor opened from another one starts from that editor's copies
    // of the keys both edit, and hands back what it stores on "ОК".
    opener_ = frame_ ? dynamic_cast<EditorScreen*>(frame_->top()) : nullptr;
    ControllerState& st = ctx_.state();
    {
        std::lock_guard<std::recursive_mutex> g(st.stateLock);
        for (FieldSpec& f : spec_.fields) {
            Slot s;
            s.spec = std::move(f);
            if (!s.spec.key.empty()) s.key = findUserKey(st.variant, s.spec.key);
            if (s.key && s.key->field.count() > 1) s.fuel = fuelIndex(st.usr);
            s.copy = valueInForce(s, st);
            if (const int shared = opener_ ? opener_->indexOf(s.spec.key) : -1; shared >= 0)
                s.copy = opener_->copy(shared);
            if (s.spec.kind == FieldKind::Check) s.copy = s.copy != 0;
            slots_.push_back(std::move(s));
        }
    }
    spec_.fields.clear();
    storedNow_.assign(slots_.size(), false);

    title_ = addTitle(this, spec_.title, spec_.titleY, spec_.titleHeight);
    layoutFields();

    auto onClick = [this](Widget& s) { this->onClick(s); };
    ok_ = addWideButton(this, spec_.okX, spec_.buttonsY, "ОК", onClick);
    cancel_ = addWideButton(this, spec_.cancelX, spec_.buttonsY, "ОТМЕНА", onClick);
    const bool arrows = spec_.layout == EditorLayout::Setpoint ||
                        std::any_of(slots_.begin(), slots_.end(), [](const Slot& s) { return isNumberLike(s.spec.kind); });
    if (arrows) {
        auto arrow = [&](const ArrowSpec& a) {
            auto* r = new RepeatButton(this);
            r->setBitmaps(a.x, a.y, a.normal, a.pressed);
            r->setClickHandler(onClick);
            addChild(r);
            return r;
        };
        inc_ = arrow(spec_.increase);
        dec_ = arrow(spec_.decrease);
    }
    for (Slot& s : slots_) show(s, false);
    notifyChanged(-1);
}

void EditorScreen::layoutFields() {
    if (spec_.layout == EditorLayout::Setpoint) {
        big_ = new Label(this);
        big_->setBounds(31, 47, 217 - 31, 160 - 47, 0, "");
        big_->setFont(spec_.bigFontSize, true);
        big_->setTextFormat(kDtCenter | kDtVCenter);
        addChild(big_);
        if (!slots_.empty()) {
            slots_[0].main = big_;
            selected_ = 0;
        }
        return;
    }
    // Rows without a given place follow each other; number fields that do
    // not fit above the buttons go into a list that scrolls by dragging.
    int y = kFirstRowY;
    int overflowTop = -1;
    for (Slot& s : slots_) {
        if (s.spec.y != kNextRow) continue;
        if (isNumberLike(s.spec.kind) && y + kFieldHeight > kRowsBottom && overflowTop < 0) overflowTop = y;
        s.rowY = y;
        y += rowPitch(s.spec.kind);
    }
    if (overflowTop >= 0) {
        // Every auto-placed number field from the first one on goes into it.
        int first = -1;
        for (size_t i = 0; i < slots_.size(); ++i)
            if (slots_[i].spec.y == kNextRow && isNumberLike(slots_[i].spec.kind)) {
                first = static_cast<int>(i);
                break;
            }
        overflowTop = slots_[static_cast<size_t>(first)].rowY;
        overflow_ = new MenuList(frame_, kFieldX, overflowTop, 235, kRowsBottom - overflowTop);
        overflow_->setOrientation(1);
        overflow_->setSpacing(kOverflowSpacing);
    }
    int overflowNext = 0;
    for (Slot& s : slots_) {
        const bool placed = s.spec.y != kNextRow;
        const int x = s.spec.x != kNextRow ? s.spec.x : kFieldX;
        if (!placed) {
            if (overflow_ && isNumberLike(s.spec.kind) && s.rowY >= overflow_->rect().top) {
                // Made where the list puts it: a value field's boxes follow
                // its first place.
                makeField(s, 0, overflowNext, overflow_);
                overflow_->addItem(s.main);
                overflowNext += kFieldHeight + kOverflowSpacing;
                continue;
            }
        } else {
            s.rowY = s.spec.y;
        }
        makeField(s, x, s.rowY, this);
    }
    if (overflow_) addChild(overflow_);
    for (size_t i = 0; i < slots_.size(); ++i)
        if (isNumberLike(slots_[i].spec.kind)) {
            selected_ = static_cast<int>(i);
            valueField(selected_)->setPressed(true, false);
            break;
        }
}

void EditorScreen::makeField(Slot& s, int x, int y, Widget* parent) {
    auto onClick = [this](Widget& w) { this->onClick(w); };
    const FieldSpec& f = s.spec;
    auto addTo = [&](Widget* w) {
        if (parent == this) addChild(w);
    };
    switch (f.kind) {
        case FieldKind::Number:
        case FieldKind::Option: {
            ValueField* v;
            if (!f.caption2.empty() || f.kind == FieldKind::Option) {
                auto* c = new CaptionValueField(parent);
                c->setSecondCaption(f.caption2);
                v = c;
            } else {
                v = new ValueField(parent);
            }
            v->setBitmaps(x, y, f.faceNormal, f.faceSelected);
            v->setText(f.caption);
            v->setFont(12, true);
            v->setTextColor(kBlack);
            v->setPressedTextColor(kBlack);
            v->setMargins(10, 0, 0, 0);
            // A caption too long for one line takes two.
            if (f.caption2.empty()) v->setTextFormat(kDtVCenter | kDtWordBreak);
            v->setValueKind(f.valueKind);
            // An option's name is in the caption; the box tells the arrows step it.
            if (f.kind == FieldKind::Option) v->setValueText("▲▼", false);
            v->setClickHandler(onClick);
            s.main = v;
            addTo(v);
            break;
        }
        case FieldKind::Check:
        case FieldKind::Choice: {
            auto* t = new ToggleButton(parent);
            t->setBitmaps(x, y, kCheckOff, kCheckOn);
            t->setClickHandler(onClick);
            s.main = t;
            addTo(t);
            // A box without a caption stands beside the field it switches.
            if (f.caption.empty()) break;
            s.label = new Label(parent);
            const int lx = f.labelX != kNextRow ? f.labelX : x + kCheckLabelX - kFieldX;
            const int ly = f.labelY != kNextRow ? f.labelY : y;
            s.label->setBounds(lx, ly, f.labelWidth, 35, f.labelPlate, f.caption);
            s.label->setTextFormat(kDtVCenter | kDtWordBreak);
            s.label->setClickHandler(onClick);
            addTo(s.label);
            break;
        }
        case FieldKind::OptionRow: {
            const int leftX = f.leftX != kNextRow ? f.leftX : kOptionLeftX;
            const int rightX = f.rightX != kNextRow ? f.rightX : kOptionRightX;
            s.left = new Button(parent);
            s.left->setBitmaps(leftX, y, kLeftNormal, kLeftPressed);
            s.left->setClickHandler(onClick);
            addTo(s.left);
            s.label = new Label(parent);
            if (f.plate < 0) {
                s.label->setBounds(kOptionPlateX, y, 0, 0, kPlate, "");
            } else {
                // The name between the arrows, on its plate or on the screen.
                const int from = s.left->rect().right;
                s.label->setBounds(from, y, rightX - from, s.left->rect().height(), f.plate, "");
            }
            s.label->setFont(13, true);
            s.label->setTextFormat(kDtCenter | kDtVCenter);
            s.main = s.label;
            addTo(s.label);
            s.right = new Button(parent);
            s.right->setBitmaps(rightX, y, kRightNormal, kRightPressed);
            s.right->setClickHandler(onClick);
            addTo(s.right);
            break;
        }
        case FieldKind::Caption: {
            s.label = new Label(parent);
            s.label->setBounds(x, y, f.labelWidth, 25, 0, f.caption);
            s.main = s.label;
            addTo(s.label);
            break;
        }
        case FieldKind::Opens: {
            auto* b = new Button(parent);
            b->setBitmaps(x, y, f.faceNormal, f.faceSelected);
            b->setFont(f.fontSize, true);
            b->setText(f.caption);
            // Light faces carry a blue caption, dark ones a white one.
            const bool light = f.faceNormal == kOpenerNormal || f.faceNormal == kWideButtonNormal;
            b->setTextColor(light ? kCaptionBlue : kWhite);
            b->setPressedTextColor(light ? kWhite : kBlack);
            b->setClickHandler(onClick);
            s.main = b;
            addTo(b);
            break;
        }
    }
}

// ---- reading and showing -----------------------------------------------------

int EditorScreen::indexOf(std::string_view key) const {
    for (size_t i = 0; i < slots_.size(); ++i)
        if (!key.empty() && slots_[i].spec.key == key) return static_cast<int>(i);
    return -1;
}

int32_t EditorScreen::valueInForce(const Slot& s, const ControllerState& st) const {
    if (s.key) return s.key->field.get(st.usr, s.fuel);
    if (s.spec.access.get) return s.spec.access.get(st);
    return 0;
}

void EditorScreen::store(Slot& s, ControllerState& st) const {
    if (s.key)
        s.key->field.set(st.usr, s.fuel, s.copy);
    else if (s.spec.access.set)
        s.spec.access.set(st, s.copy);
}

void EditorScreen::show(Slot& s, bool redraw) {
    switch (s.spec.kind) {
        case FieldKind::Number: {
            const std::string text = s.spec.shownText ? s.spec.shownText(*this, s.copy) : formatValue(s.spec.valueKind, s.copy);
            if (s.main == big_ && big_) {
                big_->setText(text);
                if (redraw) big_->repaint();
            } else if (auto* v = static_cast<ValueField*>(s.main)) {
                if (s.spec.dashesBelowZero && s.copy < 0)
                    v->setDashes(redraw);
                else
                    v->setValueText(text, redraw);
            }
            break;
        }
        case FieldKind::Option: {
            auto* c = static_cast<CaptionValueField*>(s.main);
            c->setSecondCaption(s.spec.caption2 + nameAt(s.spec.names, s.copy));
            if (redraw) c->repaint();
            break;
        }
        case FieldKind::OptionRow:
            s.label->setText(nameAt(s.spec.names, s.copy));
            if (redraw) s.label->repaint();
            break;
        case FieldKind::Check:
            static_cast<ToggleButton*>(s.main)->setPressed(s.copy != 0, redraw);
            break;
        case FieldKind::Choice:
            static_cast<ToggleButton*>(s.main)->setPressed(s.copy == s.spec.choice, redraw);
            break;
        case FieldKind::Caption:
        case FieldKind::Opens:
            break;
    }
}

void EditorScreen::setCopy(int field, int32_t value) {
    Slot& s = slots_[static_cast<size_t>(field)];
    s.copy = value;
    // While the editor is being built it is not on the screen yet.
    show(s, frame_->top() == this);
}

ValueField* EditorScreen::valueField(int field) const {
    if (field < 0 || field >= fieldCount()) return nullptr;
    const Slot& s = slots_[static_cast<size_t>(field)];
    return isNumberLike(s.spec.kind) && s.main != big_ ? static_cast<ValueField*>(s.main) : nullptr;
}

ToggleButton* EditorScreen::checkBox(int field) const {
    if (field < 0 || field >= fieldCount()) return nullptr;
    const Slot& s = slots_[static_cast<size_t>(field)];
    const bool box = s.spec.kind == FieldKind::Check || s.spec.kind == FieldKind::Choice;
    return box ? static_cast<ToggleButton*>(s.main) : nullptr;
}

Label* EditorScreen::label(int field) const {
    return field >= 0 && field < fieldCount() ? slots_[static_cast<size_t>(field)].label : nullptr;
}
Button* EditorScreen::leftArrow(int field) const {
    return field >= 0 && field < fieldCount() ? slots_[static_cast<size_t>(field)].left : nullptr;
}
Button* EditorScreen::rightArrow(int field) const {
    return field >= 0 && field < fieldCount() ? slots_[static_cast<size_t>(field)].right : nullptr;
}
Button* EditorScreen::opener(int field) const {
    if (field < 0 || field >= fieldCount()) return nullptr;
    const Slot& s = slots_[static_cast<size_t>(field)];
    return s.spec.kind == FieldKind::Opens ? static_cast<Button*>(s.main) : nullptr;
}

void EditorScreen::placeRow(int field, int y) {
    Slot& s = slots_[static_cast<size_t>(field)];
    s.rowY = y;
    for (Widget* w : {s.main, static_cast<Widget*>(s.label), static_cast<Widget*>(s.left),
                      static_cast<Widget*>(s.right)})
        if (w) w->moveTo(w->rect().left, y);
    invalidate();
}

void EditorScreen::showField(int field, bool shown) {
    Slot& s = slots_[static_cast<size_t>(field)];
    for (Widget* w : {s.main, static_cast<Widget*>(s.label), static_cast<Widget*>(s.left),
                      static_cast<Widget*>(s.right)})
        if (w) w->setVisible(shown, false);
    invalidate();
}

void EditorScreen::show() {
    // Copies handed back by an editor opened from this one.
    for (Slot& s : slots_) EditorScreen::show(s, false);
    Screen::show();
}

void EditorScreen::refresh() {
    for (Slot& s : slots_)
        if (s.spec.shownText) show(s, true);
    if (spec_.refreshed) spec_.refreshed(*this);
}

// ---- pressing -------------------------------------------------------------------

void EditorScreen::notifyChanged(int field) {
    if (spec_.changed) spec_.changed(*this, field);
}

void EditorScreen::select(int field) {
    if (selected_ == field) return;
    if (ValueField* old = valueField(selected_)) old->setPressed(false, true);
    selected_ = field;
}

void EditorScreen::limits(const Slot& s, const EditorView& v, int32_t& lo, int32_t& hi) const {
    int32_t keyLo = INT32_MIN, keyHi = INT32_MAX;
    if (s.key) {
        const Rule& r = s.key->ruleFor(ctx_.state().variant);
        switch (r.test) {
            case Test::Range:
                keyLo = r.lo.get(v.settings);
                keyHi = r.hi.get(v.settings);
                break;
            case Test::AtMost:
                keyLo = 0;
                keyHi = r.hi.get(v.settings);
                break;
            case Test::Below:
                keyLo = 0;
                keyHi = r.hi.get(v.settings) - 1;
                break;
            case Test::AtLeast:
                keyLo = r.lo.get(v.settings);
                break;
            default:
                break;
        }
    }
    auto get = [&](const EditLimit& l, int32_t fallback) {
        if (l.fn) return l.fn(v);
        return l.fixed ? l.value : fallback;
    };
    lo = std::max(get(s.spec.lo, keyLo), keyLo);
    hi = std::min(get(s.spec.hi, keyHi), keyHi);
}

void EditorScreen::step(int dir) {
    if (selected_ < 0) return;
    Slot& s = slots_[static_cast<size_t>(selected_)];
    if (s.spec.kind == FieldKind::Option) {
        stepOption(s, dir);
        return;
    }
    // Limits read the settings as they are at this press.
    ControllerState& st = ctx_.state();
    Settings now;
    {
        std::lock_guard<std::recursive_mutex> g(st.stateLock);
        now = st.settings;
    }
    const EditorView v{now, *this};
    int32_t lo, hi;
    limits(s, v, lo, hi);
    const int64_t next = int64_t(s.copy) + int64_t(dir) * s.spec.step;
    if (dir > 0 ? next > hi : next < lo) return;
    s.copy = static_cast<int32_t>(next);
    show(s, true);
    notifyChanged(selected_);
}

void EditorScreen::stepOption(Slot& s, int dir) {
    const int n = static_cast<int>(s.spec.names.size());
    if (n == 0) return;
    s.copy = ((s.copy + dir) % n + n) % n;
    show(s, true);
    notifyChanged(static_cast<int>(&s - slots_.data()));
}

void EditorScreen::onClick(Widget& sender) {
    if (closed_) return;
    if (&sender == ok_) return ok();
    if (&sender == cancel_) return cancel();
    if (&sender == inc_) return increase();
    if (&sender == dec_) return decrease();
    for (size_t i = 0; i < slots_.size(); ++i) {
        Slot& s = slots_[i];
        const int field = static_cast<int>(i);
        if (&sender == s.left || &sender == s.right) {
            stepOption(s, &sender == s.left ? -1 : +1);
            return;
        }
        const bool onMain = &sender == s.main, onLabel = &sender == s.label && s.label != s.main;
        if (!onMain && !onLabel) continue;
        switch (s.spec.kind) {
            case FieldKind::Number:
            case FieldKind::Option:
                select(field);
                return;
            case FieldKind::Check: {
                auto* box = static_cast<ToggleButton*>(s.main);
                // The box flips itself; its label flips it.
                if (onLabel) box->setPressed(!box->pressed(), true);
                s.copy = box->pressed() ? 1 : 0;
                notifyChanged(field);
                return;
            }
            case FieldKind::Choice:
                // The tapped choice holds, whatever the box did to itself.
                for (Slot& o : slots_)
                    if (o.spec.kind == FieldKind::Choice && o.spec.key == s.spec.key) {
                        o.copy = s.spec.choice;
                        show(o, true);
                    }
                notifyChanged(field);
                return;
            case FieldKind::Opens:
                if (s.spec.open) s.spec.open(*this);
                return;
            default:
                return;
        }
    }
}

void EditorScreen::ok() {
    if (closed_) return;
    if (spec_.accept && !spec_.accept(*this)) return;
    ControllerState& st = ctx_.state();
    {
        std::lock_guard<std::recursive_mutex> g(st.stateLock);
        const Settings before = st.settings;
        const EditorView v{before, *this};
        bool changed = false;
        for (size_t i = 0; i < slots_.size(); ++i) {
            Slot& s = slots_[i];
            storedNow_[i] = false;
            if (!isStored(s.spec.kind) || (s.spec.storeWhen && !s.spec.storeWhen(v))) continue;
            // Choices of one key are one value: the first box stands for it.
            if (s.spec.kind == FieldKind::Choice && indexOf(s.spec.key) != static_cast<int>(i)) continue;
            if (valueInForce(s, st) == s.copy) continue;
            store(s, st);
            storedNow_[i] = true;
            changed = true;
        }
        EditorCommit c{st, *this, changed};
        if (spec_.afterStore) spec_.afterStore(c);
        if (spec_.savesFile && (c.changed || spec_.alwaysSaves)) ctx_.saveUserSettings();
    }
    if (opener_)
        for (const Slot& s : slots_)
            if (const int shared = isStored(s.spec.kind) ? opener_->indexOf(s.spec.key) : -1; shared >= 0)
                opener_->slots_[static_cast<size_t>(shared)].copy = s.copy;
    ctx_.control.refresh.postRefresh();
    closed_ = true;
    closeScreen(this);
}

void EditorScreen::cancel() {
    if (closed_) return;
    closed_ = true;
    if (spec_.cancelled) spec_.cancelled(*this);
    closeScreen(this);
}

EditorScreen* openEditor(AppFrame& frame, ScreenContext& ctx, EditorSpec spec) {
    auto* e = new EditorScreen(&frame, ctx, std::move(spec));
    frame.push(e);
    return e;
}

}  // namespace vesk
