#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "sim/board_emulator.h"
#include "sim/plant.h"

namespace vesk {
namespace {

// Runs the model in 1 s steps from noon; `each` may change the outputs.
void run(PlantModel& p, int seconds, const std::function<void(PlantModel&, int)>& each = {}) {
    for (int s = 0; s < seconds; ++s) {
        if (each) each(p, s);
        p.step(1, 12);
    }
}

PlantOutputs with(std::function<void(PlantOutputs&)> f) {
    PlantOutputs o;
    f(o);
    return o;
}

// Feeds for `feedS` seconds, then igniter and blower until lit or `limit`.
int ignite(PlantModel& p, int feedS, int fan, int limit = 900) {
    p.setOutputs(with([](PlantOutputs& o) { o.auger = true; }));
    run(p, feedS);
    p.setOutputs(with([&](PlantOutputs& o) {
        o.igniter = true;
        o.fanPercent = fan;
    }));
    for (int s = 0; s < limit; ++s) {
        if (p.fireLit()) return s;
        p.step(1, 12);
    }
    return -1;
}

TEST(PlantFire, LightsWithFuelAirAndIgniterAndHeatsTheFlue) {
    PlantModel p;
    double gas0 = p.flueGasC();
    int took = ignite(p, 90, 50);
    ASSERT_GE(took, 0);
    EXPECT_NEAR(took, p.config().ignitionSeconds, 2);
    EXPECT_EQ(p.counters().ignitions, 1);
    run(p, 180);
    EXPECT_GT(p.flueGasC(), gas0 + 40);  // well past a 45 °C burn-up threshold
    EXPECT_GT(p.heatKw(), 5);
}

TEST(PlantFire, DoesNotLightWithoutFuelOrAir) {
    {
        SCOPED_TRACE("empty bunker");
        PlantModel p;
        p.setBunkerKg(0);
        double gas0 = p.flueGasC();
        EXPECT_EQ(ignite(p, 90, 50, 180), -1);
        EXPECT_EQ(p.grateFuelKg(), 0);
        // The igniter alone warms the flue by less than an ignition attempt's 3 °C.
        EXPECT_LT(p.flueGasC(), gas0 + 3);
    }
    {
        SCOPED_TRACE("no blower");
        PlantModel p;
        EXPECT_EQ(ignite(p, 90, 0, 1800), -1);
    }
    {
        SCOPED_TRACE("jammed auger");
        PlantModel p;
        p.injections().augerJam = true;
        EXPECT_EQ(ignite(p, 90, 50, 600), -1);
        EXPECT_EQ(p.counters().augerRunS, 0);
    }
}

TEST(PlantFire, BurnsDownAndGoesOutWhenNotFed) {
    PlantModel p;
    ASSERT_GE(ignite(p, 60, 50), 0);
    p.setOutputs(with([](PlantOutputs& o) { o.fanPercent = 100; }));
    int outAfter = -1;
    run(p, 3600, [&](PlantModel& m, int s) {
        if (outAfter < 0 && !m.fireLit()) outAfter = s;
    });
    ASSERT_GT(outAfter, 0);
    EXPECT_EQ(p.counters().fireOuts, 1);
    EXPECT_EQ(p.heatKw(), 0);
    // The flue falls back below water + 5, where the panel sees the flame lost.
    EXPECT_LT(p.flueGasC(), p.boilerWaterC() + 5);
    // Fuel is conserved: what was fed was burned or is still on the grate.
    EXPECT_NEAR(p.counters().fuelFedKg, p.counters().fuelBurnedKg + p.grateFuelKg(), 1e-9);
}

TEST(PlantFire, SmouldersOnNaturalDraftWhileTrickleFed) {
    PlantModel p;
    ASSERT_GE(ignite(p, 90, 50), 0);
    // Two hours of maintenance: blower off, a 1 s feed every 90 s.
    run(p, 7200, [](PlantModel& m, int s) {
        m.setOutputs(with([&](PlantOutputs& o) { o.auger = s % 90 == 0; }));
    });
    EXPECT_TRUE(p.fireLit());
    EXPECT_GT(p.flueGasC(), 45);
}

TEST(PlantWater, FullFireHeatsTheBoilerInTensOfMinutesAndPumpsCoolIt) {
    PlantModel p;
    ASSERT_GE(ignite(p, 90, 50), 0);
    int reached = -1;
    run(p, 3 * 3600, [&](PlantModel& m, int s) {
        m.setOutputs(with([&](PlantOutputs& o) {
            o.fanPercent = 100;
            o.auger = s % 90 < 7;
        }));
        if (reached < 0 && m.boilerWaterC() >= 75) reached = s;
    });
    ASSERT_GT(reached, 0);
    EXPECT_GT(reached, 10 * 60);
    EXPECT_LT(reached, 60 * 60);
    EXPECT_LE(p.boilerWaterC(), 110);

    // Same hot boiler, fire out: the heating pump pulls heat into the house.
    PlantModel still;
    still.setBoilerWaterC(80);
    PlantModel pumped;
    pumped.setBoilerWaterC(80);
    pumped.setOutputs(with([](PlantOutputs& o) { o.pumpCh = true; }));
    run(still, 1800);
    run(pumped, 1800);
    EXPECT_GT(still.boilerWaterC(), 70);
    EXPECT_LT(pumped.boilerWaterC(), still.boilerWaterC() - 10);
    EXPECT_GT(pumped.chC(), 30);
    EXPECT_GT(pumped.roomC(), still.roomC());
}

TEST(PlantWater, DhwTankChargesThroughItsPumpAndCoolsWhenTapped) {
    PlantModel p;
    p.setBoilerWaterC(80);
    p.setDhwC(30);
    p.setOutputs(with([](PlantOutputs& o) { o.pumpDhw = true; }));
    run(p, 1800);
    EXPECT_GT(p.dhwC(), 45);
    EXPECT_LT(p.boilerWaterC(), 80);
    double charged = p.dhwC();
    p.setOutputs({});
    p.injections().dhwDrawLPerMin = 10;
    run(p, 900);
    EXPECT_LT(p.dhwC(), charged - 10);
    EXPECT_GT(p.dhwC(), p.config().coldWaterC);
}

TEST(PlantValves, PositionFollowsTheDriveAtItsTravelTime) {
    PlantModel p;
    p.config().valveTravelS[0] = 120;
    p.config().valveTravelS[1] = 60;
    p.setBoilerWaterC(70);
    p.setOutputs(with([](PlantOutputs& o) {
        o.valve1 = ValveDrive::Open;
        o.valve2 = ValveDrive::Open;
    }));
    run(p, 60);
    EXPECT_NEAR(p.valvePosition(0), 0.5, 1e-9);
    EXPECT_NEAR(p.valvePosition(1), 1.0, 1e-9);
    run(p, 600);  // a motor at its end stop stays there
    EXPECT_EQ(p.valvePosition(0), 1.0);
    EXPECT_GT(p.valveWaterC(0), 30);
    p.setOutputs(with([](PlantOutputs& o) { o.valve1 = ValveDrive::Close; }));
    run(p, 30);
    EXPECT_NEAR(p.valvePosition(0), 0.75, 1e-9);
    EXPECT_EQ(p.valvePosition(1), 1.0);  // stopped drive holds
    run(p, 200);
    EXPECT_EQ(p.valvePosition(0), 0.0);
}

TEST(PlantFuel, BunkerFallsWithTheAugerAndItsSensorsFlip) {
    PlantModel p;
    p.setBunkerKg(p.config().bunkerEmptyKg + 1.0);
    BoardEmulator orvena(p, 0x2214, Variant::Orvena);
    BoardEmulator kestralo(p, 0x2214, Variant::Kestralo);
    EXPECT_FALSE(orvena.boardInputs() & 0x08);
    p.setOutputs(with([](PlantOutputs& o) { o.auger = true; }));
    run(p, 100);
    EXPECT_NEAR(p.bunkerKg(), p.config().bunkerEmptyKg + 1.0 - 100 * p.config().augerFeedKgPerS, 1e-9);
    EXPECT_TRUE(p.inputs().bunkerEmpty);
    EXPECT_TRUE(orvena.boardInputs() & 0x08);
    EXPECT_TRUE(kestralo.boardInputs() & 0x10);
    EXPECT_FALSE(kestralo.boardInputs() & 0x08);
    // An empty bunker feeds nothing more.
    run(p, 3600);
    EXPECT_EQ(p.bunkerKg(), 0);
    double fed = p.counters().fuelFedKg;
    run(p, 60);
    EXPECT_EQ(p.counters().fuelFedKg, fed);

    p.setOutputs(with([](PlantOutputs& o) { o.bunkerFiller = true; }));
    run(p, 2000);
    EXPECT_EQ(p.bunkerKg(), p.config().bunkerCapacityKg);
    EXPECT_TRUE(orvena.boardInputs() & 0x10);
    EXPECT_FALSE(orvena.boardInputs() & 0x08);
    EXPECT_EQ(p.counters().fillerStarts, 1);
    EXPECT_NEAR(p.counters().fillerRunS, 2000, 1e-6);
}

TEST(PlantFuel, AugerTubeHeatsWhenAFireStandsOverAnIdleAuger) {
    PlantModel p;
    p.config().burnBackAfterS = 1200;
    ASSERT_GE(ignite(p, 120, 50), 0);
    p.setOutputs({});
    double hottest = 0;
    run(p, 3600, [&](PlantModel& m, int) { hottest = std::max(hottest, m.augerTubeC()); });
    ASSERT_TRUE(p.fireLit());
    EXPECT_GT(hottest, 75);  // above the emergency-start threshold
    // Running the auger pushes fresh fuel through and cools the tube.
    p.setOutputs(with([](PlantOutputs& o) { o.auger = true; }));
    run(p, 300);
    EXPECT_LT(p.augerTubeC(), hottest - 20);
}

TEST(PlantSafety, FuseAndSafetyThermostatCutTheOutputs) {
    PlantModel p;
    PlantOutputs all = with([](PlantOutputs& o) {
        o.fanPercent = 80;
        o.exhaustPercent = 50;
        o.auger = true;
        o.igniter = true;
        o.pumpCh = true;
        o.valve1 = ValveDrive::Open;
    });
    p.setOutputs(all);
    p.setBoilerWaterC(96);
    p.step(1, 12);
    EXPECT_TRUE(p.emergencyTripped());
    EXPECT_TRUE(p.inputs().emergencyThermostat);
    PlantOutputs e = p.effectiveOutputs();
    EXPECT_EQ(e.fanPercent, 0);
    EXPECT_FALSE(e.auger);
    EXPECT_FALSE(e.igniter);
    EXPECT_TRUE(e.pumpCh);  // the pumps keep carrying the heat away
    // It latches until reset.
    p.setBoilerWaterC(60);
    p.step(1, 12);
    EXPECT_TRUE(p.emergencyTripped());
    p.resetEmergency();
    EXPECT_FALSE(p.emergencyTripped());

    p.injections().fuseBlown = true;
    e = p.effectiveOutputs();
    EXPECT_FALSE(e.pumpCh);
    EXPECT_EQ(e.valve1, ValveDrive::Stop);
    EXPECT_EQ(e.exhaustPercent, 0);
    EXPECT_TRUE(p.inputs().fuseBlown);
}

TEST(PlantStability, LongRunsStayFiniteAndLargeStepsAreSplit) {
    PlantModel p;
    p.setBoilerWaterC(60);
    p.setGrateFuelKg(1);
    run(p, 2 * 86400, [](PlantModel& m, int s) {
        bool hot = m.boilerWaterC() > 80;
        m.setOutputs(with([&](PlantOutputs& o) {
            o.fanPercent = hot ? 0 : 100;
            o.igniter = !m.fireLit();
            o.auger = !hot && s % 60 < 5;
            o.pumpCh = m.boilerWaterC() > 45;
            o.pumpDhw = m.dhwC() < 50;
            o.pumpLoop = true;
            o.valve1 = (s / 600) % 2 ? ValveDrive::Open : ValveDrive::Close;
        }));
        m.injections().dhwDrawLPerMin = (s % 7200) < 300 ? 8 : 0;
    });
    for (int i = 0; i < kSensorChannels; ++i) {
        double t = p.trueTemperature(static_cast<SensorChannel>(i));
        EXPECT_TRUE(std::isfinite(t)) << i;
        EXPECT_GT(t, -60) << i;
        EXPECT_LT(t, 1200) << i;
    }
    EXPECT_LE(p.boilerWaterC(), 110);

    PlantModel a, b;
    a.setBoilerWaterC(70);
    b.setBoilerWaterC(70);
    PlantOutputs o = with([](PlantOutputs& x) { x.pumpCh = true; });
    a.setOutputs(o);
    b.setOutputs(o);
    a.step(3600, 6);
    for (int i = 0; i < 3600; ++i) b.step(1, 6 + i / 3600.0);
    EXPECT_NEAR(a.boilerWaterC(), b.boilerWaterC(), 1e-9);
    EXPECT_NEAR(a.roomC(), b.roomC(), 1e-9);
}

}  // namespace
}  // namespace vesk
