// The in-memory display and the backend choice.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "platform/display/headless_display.h"

namespace vesk {
namespace {

using Clock = std::chrono::steady_clock;
// Far beyond what a wake needs; reaching it means the wake was lost.
constexpr int kLongWaitMs = 120000;

TEST(HeadlessDisplay, WakeAndPensFromOtherThreadsEndTheWait) {
    HeadlessDisplay d;
    std::vector<PenEvent> ev;
    auto start = Clock::now();
    std::thread t([&] { d.wake(); });
    EXPECT_TRUE(d.waitEvents(ev, kLongWaitMs));
    t.join();
    EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(kLongWaitMs / 2));
    EXPECT_TRUE(ev.empty());
    // A wake before the wait is not lost, and is used up by it.
    d.wake();
    EXPECT_TRUE(d.waitEvents(ev, kLongWaitMs));
    EXPECT_TRUE(d.waitEvents(ev, 0));

    std::thread pens([&] {
        d.injectPen({PenEvent::Kind::Down, 5, 6});
        d.injectPen({PenEvent::Kind::Up, 7, 8});
    });
    while (ev.size() < 2) ASSERT_TRUE(d.waitEvents(ev, kLongWaitMs));
    pens.join();
    ASSERT_EQ(ev.size(), 2u);
    EXPECT_EQ(ev[0].kind, PenEvent::Kind::Down);
    EXPECT_EQ(ev[1].kind, PenEvent::Kind::Up);
    EXPECT_EQ(ev[1].x, 7);
}

TEST(OpenDisplay, HeadlessOnRequestAndAsFallback) {
    EXPECT_EQ(openDisplay("headless")->name(), "headless");
    testing::internal::CaptureStderr();
    auto d = openDisplay("no-such-backend");
    std::string err = testing::internal::GetCapturedStderr();
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->name(), "headless");
    EXPECT_NE(err.find("no-such-backend"), std::string::npos);
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1);
}

TEST(OpenDisplay, AutomaticChoiceWithoutADesktopIsQuiet) {
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    testing::internal::CaptureStderr();
    auto d = openDisplay("");
    std::string err = testing::internal::GetCapturedStderr();
    ASSERT_NE(d, nullptr);
    EXPECT_NE(d->name(), "sdl");
    EXPECT_EQ(err, "");  // falling through the choices is normal, not news
}

}  // namespace
}  // namespace vesk
