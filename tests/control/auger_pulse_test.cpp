#include <gtest/gtest.h>

#include "combustion_rig.h"

namespace vesk::test {
namespace {

// Advances `ms` in 100 ms steps; returns the ms the auger was on.
int64_t onDuring(CombustionRig& r, int ms) {
    int64_t on = 0;
    for (int t = 0; t < ms; t += 100) {
        if (r.s.augerOn) on += 100;
        r.clock.advance(100);
    }
    return on;
}

TEST(AugerPulse, CycleBeginsWithOffAndCountsDown) {
    CombustionRig r;
    r.pulse.start(15, 25, 2);
    EXPECT_TRUE(r.pulse.running());
    EXPECT_EQ(r.s.augerOn, 0) << "an OFF length means the run begins resting";
    EXPECT_EQ(r.s.pulseOnMs, 1500);
    EXPECT_EQ(r.s.pulseOffMs, 2500);
    EXPECT_EQ(r.wakes, 1);
    EXPECT_EQ(onDuring(r, 2500), 0);
    EXPECT_EQ(r.s.augerOn, 1);
    EXPECT_EQ(onDuring(r, 1500), 1500);
    EXPECT_EQ(r.s.augerOn, 0);
    EXPECT_EQ(r.fedMs, 1500) << "each ended ON phase goes to fuel accounting";
    EXPECT_EQ(r.s.pulseCount, 1);
    EXPECT_EQ(onDuring(r, 4000), 1500);
    EXPECT_FALSE(r.pulse.running()) << "the second cycle was the last";
    EXPECT_EQ(r.fedMs, 3000);
    EXPECT_EQ(onDuring(r, 10000), 0);
    // Start, then four phase changes, each waking the link.
    EXPECT_EQ(r.wakes, 5);
    EXPECT_EQ(r.timers.pending(), 1u) << "only the countdown service is left";
}

TEST(AugerPulse, SinglePulseWithoutOffStartsOn) {
    CombustionRig r;
    r.pulse.start(300, 0, 1);
    EXPECT_EQ(r.s.augerOn, 1);
    r.clock.advance(29900);
    EXPECT_EQ(r.s.augerOn, 1);
    r.clock.advance(100);
    EXPECT_EQ(r.s.augerOn, 0);
    EXPECT_FALSE(r.pulse.running());
    EXPECT_EQ(r.fedMs, 30000);
}

TEST(AugerPulse, IgnoredStarts) {
    CombustionRig r;
    r.pulse.start(0, 10, -1);
    r.pulse.start(10, 10, 0);
    EXPECT_FALSE(r.pulse.running());
    EXPECT_EQ(r.wakes, 0);
    EXPECT_EQ(r.s.augerOn, 0);
}

TEST(AugerPulse, StartWhileRunningOnlyChangesLengthsAndCount) {
    CombustionRig r;
    r.pulse.start(10, 20, -1);
    r.clock.advance(1000);
    const int wakes = r.wakes;
    r.pulse.start(30, 40, 5);
    EXPECT_EQ(r.wakes, wakes) << "no restart, no extra frame";
    EXPECT_EQ(r.s.augerOn, 0);
    EXPECT_EQ(r.s.pulseCount, 5);
    // The OFF phase already armed keeps its 2 s; the next ON takes 3 s.
    r.clock.advance(999);
    EXPECT_EQ(r.s.augerOn, 0);
    r.clock.advance(1);
    EXPECT_EQ(r.s.augerOn, 1);
    r.clock.advance(2999);
    EXPECT_EQ(r.s.augerOn, 1);
    r.clock.advance(1);
    EXPECT_EQ(r.s.augerOn, 0);
    EXPECT_EQ(r.s.pulseCount, 4);
}

TEST(AugerPulse, StopMidPhaseAndWhileIdle) {
    CombustionRig r;
    r.pulse.stop();
    EXPECT_EQ(r.wakes, 0) << "stopping an idle timer changes nothing";
    EXPECT_EQ(r.refresh.count, 0);
    EXPECT_EQ(r.fedMs, 0);

    r.pulse.start(50, 0, -1);
    r.clock.advance(1200);
    r.pulse.stop();
    EXPECT_EQ(r.s.augerOn, 0);
    EXPECT_FALSE(r.pulse.running());
    EXPECT_EQ(r.fedMs, 1200) << "an ON phase cut short still fed fuel";
    EXPECT_EQ(r.timers.pending(), 1u) << "the pending phase timer is gone";
    r.clock.advance(60000);
    EXPECT_EQ(r.s.augerOn, 0);

    // Stopped in an OFF phase: nothing to report.
    r.pulse.start(50, 50, -1);
    const int wakes = r.wakes;
    r.pulse.stop();
    EXPECT_EQ(r.wakes, wakes);
    EXPECT_EQ(r.fedMs, 1200);
}

TEST(AugerPulse, EndlessWithoutOffKeepsFeedingAndReportsEachPhase) {
    CombustionRig r;
    r.pulse.start(10, 0, -1);
    r.clock.advance(5000);
    EXPECT_EQ(r.s.augerOn, 1);
    EXPECT_EQ(r.fedMs, 5000);
    EXPECT_EQ(r.s.pulseCount, -1);
}

TEST(AugerPulse, ControlStopReachesTheTimer) {
    CombustionRig r;
    r.pulse.start(20, 10, -1);
    r.clock.advance(1500);
    ASSERT_EQ(r.s.augerOn, 1);
    stopAugerPulse(r.ctx);
    EXPECT_EQ(r.s.augerOn, 0);
    EXPECT_FALSE(r.pulse.running());
    EXPECT_EQ(r.fedMs, 500);
}

}  // namespace
}  // namespace vesk::test
