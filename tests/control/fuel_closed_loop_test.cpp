// Fuel accounting inside the running controller: the auger pulse timer feeds
// it, and the cycle's bunker check sees the full sensor.
#include <gtest/gtest.h>

#include "closed_loop.h"

namespace vesk::test {
namespace {

TEST(FuelClosedLoop, AugerRunTimeAndFullBunker) {
    for (Variant v : {Variant::Orvena, Variant::Kestralo}) {
        ClosedLoop loop(v);
        loop.s.svc.feedRate[loop.s.usr.FUEL] = 1563;
        loop.s.usr.USE_FULL_SENS = 1;
        loop.s.usr.BUNK_SIZE = 400;
        // Ten ON phases of 2 s with the cycle not running.
        loop.pulse.start(20, 30, 10);
        loop.clock.advance(60000);
        ASSERT_EQ(loop.fuelOnMs, 20000);

        loop.plant.injections().bunker = Injections::Bunker::Full;
        loop.run(3);
        const FuelCounters c = loop.fuel.counters();
        if (isKestralo(v)) {
            // No fuel accounting in this variant; 0x10 means "bunker empty".
            EXPECT_EQ(c.total, 0u);
            EXPECT_EQ(c.remaining, kBunkerUnknown);
        } else {
            EXPECT_EQ(c.total, 200u);
            EXPECT_EQ(c.remaining, bunkerCapacity(400, 1563, 0));
            EXPECT_EQ(loop.fuel.figures().percent, 100);
        }
    }
}

}  // namespace
}  // namespace vesk::test
