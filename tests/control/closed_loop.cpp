#include "closed_loop.h"

#include <mutex>

#include "board/command_frame.h"
#include "board/reading_frame.h"
#include "control/control_steps.h"
#include "settings/param_table.h"

namespace vesk::test {

ClosedLoop::ClosedLoop(Variant v, uint16_t firmware, const PlantConfig& plantConfig, LocalTime start,
                       int storedBurnerCode)
    : s(v),
      clock(start),
      plant(plantConfig),
      board(plant, firmware, v),
      pulse(s, clock, timers, refresh, [this] { ++sendNowCalls; }),
      cycle(ControlContext{s, clock, timers, refresh, sound, schedule, [this] { ++sendNowCalls; }, &pulse,
                           isKestralo(v) ? nullptr : &fuel}) {
    pulse.setFuelHook([this](int64_t ms) {
        fuelOnMs += ms;
        if (!isKestralo(s.variant)) fuel.addRunTime(ms);
    });
    serviceDefaults(s.settings, v, true);
    userDefaults(s.settings, v, false, antiJamDayNumber(start));
    initAugerPulse(s);
    initRegulators(s);
    if (!isKestralo(v)) fuel.load(&eeprom);
    for (int i = 0; i <= kSensorValve2; ++i) s.sensors[i] = kInvalidTemp;
    s.localTime = clock.localTime();
    if (storedBurnerCode >= 0) eeprom.data[0] = static_cast<uint8_t>(storedBurnerCode);
    thread.prepare();
}

std::unique_ptr<ClosedLoop> ClosedLoop::restartedAfterPowerCut(const ClosedLoop& before) {
    auto after = std::make_unique<ClosedLoop>(before.s.variant, before.board.firmware(), before.plant.config(),
                                              before.clock.localTime(), before.eeprom.data[0]);
    after->plant = before.plant;
    // The settings files as the panel left them; the thread's start stamps
    // the standstill day afresh.
    const int32_t today = after->s.usr.ANTI_JAM_DAY;
    after->s.settings = before.s.settings;
    after->s.usr.ANTI_JAM_DAY = today;
    return after;
}

void ClosedLoop::deliverReadings() {
    if (silent_) return;
    std::vector<uint8_t> p = board.readingsPayload();
    std::lock_guard<std::recursive_mutex> g(s.stateLock);
    applyReadingFrame(s, s.variant, p.data(), p.size());
}

void ClosedLoop::runCycle() { thread.iterate(); }

void ClosedLoop::passSecond() {
    for (int t = 0; t < 1000; t += sliceMs) {
        board.applyCommand(buildCommandPayload(s));
        clock.advance(sliceMs);
        LocalTime lt = clock.localTime();
        board.step(sliceMs / 1000.0, lt.hour + lt.minute / 60.0 + lt.second / 3600.0);
    }
}

void ClosedLoop::second() {
    deliverReadings();
    runCycle();
    passSecond();
}

void ClosedLoop::run(int seconds) {
    for (int i = 0; i < seconds; ++i) second();
}

int ClosedLoop::runUntil(const std::function<bool()>& done, int limit) {
    for (int i = 0; i < limit; ++i) {
        if (done()) return i;
        second();
    }
    return done() ? limit : -1;
}

}  // namespace vesk::test
