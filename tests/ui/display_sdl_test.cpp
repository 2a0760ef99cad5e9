// The SDL window backend under SDL's dummy video driver: it opens, shows a
// frame, turns mouse events into pen events and wakes from other threads.
#include <SDL.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "platform/display/sdl_display.h"

namespace vesk {
namespace {

constexpr int kLongWaitMs = 120000;

class SdlDisplayTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        std::string why;
        display = openSdlDisplay(why, 1);
        ASSERT_NE(display, nullptr) << why;
    }
    // Events as SDL would deliver them for a window of the panel's size.
    static void pushButton(Uint32 type, Uint8 button, int x, int y) {
        SDL_Event e{};
        e.type = type;
        e.button.button = button;
        e.button.x = x;
        e.button.y = y;
        ASSERT_EQ(SDL_PushEvent(&e), 1);
    }
    static void pushMotion(int x, int y) {
        SDL_Event e{};
        e.type = SDL_MOUSEMOTION;
        e.motion.x = x;
        e.motion.y = y;
        ASSERT_EQ(SDL_PushEvent(&e), 1);
    }
    std::unique_ptr<Display> display;
};

TEST_F(SdlDisplayTest, PresentsAndWakes) {
    EXPECT_EQ(display->name(), "sdl");
    uint32_t* px = display->pixels();
    for (int i = 0; i < kScreenWidth * 10; ++i) px[i] = 0x00FF0000;
    display->present({0, 0, kScreenWidth, 10});
    display->present({-50, -50, 1000, 1000});  // clipped, not a crash
    display->present({10, 10, 10, 20});        // empty
    EXPECT_EQ(display->pixels()[0], 0x00FF0000u);

    std::vector<PenEvent> ev;
    auto start = std::chrono::steady_clock::now();
    std::thread t([&] { display->wake(); });
    EXPECT_TRUE(display->waitEvents(ev, kLongWaitMs));
    t.join();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(kLongWaitMs / 2));
    // Many wakes before anyone waits collapse into one and leave SDL's queue usable.
    for (int i = 0; i < 100000; ++i) display->wake();
    EXPECT_TRUE(display->waitEvents(ev, kLongWaitMs));
    EXPECT_TRUE(ev.empty());
}

TEST_F(SdlDisplayTest, LeftButtonIsThePen) {
    pushMotion(1, 1);                                  // hovering: no pen
    pushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 3, 3);
    pushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 10, 20);
    pushMotion(10, 20);                                // same pixel: nothing new
    pushMotion(400, 25);                               // dragged off the window
    pushButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 400, -3);
    pushMotion(50, 50);
    std::vector<PenEvent> ev;
    while (ev.size() < 3) ASSERT_TRUE(display->waitEvents(ev, kLongWaitMs));
    std::vector<PenEvent> rest;
    ASSERT_TRUE(display->waitEvents(rest, 0));
    ev.insert(ev.end(), rest.begin(), rest.end());
    ASSERT_EQ(ev.size(), 3u);
    EXPECT_EQ(ev[0].kind, PenEvent::Kind::Down);
    EXPECT_EQ(ev[0].x, 10);
    EXPECT_EQ(ev[0].y, 20);
    EXPECT_EQ(ev[1].kind, PenEvent::Kind::Move);
    EXPECT_EQ(ev[1].x, kScreenWidth - 1);
    EXPECT_EQ(ev[2].kind, PenEvent::Kind::Up);
    EXPECT_EQ(ev[2].x, kScreenWidth - 1);
    EXPECT_EQ(ev[2].y, 0);
}

TEST_F(SdlDisplayTest, QuitEndsTheLoop) {
    SDL_Event e{};
    e.type = SDL_QUIT;
    ASSERT_EQ(SDL_PushEvent(&e), 1);
    std::vector<PenEvent> ev;
    EXPECT_FALSE(display->waitEvents(ev, kLongWaitMs));
    EXPECT_FALSE(display->waitEvents(ev, 0));
}

TEST(OpenDisplay, ExplicitSdlUsesTheWindow) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    EXPECT_EQ(openDisplay("sdl")->name(), "sdl");
}

}  // namespace
}  // namespace vesk
