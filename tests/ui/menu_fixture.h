// Helpers of the menu and editor tests: opening the user menu from the home
// screen, finding entries by text and pressing them where they are on the
// screen, and reading user.cfg.
#pragma once
#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "screens_fixture.h"
#include "ui/screens/editor/editor_screen.h"
#include "ui/screens/home_screen.h"
#include "ui/screens/menu/list_menu_screen.h"
#include "ui/screens/menu/menus.h"
#include "ui/screens/screen_parts.h"

namespace vesk::test {

class MenuTest : public ScreensTest {
protected:
    explicit MenuTest(Variant v) : ScreensTest(v) {
        home = new HomeScreen(frame.get(), ctx);
        home->setMenuOpener([this] { openUserMenu(*frame, ctx); });
        frame->setRoot(home);
        frame->invalidateAll();
        frame->processPending();
    }

    Widget* top() const { return frame->top(); }
    template <typename T>
    T* topAs() const {
        return dynamic_cast<T*>(frame->top());
    }

    void tapWidget(const Widget* w) {
        const Rect r = w->windowRect();
        tap((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }
    void holdWidget(const Widget* w, int64_t ms) {
        const Rect r = w->windowRect();
        const int x = (r.left + r.right) / 2, y = (r.top + r.bottom) / 2;
        frame->penDown(x, y);
        advance(ms);
        frame->penUp(x, y);
        frame->processPending();
    }

    // "МЕНЮ" on the home screen.
    ListMenuScreen* openMenu() {
        tapWidget(home->menuButton());
        return topAs<ListMenuScreen>();
    }

    static std::vector<std::string> texts(const ListMenuScreen* m) {
        std::vector<std::string> out;
        for (const MenuEntry& e : m->entries()) out.push_back(e.text);
        return out;
    }
    static bool has(const ListMenuScreen* m, const std::string& text) {
        const auto t = texts(m);
        return std::find(t.begin(), t.end(), text) != t.end();
    }

    // Scrolls the list with its down button until the entry is in view,
    // then returns the entry's button.
    Button* bringIntoView(ListMenuScreen* m, const std::string& text) {
        const auto t = texts(m);
        const auto it = std::find(t.begin(), t.end(), text);
        if (it == t.end()) return nullptr;
        Button* b = m->items()[size_t(it - t.begin())];
        const Rect view = m->list()->windowRect();
        for (int guard = 0; guard < 200; ++guard) {
            const Rect r = b->windowRect();
            if (r.top >= view.top && r.bottom <= view.bottom) return b;
            RepeatButton* arrow = r.top < view.top ? m->scrollUpButton() : m->scrollDownButton();
            if (!arrow) return b;
            tapWidget(arrow);
        }
        return b;
    }
    // Taps the entry (scrolling it into view first).
    void choose(ListMenuScreen* m, const std::string& text) {
        Button* b = bringIntoView(m, text);
        ASSERT_NE(b, nullptr) << text;
        tapWidget(b);
    }

    // Holds the protected entry, enters the code and presses "ОК".
    void enterCode(ListMenuScreen* m, const std::string& entry, int code) {
        Button* b = bringIntoView(m, entry);
        ASSERT_NE(b, nullptr);
        holdWidget(b, 6000);
        auto* a = topAs<AccessCodeScreen>();
        ASSERT_NE(a, nullptr) << "access screen";
        const int digits[4] = {code / 1000 % 10, code / 100 % 10, code / 10 % 10, code % 10};
        for (int c = 0; c < 4; ++c)
            for (int i = 0; i < digits[c]; ++i) tapWidget(a->upButton(c));
        tapWidget(a->okButton());
    }

    ListMenuScreen* openInstallerMenu() {
        ListMenuScreen* m = openMenu();
        enterCode(m, "МЕНЮ МОНТАЖНИКА", 5827);
        return topAs<ListMenuScreen>();
    }

    EditorScreen* openEditorFrom(ListMenuScreen* m, const std::string& entry) {
        choose(m, entry);
        return topAs<EditorScreen>();
    }

    std::string userCfg() const {
        const std::string p = dir.file("user.cfg");
        return std::filesystem::exists(p) ? readText(p) : std::string();
    }
    bool userCfgHas(const std::string& line) const { return userCfg().find("\n" + line + "\n") != std::string::npos || userCfg().rfind(line + "\n", 0) == 0; }

    template <typename F>
    void locked(F f) {
        std::lock_guard<std::recursive_mutex> g(state.stateLock);
        f(state);
    }

    HomeScreen* home = nullptr;
};

class OrvenaMenus : public MenuTest {
protected:
    OrvenaMenus() : MenuTest(Variant::Orvena) {}
};
class KestraloMenus : public MenuTest {
protected:
    KestraloMenus() : MenuTest(Variant::Kestralo) {}
};
class BothMenus : public MenuTest, public ::testing::WithParamInterface<Variant> {
protected:
    BothMenus() : MenuTest(GetParam()) {}
};

}  // namespace vesk::test
