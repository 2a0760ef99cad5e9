// Evdev touch decoding: the state is collected per report, then compared
// with what the pen did last.
#include "platform/display/touch_decoder.h"

#include <linux/input.h>

#include <algorithm>

namespace vesk {

namespace {
int scaleAxis(int raw, int lo, int hi, int pixels) {
    if (hi == lo || pixels <= 1) return 0;
    long long num = (long long)(raw - lo) * (pixels - 1);
    long long den = (long long)hi - lo;
    if (den < 0) {
        num = -num;
        den = -den;
    }
    long long v = num >= 0 ? (num + den / 2) / den : -((-num + den / 2) / den);
    return int(std::clamp<long long>(v, 0, pixels - 1));
}
}  // namespace

TouchDecoder::TouchDecoder(TouchAxes axes, int screenWidth, int screenHeight, int originX,
                           int originY)
    : axes_(axes), screenW_(screenWidth), screenH_(screenHeight), originX_(originX),
      originY_(originY) {}

int TouchDecoder::toPanelX(int raw) const {
    int x = scaleAxis(raw, axes_.minX, axes_.maxX, screenW_) - originX_;
    return std::clamp(x, 0, kScreenWidth - 1);
}

int TouchDecoder::toPanelY(int raw) const {
    int y = scaleAxis(raw, axes_.minY, axes_.maxY, screenH_) - originY_;
    return std::clamp(y, 0, kScreenHeight - 1);
}

void TouchDecoder::feed(uint16_t type, uint16_t code, int32_t value, std::vector<PenEvent>& out) {
    if (type == EV_SYN && code == SYN_DROPPED) dropped_ = true;
    if (dropped_) return;
    if (type == EV_ABS && code == ABS_X) rawX_ = value;
    if (type == EV_ABS && code == ABS_Y) rawY_ = value;
    if (type == EV_KEY && code == BTN_TOUCH) touching_ = value != 0;
    if (type == EV_SYN && code == SYN_REPORT) report(out);
}

void TouchDecoder::resync(bool touching, int32_t rawX, int32_t rawY, std::vector<PenEvent>& out) {
    dropped_ = false;
    touching_ = touching;
    rawX_ = rawX;
    rawY_ = rawY;
    report(out);
}

void TouchDecoder::report(std::vector<PenEvent>& out) {
    int x = toPanelX(rawX_), y = toPanelY(rawY_);
    if (touching_ && !penDown_) {
        penDown_ = true;
        out.push_back({PenEvent::Kind::Down, x, y});
    } else if (touching_ && (x != lastX_ || y != lastY_)) {
        out.push_back({PenEvent::Kind::Move, x, y});
    } else if (!touching_ && penDown_) {
        penDown_ = false;
        out.push_back({PenEvent::Kind::Up, x, y});
    }
    lastX_ = x;
    lastY_ = y;
}

}  // namespace vesk
