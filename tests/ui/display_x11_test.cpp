// The SDL backend in a real X window (Xvfb): a click in the middle of the
// doubled window is a pen at the middle of the panel. Skipped when Xvfb or
// xdotool is not installed.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <future>

#include "platform/display/sdl_display.h"

namespace vesk {
namespace {

bool installed(const char* program) {
    std::string cmd = std::string("command -v ") + program + " >/dev/null 2>&1";
    return std::system(cmd.c_str()) == 0;
}

// An Xvfb server of our own; it picks a free display number itself.
class Xvfb {
public:
    Xvfb() {
        int p[2];
        if (pipe(p) != 0) return;
        pid_ = fork();
        if (pid_ == 0) {
            close(p[0]);
            int devnull = open("/dev/null", O_WRONLY);
            dup2(devnull, 2);
            std::string fd = std::to_string(p[1]);
            execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "800x600x24",
                   "-nolisten", "tcp", static_cast<char*>(nullptr));
            _exit(127);
        }
        close(p[1]);
        std::string number;
        pollfd pf{p[0], POLLIN, 0};
        char c;
        while (poll(&pf, 1, 30000) > 0 && read(p[0], &c, 1) == 1 && c != '\n') number += c;
        close(p[0]);
        if (!number.empty()) display_ = ":" + number;
    }
    ~Xvfb() {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
        }
    }
    const std::string& display() const { return display_; }

private:
    pid_t pid_ = -1;
    std::string display_;
};

TEST(SdlDisplayX11, ClickInTheScaledWindowIsAPanelPen) {
    if (!installed("Xvfb") || !installed("xdotool")) GTEST_SKIP() << "Xvfb or xdotool missing";
    Xvfb x;
    if (x.display().empty()) GTEST_SKIP() << "Xvfb did not start";
    setenv("DISPLAY", x.display().c_str(), 1);
    setenv("SDL_VIDEODRIVER", "x11", 1);
    std::string why;
    auto d = openSdlDisplay(why, 2);
    ASSERT_NE(d, nullptr) << why;
    EXPECT_EQ(d->name(), "sdl");
    for (int i = 0; i < kScreenWidth * kScreenHeight; ++i) d->pixels()[i] = 0x00336699;
    d->present({0, 0, kScreenWidth, kScreenHeight});

    // xdotool waits for the window while this thread keeps SDL's events moving.
    auto click = std::async(std::launch::async, [] {
        return std::system("xdotool search --sync --name '^VeskAppWindow$' "
                           "mousemove --window %1 320 240 click 1 >/dev/null 2>&1");
    });
    std::vector<PenEvent> ev;
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    bool clicked = false;
    while (std::chrono::steady_clock::now() < limit) {
        ASSERT_TRUE(d->waitEvents(ev, 50));
        if (!clicked && click.wait_for(std::chrono::seconds(0)) == std::future_status::ready) {
            ASSERT_EQ(click.get(), 0);
            clicked = true;
        }
        bool up = false;
        for (const auto& e : ev) up |= e.kind == PenEvent::Kind::Up;
        if (clicked && up) break;
    }
    if (!clicked) click.wait();
    ASSERT_GE(ev.size(), 2u);
    EXPECT_EQ(ev.front().kind, PenEvent::Kind::Down);
    EXPECT_NEAR(ev.front().x, 160, 1);
    EXPECT_NEAR(ev.front().y, 120, 1);
    EXPECT_EQ(ev.back().kind, PenEvent::Kind::Up);
    d.reset();
    unsetenv("DISPLAY");
    setenv("SDL_VIDEODRIVER", "dummy", 1);
}

}  // namespace
}  // namespace vesk
