// Mixing valves against the simulated boiler: the closing run, the first
// correction and both circuits held on their targets over simulated hours.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "closed_loop.h"
#include "control/valves.h"

namespace vesk::test {
namespace {

constexpr double kBoilerC = 70;

// Valve 1 heats radiators on the weather line; valve 2 an underfloor
// circuit on a fixed 35. Both start wide open. The boiler water is held
// warm so that only the valves move.
struct ValveLoop {
    explicit ValveLoop(Variant v) : loop(v, 0x1100, plantConfig()) {
        loop.s.svc.EMSTART_ENABLE = 0;
        ValveParams& a = loop.s.usr.VLV1;
        a.MODE = 2;
        a.USEWH = 1;
        ValveParams& b = loop.s.usr.VLV2;
        b.MODE = 1;
        b.USEWATER = 1;
        b.WATER = 35;
        PlantOutputs open;
        open.valve1 = ValveDrive::Open;
        open.valve2 = ValveDrive::Open;
        loop.plant.setOutputs(open);
        loop.plant.step(loop.plant.config().valveTravelS[0] + 10, 8.0);
        loop.plant.setOutputs({});
    }
    static PlantConfig plantConfig() {
        PlantConfig pc;
        pc.sensor9IsAuger = false;
        return pc;
    }
    void second() {
        loop.plant.setBoilerWaterC(kBoilerC);
        loop.run(1);
    }
    ClosedLoop loop;
};

TEST(ValvesClosedLoop, ClosingRunThenFirstCorrectionAfterTheInterval) {
    for (Variant v : {Variant::Orvena, Variant::Kestralo}) {
        ValveLoop rig(v);
        ASSERT_GT(rig.loop.plant.valvePosition(0), 0.99);
        const ValveParams& p = rig.loop.s.usr.VLV1;
        int closing = 0;
        int stopAt = -1;
        int openAt = -1;
        for (int t = 0; t < p.TOPEN + p.INT + 30 && openAt < 0; ++t) {
            rig.second();
            const ValveMotor m = valveMotor(rig.loop.s, 0);
            if (m == ValveMotor::Close) ++closing;
            if (m == ValveMotor::Stop && closing > 0 && stopAt < 0) stopAt = t;
            if (m == ValveMotor::Open) openAt = t;
        }
        EXPECT_EQ(closing, p.TOPEN);
        EXPECT_EQ(stopAt, p.TOPEN);
        EXPECT_EQ(openAt - stopAt, p.INT);
        EXPECT_EQ(rig.loop.s.valves[0].closedLatch, 0) << "opened again";
        EXPECT_LT(rig.loop.plant.valvePosition(0), 0.1) << "the run closed it, one step opened it a little";
        EXPECT_LT(rig.loop.plant.valvePosition(1), 0.1);
    }
}

TEST(ValvesClosedLoop, CircuitsHeldOnTheirTargetsForHours) {
    for (Variant v : {Variant::Orvena, Variant::Kestralo}) {
        ValveLoop rig(v);
        for (int t = 0; t < 3600; ++t) rig.second();  // settling
        int minTarget = 1000, maxTarget = -1000;
        int worst1 = 0, worst2 = 0;
        long sum1 = 0, samples = 0;
        for (int minute = 0; minute < 4 * 60; ++minute) {
            for (int t = 0; t < 60; ++t) rig.second();
            const int target = rig.loop.s.valves[0].curveTarget;
            ASSERT_NE(target, 255);
            minTarget = std::min(minTarget, target);
            maxTarget = std::max(maxTarget, target);
            const int e1 = std::abs(rig.loop.s.readSensor(kSensorValve1) - target);
            const int e2 = std::abs(rig.loop.s.readSensor(kSensorValve2) - 35);
            worst1 = std::max(worst1, e1);
            worst2 = std::max(worst2, e2);
            sum1 += e1;
            ++samples;
        }
        // The afternoon warms the outdoor air, so the line's target falls.
        EXPECT_GT(maxTarget - minTarget, 2);
        EXPECT_LE(worst1, 3);
        EXPECT_LE(worst2, 3);
        EXPECT_LE(static_cast<double>(sum1) / samples, 1.5);
    }
}

}  // namespace
}  // namespace vesk::test
