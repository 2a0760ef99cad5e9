// Host clock scaled by the time scale, local time offset kept in the registry.
#include "platform/real_clock.h"

#include <chrono>
#include <ctime>
#include <thread>

#include "platform/registry.h"

namespace vesk {

namespace {
constexpr const char* kOffsetKey = "ClockOffsetSeconds";

int64_t steadyUs() {
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

int64_t hostLocalEpoch() {
    std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    LocalTime t;
    t.year = static_cast<uint16_t>(tm.tm_year + 1900);
    t.month = static_cast<uint16_t>(tm.tm_mon + 1);
    t.day = static_cast<uint16_t>(tm.tm_mday);
    t.hour = static_cast<uint16_t>(tm.tm_hour);
    t.minute = static_cast<uint16_t>(tm.tm_min);
    t.second = static_cast<uint16_t>(tm.tm_sec);
    return toEpochSeconds(t);
}
}  // namespace

RealClock::RealClock(double scale, Registry* registry)
    : scale_(scale > 0 ? scale : 1.0), registry_(registry), startRealUs_(steadyUs()),
      startWallSec_(hostLocalEpoch()) {
    if (registry_) {
        if (auto v = registry_->getInt(kOffsetKey)) offsetSec_ = *v;
    }
}

int64_t RealClock::nowMs() const {
    return static_cast<int64_t>(static_cast<double>(steadyUs() - startRealUs_) * scale_ / 1000.0);
}

LocalTime RealClock::localTime() const {
    // Scaled time runs the calendar faster too, so a simulated day passes
    // in a day divided by the scale.
    int64_t ms = nowMs();
    int64_t s = startWallSec_ + offsetSec_ + ms / 1000;
    return fromEpochSeconds(s, static_cast<uint16_t>(ms % 1000));
}

void RealClock::setLocalTime(const LocalTime& t) {
    offsetSec_ = toEpochSeconds(t) - startWallSec_ - nowMs() / 1000;
    if (registry_) registry_->setInt(kOffsetKey, offsetSec_);
}

void RealClock::sleepMs(int64_t ms) {
    if (ms <= 0) return;
    std::this_thread::sleep_for(std::chrono::microseconds(static_cast<int64_t>(ms * 1000.0 / scale_)));
}

int64_t RealClock::realMsFor(int64_t panelMs) const {
    if (panelMs <= 0) return 0;
    int64_t r = static_cast<int64_t>(static_cast<double>(panelMs) / scale_);
    return r > 0 ? r : 1;
}

}  // namespace vesk
