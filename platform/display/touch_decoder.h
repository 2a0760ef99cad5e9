// Turns the evdev stream of a resistive or capacitive touch screen (ABS_X,
// ABS_Y, BTN_TOUCH, SYN_REPORT) into the panel's pen down/move/up events.
#pragma once
#include <cstdint>
#include <vector>

#include "platform/display/display.h"

namespace vesk {

struct TouchAxes {
    int minX = 0, maxX = 0;  // the device's raw ranges; min > max for a mirrored axis
    int minY = 0, maxY = 0;
};

class TouchDecoder {
public:
    // The raw ranges cover a screen of `screenWidth` x `screenHeight` pixels
    // whose panel area starts at (originX, originY).
    TouchDecoder(TouchAxes axes, int screenWidth, int screenHeight, int originX = 0,
                 int originY = 0);
    // One input_event; pen events are appended at the end of each report.
    void feed(uint16_t type, uint16_t code, int32_t value, std::vector<PenEvent>& out);
    // After the kernel dropped events the stream is ignored until the owner
    // reads the device's current state and hands it over here.
    bool needsResync() const { return dropped_; }
    void resync(bool touching, int32_t rawX, int32_t rawY, std::vector<PenEvent>& out);

private:
    int toPanelX(int raw) const;
    int toPanelY(int raw) const;
    void report(std::vector<PenEvent>& out);

    TouchAxes axes_;
    int screenW_, screenH_, originX_, originY_;
    int rawX_ = 0, rawY_ = 0;
    bool touching_ = false;
    bool penDown_ = false;
    bool dropped_ = false;
    int lastX_ = 0, lastY_ = 0;
};

}  // namespace vesk
