// The expansion module's signal bars on the boiler page, and the envelope
// that flashes when the module reports an event.
#pragma once
#include <functional>

#include "ui/toolkit/control.h"

namespace vesk {

constexpr int kSignalFlashMs = 300;
constexpr int kSignalFlashTicks = 6;

class SignalIndicator : public Control {
public:
    explicit SignalIndicator(Widget* parent) : Control(parent) {}

    void place(int x, int y);
    // Called when a flash has ended (the event is then cleared).
    void setFlashDone(std::function<void()> done) { flashDone_ = std::move(done); }

    // From the page refresh: shown only while the module is present; the
    // bars repaint only when the level changes; an event starts a flash.
    void update(bool present, int level, bool event);
    int picture() const;  // what is drawn now, 0 for blank
    bool flashing() const { return flashing_; }

    void paint(Painter& p) override;
    void timerTick() override;
    void hide() override;

private:
    void redraw();

    std::function<void()> flashDone_;
    int level_ = 255;
    bool flashing_ = false;
    bool flashOn_ = false;
    int ticks_ = 0;
};

}  // namespace vesk
