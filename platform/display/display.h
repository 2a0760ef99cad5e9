// A 320x240 screen with a pen: the persistent framebuffer the UI draws
// into, and the pen events of the touch screen (or mouse).
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace vesk {

constexpr int kScreenWidth = 320;
constexpr int kScreenHeight = 240;

struct ScreenRect {
    int left = 0, top = 0, right = 0, bottom = 0;  // right/bottom exclusive
    bool empty() const { return right <= left || bottom <= top; }
};

struct PenEvent {
    enum class Kind { Down, Move, Up } kind;
    int x = 0;
    int y = 0;
};

class Display {
public:
    virtual ~Display() = default;
    // XRGB8888 pixels (cairo RGB24 layout), kScreenWidth * 4 bytes a row.
    // The buffer persists between frames: partial repaints draw into it.
    virtual uint32_t* pixels() = 0;
    // Shows the changed area of the framebuffer.
    virtual void present(const ScreenRect& changed) = 0;
    // Waits up to `timeoutMs` real milliseconds (negative: no limit) for pen
    // input or wake(); appends what arrived to `out`. False when the user
    // closed the window.
    virtual bool waitEvents(std::vector<PenEvent>& out, int timeoutMs) = 0;
    // Ends a waitEvents early; safe from any thread.
    virtual void wake() = 0;
    virtual std::string name() const = 0;
};

// `choice`: "sdl", "fbdev", "headless" or "" (sdl with a display, else
// fbdev with /dev/fb0, else headless). Never null: falls back to headless.
std::unique_ptr<Display> openDisplay(const std::string& choice);

}  // namespace vesk
