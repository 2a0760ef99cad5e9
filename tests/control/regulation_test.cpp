#include <gtest/gtest.h>

#include "combustion_rig.h"
#include "control/regulation.h"
#include "control/weather_line.h"

namespace vesk::test {
namespace {

// Defaults: WPID/GPID/APID gains 30, POW_UST 100, POW_UST_MIN 15,
// GAS_MAX 260, FUEL 0. Everything reads whole degrees with 0x2214.
struct Regulation : ::testing::Test {
    CombustionRig r;
    CombustionRecords& rec = r.s.combustion;
    ServiceParams& g = r.s.svc;
    UserParams& u = r.s.usr;
};

TEST_F(Regulation, PidStepTermsAndLimits) {
    Regulator& w = rec.water;
    w.iCommitted = 4000;
    WaterTrend none;  // trend 0x7FFF
    // pTerm 30 x 6 x 20, integral + 20 x 30, dTerm -(1200 x 30) / 32767.
    EXPECT_EQ(pidStep(w, g, 20, &none, 13, 100), 4000 + 600 - 1 + 3600);
    EXPECT_EQ(w.pTerm, 3600);
    EXPECT_EQ(w.iTentative, 4600);
    EXPECT_EQ(w.iCommitted, 4000) << "only selection commits";
    EXPECT_EQ(w.dTerm, -1);
    g.WPID_KD = 20;
    pidStep(w, g, 0, &none, 13, 100);
    EXPECT_EQ(w.dTerm, 0) << "24000 / 32767 truncates to 0";

    WaterTrend rising;
    rising.trend = 600;
    g.WPID_KD = 30;
    pidStep(w, g, 0, &rising, 13, 100);
    EXPECT_EQ(w.dTerm, -60) << "a rising water brakes";
    rising.trend = -10;
    pidStep(w, g, 0, &rising, 13, 50);
    EXPECT_EQ(w.dTerm, 3600) << "limited to the upper limit";
    EXPECT_EQ(pidStep(w, g, 0, nullptr, 13, 100), 4000) << "no trend record, no derivative";

    // P limited to +/- U x 256, output to L x 256 .. U x 256.
    EXPECT_EQ(pidStep(w, g, -400, nullptr, 13, 60), 13 * 256);
    EXPECT_EQ(w.pTerm, -60 * 256);
    EXPECT_EQ(pidStep(w, g, 400, nullptr, 13, 60), 60 * 256);

    // The flue-gas regulator rounds its integral step by iDiv 10.
    Regulator& gr = rec.gas;
    gr.iCommitted = 5000;
    pidStep(gr, g, 7, nullptr, 13, 100);
    EXPECT_EQ(gr.iTentative, 5000 + (7 * 30 + 5) / 10);
    gr.iCounter = 0;
    pidStep(gr, g, -7, nullptr, 13, 100);
    EXPECT_EQ(gr.iTentative, 5000 + (-7 * 30 + 5) / 10) << "C division truncates toward zero";
}

TEST_F(Regulation, IntegralMovesOncePerPeriod) {
    struct Case {
        Regulator* reg;
        int period;
    } cases[] = {{&rec.water, 15}, {&rec.saWater, 15}, {&rec.gas, 1}, {&rec.air, 30}};
    for (const Case& c : cases) {
        Regulator& reg = *c.reg;
        reg.iCommitted = 5000;
        int moves = 0;
        for (int call = 0; call < 2 * c.period + 1; ++call) {
            pidStep(reg, g, 4, nullptr, 13, 100);
            if (reg.iTentative != reg.iCommitted) {
                ++moves;
                EXPECT_TRUE(call % c.period == 0) << "call " << call << " of period " << c.period;
            }
            selectRegulator({&reg});
        }
        EXPECT_EQ(moves, 3) << "calls 0, P and 2P move it";
    }
}

TEST_F(Regulation, SelectionTiesAndOnlyTheWinnerCommits) {
    auto prime = [](Regulator& reg, int out) {
        reg.output = out;
        reg.iCommitted = 1000;
        reg.iTentative = 2000;
    };
    prime(rec.gas, 5000);
    prime(rec.air, 5000);
    prime(rec.water, 5000);
    EXPECT_EQ(selectRegulator({&rec.gas, &rec.air, &rec.water}), 5000);
    EXPECT_EQ(rec.gas.iCommitted, 2000) << "ties go to the flue gas";
    EXPECT_EQ(rec.air.iCommitted, 1000);
    EXPECT_EQ(rec.water.iCommitted, 1000);

    prime(rec.gas, 5001);
    prime(rec.air, 5000);
    prime(rec.water, 5000);
    selectRegulator({&rec.gas, &rec.air, &rec.water});
    EXPECT_EQ(rec.air.iCommitted, 2000) << "then the room air";
    EXPECT_EQ(rec.water.iCommitted, 1000);

    prime(rec.gas, 5001);
    prime(rec.air, 5001);
    prime(rec.water, 4999);
    EXPECT_EQ(selectRegulator({&rec.gas, &rec.air, &rec.water}), 4999);
    EXPECT_EQ(rec.gas.iCommitted, 1000);
    EXPECT_EQ(rec.water.iCommitted, 2000);
}

TEST_F(Regulation, BurningDemandSaturationEdges) {
    r.s.sensors[kSensorAir] = kInvalidTemp;  // no room-air regulation
    const int target = 70;
    rec.water.iCommitted = 5000;
    rec.gas.iCommitted = 5000;

    // Water error 21 quarter degrees: pinned at POW_UST, integral untouched.
    r.s.waterQ = static_cast<int16_t>(70 * 4 - 21);
    r.gas(g.GAS_MAX - 101);
    BurningDemand d = burningDemand(r.s, target);
    EXPECT_EQ(d.power, 100 * 256);
    EXPECT_FALSE(d.airActive);
    EXPECT_EQ(rec.water.output, 25600);
    EXPECT_EQ(rec.water.iCommitted, 5000);
    EXPECT_EQ(rec.gas.output, 25600);
    EXPECT_EQ(rec.gas.iCommitted, 5000) << "a pinned winner commits nothing new";

    // 20 quarter degrees: a step, and with the gas pinned the water wins.
    r.s.waterQ = static_cast<int16_t>(70 * 4 - 20);
    d = burningDemand(r.s, target);
    EXPECT_EQ(d.power, 5000 + 600 - 1 + 3600);
    EXPECT_EQ(rec.water.iCommitted, 5600);

    // Flue-gas error 100 runs a step (and wins: 5000 + 300 + 25600 is
    // limited, so make the water bigger first).
    r.s.waterQ = static_cast<int16_t>(70 * 4 - 30);
    r.gas(g.GAS_MAX - 100);
    d = burningDemand(r.s, target);
    EXPECT_EQ(rec.gas.pTerm, 25600) << "30 x 10 x 100 limited to U";
    EXPECT_EQ(rec.gas.iTentative, 5000 + 300);
    r.gas(g.GAS_MAX - 10);
    d = burningDemand(r.s, target);
    EXPECT_EQ(d.power, rec.gas.output);
    EXPECT_EQ(rec.gas.iCommitted, rec.gas.iTentative);
}

TEST_F(Regulation, RoomAirTakesPartOnlyWhereDesigned) {
    r.room(20);
    u.TAIR_UST = 22;
    r.gas(100);
    EXPECT_TRUE(burningDemand(r.s, 70).airActive);
    EXPECT_EQ(rec.air.pTerm, 30 * 50 * 8) << "error 22 x 4 - 80 runs a step";
    u.HEAT_MODE = 3;
    EXPECT_FALSE(burningDemand(r.s, 70).airActive);
    u.HEAT_MODE = 1;
    r.s.controlFlags |= kFlagDhwDemand;
    EXPECT_FALSE(burningDemand(r.s, 70).airActive);
    r.s.controlFlags &= ~kFlagDhwDemand;
    EXPECT_TRUE(burningDemand(r.s, 70).airActive);
    r.s.scheduleActive = 1;
    r.s.activePeriod.useAir = 0;
    EXPECT_FALSE(burningDemand(r.s, 70).airActive) << "a period without a room target";
    r.s.activePeriod.useAir = 1;
    r.s.activePeriod.airTarget = 19;
    EXPECT_TRUE(burningDemand(r.s, 70).airActive);
    EXPECT_LT(rec.air.pTerm, 0) << "the period's room target replaces TAIR_UST";
    u.USE_HYDROSEP = 1;
    EXPECT_FALSE(burningDemand(r.s, 70).airActive);
}

TEST_F(Regulation, FirmwareTenthsUseWholeDegreeErrors) {
    r.s.boardVersion = 0x2215;
    r.s.boardVersionCopy = 0x2215;
    r.s.sensors[kSensorAir] = kInvalidTemp;
    r.s.sensors[kSensorWater] = 655;  // 65.5 degrees in tenths
    r.s.waterQ = 262;                 // what the link keeps
    r.gas(100);
    burningDemand(r.s, 70);
    EXPECT_EQ(rec.water.pTerm, 30 * 6 * (70 - 65) * 4);
}

TEST_F(Regulation, WaterTrendCountsSecondsPerHalfDegree) {
    WaterTrend t;
    updateWaterTrend(t, kInvalidTemp);
    EXPECT_EQ(t.trend, kNoTrend);
    EXPECT_EQ(t.valid, 0);
    updateWaterTrend(t, 240);
    EXPECT_EQ(t.valid, 1);
    EXPECT_EQ(t.reference, 240);
    for (int i = 0; i < 20; ++i) updateWaterTrend(t, 241);  // under half a degree
    EXPECT_EQ(t.trend, kNoTrend);
    for (int i = 0; i < 4; ++i) updateWaterTrend(t, 242);
    EXPECT_EQ(t.trend, kNoTrend) << "four cycles off the reference are noise";
    updateWaterTrend(t, 242);
    EXPECT_EQ(t.trend, 25) << "the fifth makes a step: 25 s for it";
    EXPECT_EQ(t.count, 4);
    EXPECT_EQ(t.reference, 242);
    for (int i = 0; i < 30; ++i) updateWaterTrend(t, 242);
    EXPECT_EQ(t.trend, 34) << "a longer wait stretches the trend";
    for (int i = 0; i < 5; ++i) updateWaterTrend(t, 240);
    EXPECT_EQ(t.trend, -39) << "falling";
    for (int i = 0; i < 95; ++i) updateWaterTrend(t, 240);
    EXPECT_EQ(t.trend, -99);
    updateWaterTrend(t, 240);
    updateWaterTrend(t, 240);
    EXPECT_EQ(t.trend, kNoTrend) << "after 100 cycles there is no trend";
    updateWaterTrend(t, kInvalidTemp);
    updateWaterTrend(t, 300);
    EXPECT_EQ(t.reference, 300) << "a valid reading after a fault starts over";
    EXPECT_EQ(t.count, 0);
}

TEST(WeatherLine, RoundsHalfAwayFromZero) {
    EXPECT_EQ(weatherLine(20, 20, -30, 80, 20), 20);
    EXPECT_EQ(weatherLine(20, 20, -30, 80, -30), 80);
    EXPECT_EQ(weatherLine(20, 20, -30, 80, 0), 44);
    EXPECT_EQ(weatherLine(20, 20, -30, 80, 1), 43) << "42.8";
    EXPECT_EQ(weatherLine(20, 20, -30, 80, 25), 14) << "beyond the points the line goes on";
    EXPECT_EQ(weatherLine(0, 0, 2, 1, 1), 1) << "0.5";
    EXPECT_EQ(weatherLine(0, 0, 2, 1, -1), -1) << "-0.5";
    EXPECT_EQ(weatherLine(0, 0, 4, 1, 1), 0) << "0.25";
    EXPECT_EQ(weatherLine(0, 0, 4, 1, 3), 1) << "0.75";
    EXPECT_EQ(weatherLine(0, 10, 4, 9, 2), 9) << "9.5 on a falling line";
    // Both points at one outdoor temperature: a step, never a division by 0.
    EXPECT_EQ(weatherLine(5, 30, 5, 60, 4), 60);
    EXPECT_EQ(weatherLine(5, 30, 5, 60, 5), 30);
}

TEST_F(Regulation, BlowerForAPower) {
    u.FUEL = 2;  // user FAN_MIN 5, FAN_MAX 80, POWER_MIN 15
    EXPECT_EQ(fanForPower(r.s, 15), 5);
    EXPECT_EQ(fanForPower(r.s, 50), 36);
    EXPECT_EQ(fanForPower(r.s, 100), 80);
    u.FAN_MAX[2] = 100;
    EXPECT_EQ(fanForPower(r.s, 100), 100);
    u.FAN_MIN[2] = 9;
    EXPECT_EQ(fanForPower(r.s, 10), 9) << "never under the user minimum";
    u.FUEL = -4;  // accepted by its signed test; must not index outside
    EXPECT_EQ(fanForPower(r.s, 15), u.FAN_MIN[0]);
}

TEST_F(Regulation, SetBlowerAndExhaustModes) {
    u.FUEL = 0;  // service FAN_MIN 20
    u.EXFAN_UST = 50;
    r.s.burnerState = kBurning;
    setBlower(r.s, 19);
    EXPECT_EQ(r.s.fanPower, 0) << "under the blower minimum";
    setBlower(r.s, 20);
    EXPECT_EQ(r.s.fanPower, 20);

    u.EXFAN_MODE = 0;
    setBlower(r.s, 60);
    EXPECT_EQ(r.s.exhaustFanPower, 0);
    u.EXFAN_MODE = 1;
    setBlower(r.s, 0);
    EXPECT_EQ(r.s.exhaustFanPower, 50) << "mode 1 runs with the blower off";
    u.EXFAN_UST = 10;
    setBlower(r.s, 0);
    EXPECT_EQ(r.s.exhaustFanPower, 20) << "but not under the blower minimum";
    u.EXFAN_UST = 50;
    u.EXFAN_MODE = 2;
    setBlower(r.s, 60);
    EXPECT_EQ(r.s.exhaustFanPower, 20 + (40 * 30 + 40) / 80);
    setBlower(r.s, 100);
    EXPECT_EQ(r.s.exhaustFanPower, 50);
    setBlower(r.s, 0);
    EXPECT_EQ(r.s.exhaustFanPower, 0);
    u.EXFAN_UST = 20;
    setBlower(r.s, 60);
    EXPECT_EQ(r.s.exhaustFanPower, 20) << "EXFAN_UST at the minimum";

    // Chimney sweep: draught only for a stopped boiler below 110 degrees.
    u.EXFAN_MODE = 3;
    u.EXFAN_UST = 70;
    setBlower(r.s, 60);
    EXPECT_EQ(r.s.exhaustFanPower, 0);
    r.s.burnerState = kStop;
    r.gas(109);
    setBlower(r.s, 0);
    EXPECT_EQ(r.s.exhaustFanPower, 70);
    r.gas(110);
    setBlower(r.s, 0);
    EXPECT_EQ(r.s.exhaustFanPower, 0);
    r.gas(kInvalidTemp);
    setBlower(r.s, 0);
    EXPECT_EQ(r.s.exhaustFanPower, 0);
    u.EXFAN_MODE = 1;
    r.gas(50);
    setBlower(r.s, 0);
    EXPECT_EQ(r.s.exhaustFanPower, 0) << "a stopped burner needs no draught in mode 1";

    // Semi-automatic mode has its own blower minimum.
    u.BURN_MODE = 1;
    g.SA_FAN_MIN = 12;
    r.s.burnerState = kBurning;
    setBlower(r.s, 12);
    EXPECT_EQ(r.s.fanPower, 12);
    setBlower(r.s, 11);
    EXPECT_EQ(r.s.fanPower, 0);
}

TEST_F(Regulation, AugerTiming) {
    u.FUEL = 1;
    g.WORM_PERIOD[1] = 90;
    g.WORM100[1] = 30;
    AugerTiming t = augerTiming(r.s, 12800);
    EXPECT_EQ(t.onTenths, 15) << "exactly 15 tenths keeps the period";
    EXPECT_EQ(t.offTenths, 885);
    t = augerTiming(r.s, 25600);
    EXPECT_EQ(t.onTenths, 15) << "30 tenths become 15 at half the period";
    EXPECT_EQ(t.offTenths, 435) << "450.5 - 15";
    t = augerTiming(r.s, 6400);
    EXPECT_EQ(t.onTenths, 7) << "7.5 truncated";
    EXPECT_EQ(t.offTenths, 892) << "892.5 truncated";

    u.WORM_CORR[1] = 50;
    t = augerTiming(r.s, 12800);
    EXPECT_EQ(t.offTenths, 585) << "period 900 / 1.5";
    u.WORM_CORR[1] = 30;
    t = augerTiming(r.s, 12800);
    EXPECT_EQ(t.offTenths, 677) << "692.3 - 15";
    u.WORM_CORR[1] = -50;
    t = augerTiming(r.s, 12800);
    EXPECT_EQ(t.offTenths, 1785);

    // ON longer than the period less a second is cut to it.
    u.WORM_CORR[1] = 0;
    g.WORM_PERIOD[1] = 5;
    g.WORM100[1] = 45;
    t = augerTiming(r.s, 25600);
    EXPECT_EQ(t.onTenths, 7) << "period 50 x 15 / 45 + 0.5 = 17.17, less 10";
    EXPECT_EQ(t.offTenths, 10);
    EXPECT_EQ(augerTiming(r.s, 0).onTenths, 0);
}

TEST_F(Regulation, AugerDriveRunsEndlessAndFollowsThePower) {
    u.FUEL = 1;
    g.WORM_PERIOD[1] = 90;
    g.WORM100[1] = 30;
    driveAuger(r.ctx, 12800);
    EXPECT_TRUE(r.pulse.running());
    EXPECT_EQ(r.s.pulseOnMs, 1500);
    EXPECT_EQ(r.s.pulseOffMs, 88500);
    EXPECT_EQ(r.s.pulseCount, -1);
    driveAuger(r.ctx, 25600);
    EXPECT_EQ(r.s.pulseOffMs, 43500);
}

TEST_F(Regulation, MaintenancePower) {
    u.POW_UST_MIN = 15;
    const int expected[3] = {15 * 256 / 8, 15 * 256 / 10, 15 * 256 / 3};
    for (int fuel = 0; fuel < 3; ++fuel) {
        u.FUEL = fuel;
        EXPECT_EQ(maintenancePower(r.s), expected[fuel]) << "fuel " << fuel;
    }
    u.FUEL = 5;
    EXPECT_EQ(maintenancePower(r.s), 1280) << "the pellet divisor for every later fuel";
    u.FUEL = 0;
    u.KEEP_WORM_CORR[0] = 10;
    EXPECT_EQ(maintenancePower(r.s), (15 * 65536 + 896) / 1792) << "a positive correction raises it";
    u.KEEP_WORM_CORR[0] = -10;
    EXPECT_EQ(maintenancePower(r.s), (15 * 65536 + 1152) / 2304);
    u.KEEP_WORM_CORR[0] = 1;
    EXPECT_EQ(maintenancePower(r.s), (15 * 65536 + 1011) / 2022) << "25.6 rounds to 26";
    u.KEEP_WORM_CORR[0] = -1;
    EXPECT_EQ(maintenancePower(r.s), (15 * 65536 + 1037) / 2074);
    // KESTRALO accepts corrections up to 50, past the pole of the pellet
    // divisor at 30. The feed rises with the correction and holds at the
    // lowest regulated power, POW_UST_MIN, which the formula reaches at 20.
    u.FUEL = 2;
    u.KEEP_WORM_CORR[2] = -20;
    int last = maintenancePower(r.s);
    EXPECT_EQ(last, (15 * 65536 + 640) / 1280);
    for (int a = -19; a <= 50; ++a) {
        u.KEEP_WORM_CORR[2] = a;
        const int p = maintenancePower(r.s);
        EXPECT_GE(p, last) << a << ": a larger correction never feeds less";
        EXPECT_LE(p - last, 15 * 256 / 8) << a << ": no jump";
        EXPECT_LE(p, 15 * 256) << a << ": never more than POW_UST_MIN";
        last = p;
    }
    u.KEEP_WORM_CORR[2] = 19;
    EXPECT_EQ(maintenancePower(r.s), (15 * 65536 + 141) / 282) << "the formula below the bound";
    for (int a : {20, 21, 29, 30, 31, 50}) {
        u.KEEP_WORM_CORR[2] = a;
        EXPECT_EQ(maintenancePower(r.s), 15 * 256) << a;
    }
    // Wood and coal keep the formula over the whole range.
    u.FUEL = 0;
    u.KEEP_WORM_CORR[0] = 50;
    EXPECT_EQ(maintenancePower(r.s), (15 * 65536 + 384) / 768);
}

TEST_F(Regulation, SemiAutomaticRampCeiling) {
    u.BURN_MODE = 1;
    u.SA_FAN_BUP = 50;
    g.SA_BLOW_TIME = 20;
    g.SA_FAN_MIN = 1;
    r.s.burnerState = kBurning;
    r.s.pumpCh = 1;
    r.water(40);     // water error far above 20: regulator pinned
    r.gas(100);      // flue-gas error 140: pinned
    struct {
        int remaining;
        int ceiling;
    } cases[] = {{1200, 50}, {1199, 50}, {600, 75}, {1, 99}, {0, 100}};
    for (auto c : cases) {
        r.s.setCountdown(kTBlowup, c.remaining);
        EXPECT_EQ(semiAutomaticBlower(r.ctx, 70), c.ceiling) << c.remaining << " s left";
        EXPECT_EQ(r.s.fanPower, c.ceiling);
        EXPECT_EQ(r.s.burner.powerDisplay, c.ceiling);
    }
}

TEST_F(Regulation, SemiAutomaticCutOffs) {
    u.BURN_MODE = 1;
    g.SA_FAN_MIN = 10;
    r.s.burnerState = kBurning;
    r.s.setCountdown(kTBlowup, 0);
    r.s.pumpCh = 1;
    r.gas(100);
    r.water(70);
    // Regulators primed high, so only the cut-offs can give 0.
    r.s.combustion.saWater.iCommitted = 20000;
    r.s.waterQ = static_cast<int16_t>(70 * 4 + 19);
    EXPECT_GT(semiAutomaticBlower(r.ctx, 70), 0) << "water error -19";
    r.s.combustion.saWater.iCommitted = 20000;
    r.s.waterQ = static_cast<int16_t>(70 * 4 + 20);
    EXPECT_EQ(semiAutomaticBlower(r.ctx, 70), 0) << "water error -20";
    r.s.waterQ = static_cast<int16_t>(60 * 4);
    r.s.combustion.gas.iCommitted = 25600;
    r.gas(g.SA_GAS_LIM + 50);
    EXPECT_GT(semiAutomaticBlower(r.ctx, 70), 0) << "flue gas 50 over its limit";
    r.s.combustion.gas.iCommitted = 25600;
    r.gas(g.SA_GAS_LIM + 51);
    EXPECT_EQ(semiAutomaticBlower(r.ctx, 70), 0) << "flue gas 51 over its limit";
    // No heat sink: both pumps off with the water at TPUMPS_ON.
    r.gas(100);
    r.water(u.TPUMPS_ON);
    r.s.waterQ = static_cast<int16_t>(40 * 4);
    r.s.pumpCh = 0;
    EXPECT_EQ(semiAutomaticBlower(r.ctx, 70), 0);
    r.water(u.TPUMPS_ON - 1);
    EXPECT_GT(semiAutomaticBlower(r.ctx, 70), 0);
}

// The water target, step by step, in both variants.
struct WaterTarget : ::testing::TestWithParam<Variant> {
    WaterTarget() : r(GetParam()) {}
    bool kestralo() const { return isKestralo(GetParam()); }
    CombustionRig r;
};

TEST_P(WaterTarget, BaseFromScheduleWeatherOrSetting) {
    UserParams& u = r.s.usr;
    EXPECT_EQ(waterTarget(r.s), 75);
    EXPECT_EQ(r.s.combustion.weatherTarget, 255);
    u.USE_WHETHER = 1;
    r.s.sensors[kSensorOutdoor] = -25;
    EXPECT_EQ(waterTarget(r.s), 74);
    EXPECT_EQ(r.s.combustion.weatherTarget, 74);
    r.s.sensors[kSensorOutdoor] = 0;
    EXPECT_EQ(waterTarget(r.s), 60) << "44 raised to TWAT_UST_LIMIT_MIN";
    r.s.sensors[kSensorOutdoor] = -60;
    EXPECT_EQ(waterTarget(r.s), 85) << "116 limited to TWAT_UST_LIMIT_MAX";
    r.s.sensors[kSensorOutdoor] = kInvalidTemp;
    EXPECT_EQ(waterTarget(r.s), 75);
    EXPECT_EQ(r.s.combustion.weatherTarget, 255);
    r.s.sensors[kSensorOutdoor] = -25;
    r.s.scheduleActive = 1;
    r.s.activePeriod.useWater = 1;
    r.s.activePeriod.waterTarget = 65;
    EXPECT_EQ(waterTarget(r.s), 65) << "the schedule wins over the weather";
    EXPECT_EQ(r.s.combustion.weatherTarget, 255);
}

TEST_P(WaterTarget, HotWaterRaisesAndLimits) {
    UserParams& u = r.s.usr;
    u.HEAT_MODE = 1;
    u.TDHW_UST = 70;
    EXPECT_EQ(waterTarget(r.s), 75) << "no demand";
    r.s.controlFlags |= kFlagDhwDemand;
    EXPECT_EQ(waterTarget(r.s), kestralo() ? 85 : 75);
    u.TDHW_UST = 60;
    EXPECT_EQ(waterTarget(r.s), 75);
    u.HEAT_MODE = 3;
    r.s.controlFlags &= ~kFlagDhwDemand;
    u.TDHW_UST = 78;
    EXPECT_EQ(waterTarget(r.s), kestralo() ? 85 : 80) << "DHW_OPT_UST_MAX or 80";
    u.DHW_OPT_UST_MAX = 70;
    EXPECT_EQ(waterTarget(r.s), kestralo() ? 70 : 80);
    r.s.sensors[kSensorDhw] = kInvalidTemp;
    u.TWAT_UST = 84;
    EXPECT_EQ(waterTarget(r.s), kestralo() ? 70 : 80) << "the limit holds without a DHW reading";
}

TEST_P(WaterTarget, SeparatorBufferTankAndLegionella) {
    UserParams& u = r.s.usr;
    r.s.scheduleActive = 1;
    r.s.activePeriod.useWater = 1;
    r.s.activePeriod.waterTarget = 90;
    u.USE_HYDROSEP = 1;
    EXPECT_EQ(waterTarget(r.s), 85) << "nothing takes heat";
    r.s.valves[1].circuitPump = 1;
    EXPECT_EQ(waterTarget(r.s), 90);
    r.s.valves[1].circuitPump = 0;
    u.PRIME_LOOP_TYPE = 1;
    u.PRIME_LOOP_TANK_UST = 82;
    u.PRIME_LOOP_TANK_DELTA = 5;
    r.s.pumps.tankLoading = 1;
    EXPECT_EQ(waterTarget(r.s), 87) << "the tank raises after the separator limit";

    r.s.scheduleActive = 0;
    u.USE_HYDROSEP = 0;
    r.s.pumps.tankLoading = 0;
    u.ANTI_LEGION_UST = 78;
    r.s.pumps.legionActive = 1;
    EXPECT_EQ(waterTarget(r.s), kestralo() ? 78 : 80);
    u.TWAT_UST = 84;
    EXPECT_EQ(waterTarget(r.s), 84);
}

TEST_P(WaterTarget, RoomThermostatLowersOnlyInOrvena) {
    UserParams& u = r.s.usr;
    r.s.boardInputs = kInRoomThermostat;
    u.RESPONSE_ON_TMSTAT_TWAT_UST_ENABLE = 1;
    u.RESPONSE_ON_TMSTAT_TWAT_UST_DECREASE = 10;
    EXPECT_EQ(waterTarget(r.s), kestralo() ? 75 : 65);
    u.RESPONSE_ON_TMSTAT_TWAT_UST_DECREASE = 20;
    EXPECT_EQ(waterTarget(r.s), kestralo() ? 75 : 60) << "not below TWAT_UST_LIMIT_MIN";
    u.RESPONSE_ON_TMSTAT_TWAT_UST_ENABLE = 0;
    EXPECT_EQ(waterTarget(r.s), 75);
}

INSTANTIATE_TEST_SUITE_P(Variants, WaterTarget, ::testing::Values(Variant::Orvena, Variant::Kestralo));

}  // namespace
}  // namespace vesk::test
