// The heat modes: CH rule and room rule, DHW priority, DHW only, the DHW
// demand flag, the CH pause cycle and the room thermostat.
#include <gtest/gtest.h>

#include "pumps_rig.h"

namespace vesk::test {
namespace {

// U = 60, dU = 5, O = 3: the tank charges at 55 and below, stops at 60.
struct DhwRig : PumpRig {
    explicit DhwRig(int heatMode, Variant v = Variant::Orvena) : PumpRig(v) {
        s.usr.HEAT_MODE = heatMode;
        s.usr.TDHW_UST = 60;
        s.usr.DHW_OPT_DELTA = 5;
        s.usr.DHW_OPT_DELTA_OVH = 3;
        s.usr.TAIR_UST = 21;
        s.svc.AIR_HYST = 2;
        room(15);
    }
};

struct Step {
    int w, d;
    Pumps want;
};

void expectSteps(PumpRig& r, std::initializer_list<Step> steps, const char* what) {
    for (const Step& k : steps) {
        r.water(k.w);
        r.dhw(k.d);
        r.cycle();
        EXPECT_EQ(r.pumps(), k.want) << what << ": W " << k.w << " D " << k.d;
    }
}

TEST(HeatModes, HeatingFollowsTheRoomOnlyWithASeparator) {
    DhwRig r(0);
    for (int room : {15, 21, 25, kInvalidTemp}) {
        r.room(room);
        r.cycle();
        EXPECT_EQ(r.pumps(), (Pumps{1, 0, 0})) << room;
    }
    r.s.usr.USE_HYDROSEP = 1;
    r.s.usr.TRC_HSEP_ON = 70;
    const std::pair<int, int> room[] = {{19, 1}, {20, 1}, {21, 0}, {20, 0}, {19, 1}, {kInvalidTemp, 1}};
    for (auto [t, ch] : room) {
        r.room(t);
        r.cycle();
        EXPECT_EQ(r.s.pumpCh, ch) << t;
    }
}

TEST(HeatModes, RoomRuleTakesTheScheduleTarget) {
    DhwRig r(2);
    r.dhw(kInvalidTemp);
    {
        std::lock_guard<std::mutex> g(r.schedule.scheduleLock);
        Schedule& sc = r.schedule.schedule;
        sc.enabled = 1;
        for (int32_t& d : sc.dayProgram) d = 0;
        sc.programs[0].periods[0] = Period{0, 24, 0, 1, 17, 0, 0};
        sc.programs[0].count = 1;
    }
    const std::pair<int, int> steps[] = {{15, 1}, {17, 0}, {16, 0}, {15, 1}, {16, 1}};
    for (auto [room, ch] : steps) {
        r.room(room);
        r.cycle();
        EXPECT_EQ(r.s.pumpCh, ch) << room << " against the schedule's 17 (TAIR_UST 21)";
    }

    // A period without a room target keeps the CH pump on.
    r.schedule.schedule.programs[0].periods[0].useAir = 0;
    r.room(30);
    r.cycle();
    EXPECT_EQ(r.s.pumpCh, 1);
}

TEST(HeatModes, DhwPriority) {
    DhwRig r(1);
    expectSteps(r,
                {
                    {70, 50, {0, 1, 0}},  // tank below U - dU, boiler hotter by O: tank first
                    {70, 58, {0, 1, 0}},  // charging band, pump on: CH waits
                    {70, 60, {1, 0, 0}},  // tank at U: room rule
                    {70, 58, {1, 0, 0}},  // band with the pump off: room rule
                    {70, 55, {0, 1, 0}},
                    {57, 55, {0, 1, 0}},  // boiler only 2 above: the running pump stays, CH off
                    {55, 55, {0, 0, 0}},  // tank as warm as the boiler: stop; CH off at U - dU
                    {57, 57, {1, 0, 0}},  // tank above U - dU: room rule
                    {59, 57, {1, 0, 0}},  // boiler 2 above a tank in the band, pump off
                    {57, 55, {0, 0, 0}},  // cold tank but too little margin: waits, CH off
                    {58, kInvalidTemp, {1, 0, 0}},
                },
                "priority");
}

// TWAT_UST 70: forced charging from 85, held above 83.
TEST(HeatModes, DhwOnly) {
    DhwRig r(3);
    r.s.usr.TWAT_UST = 70;
    r.s.usr.DHW_OPT_ENABLE = 1;
    expectSteps(r,
                {
                    {70, 50, {0, 1, 0}},
                    {70, 58, {0, 1, 0}},  // in the band: kept
                    {70, 60, {0, 0, 0}},  // tank at U
                    {70, 58, {0, 0, 0}},
                    {70, 55, {0, 1, 0}},
                    {57, 55, {0, 1, 0}},  // margin below O: kept
                    {55, 54, {0, 1, 0}},
                    {54, 54, {0, 0, 0}},  // tank as warm as the boiler
                    {85, 62, {0, 1, 0}},  // boiler at TWAT_UST + 15: dump into the tank
                    {84, 62, {0, 1, 0}},  // held above 83
                    {83, 62, {0, 0, 0}},
                    {60, kInvalidTemp, {0, 1, 0}},
                },
                "dhw only");
    r.s.usr.DHW_OPT_ENABLE = 0;
    expectSteps(r, {{85, 62, {0, 1, 0}}, {88, 62, {0, 1, 0}}}, "held on without the option");
    expectSteps(r, {{80, 62, {0, 0, 0}}, {88, 62, {0, 0, 0}}}, "never forced without the option");

    r.s.usr.TWAT_UST = 80;  // the forcing point stops at 90
    r.s.usr.DHW_OPT_ENABLE = 1;
    expectSteps(r, {{89, 62, {0, 0, 0}}, {90, 62, {0, 1, 0}}}, "capped");
}

TEST(HeatModes, DhwDemandFlagBand) {
    for (int mode : {1, 2}) {
        DhwRig r(mode);
        r.water(70);
        const std::pair<int, bool> steps[] = {{57, false}, {55, true}, {59, true}, {60, false},
                                              {56, false}, {50, true}, {kInvalidTemp, false}};
        for (auto [d, on] : steps) {
            r.dhw(d);
            r.cycle();
            EXPECT_EQ(r.demand(), on) << "mode " << mode << " D " << d;
        }
        r.dhw(50);
        r.cycle();
        r.s.usr.HEAT_MODE = 0;
        r.cycle();
        EXPECT_FALSE(r.demand()) << "heating only";
    }
}

// ON 5, OFF 30: the CH pump rests while the room is warm, then runs.
TEST(HeatModes, ChPauseCycle) {
    DhwRig r(0, Variant::Orvena);
    r.s.usr.PUMP_CH_PAUSE_ENABLE = 1;
    r.s.usr.PUMP_CH_ON_DURATION = 5;
    r.s.usr.PUMP_CH_OFF_DURATION = 30;
    r.water(70);
    r.room(21);
    r.cycle();
    const int start = r.s.pumps.chPauseStart;
    EXPECT_EQ(start, 12 * 60);
    EXPECT_EQ(r.s.pumpCh, 0);
    std::vector<int> ch;
    for (int minute = 1; minute <= 40; ++minute) {
        r.room(minute == 10 ? 20 : 21);
        r.after(60);
        ch.push_back(r.s.pumpCh);
    }
    for (int minute = 1; minute <= 40; ++minute) {
        const int m = minute;
        int want = (m > 30 && m <= 35) ? 1 : 0;
        if (m == 10) want = 1;  // cool room: the heating rule stands
        EXPECT_EQ(ch[minute - 1], want) << minute;
    }
    EXPECT_EQ(r.s.pumps.chPauseStart, start + 36) << "a new cycle after ON + OFF";
    r.room(kInvalidTemp);
    r.after(60);
    EXPECT_EQ(r.s.pumpCh, 0) << "no room reading counts as warm";

    r.s.usr.USE_HYDROSEP = 1;
    r.s.usr.TRC_HSEP_ON = 80;
    r.room(15);
    r.after(60);
    EXPECT_EQ(r.s.pumps.chPauseStart, -1) << "not with a separator";
    EXPECT_EQ(r.s.pumpCh, 1);
}

TEST(HeatModes, RoomThermostatStopsTheChPumpOnOrvena) {
    for (Variant v : {Variant::Orvena, Variant::Kestralo}) {
        DhwRig r(0, v);
        r.water(70);
        r.s.boardInputs = kInRoomThermostat;
        r.s.usr.RESPONSE_ON_TMSTAT_TWAT_UST_ENABLE = 0;
        r.cycle();
        EXPECT_EQ(r.s.pumpCh, isKestralo(v) ? 1 : 0) << "KESTRALO answers in the cycle";
        r.s.usr.RESPONSE_ON_TMSTAT_TWAT_UST_ENABLE = 1;
        r.cycle();
        EXPECT_EQ(r.s.pumpCh, 1) << "the target is lowered instead";
        r.s.usr.RESPONSE_ON_TMSTAT_TWAT_UST_ENABLE = 0;
        r.s.boardInputs = 0;
        r.cycle();
        EXPECT_EQ(r.s.pumpCh, 1);
    }
}

}  // namespace
}  // namespace vesk::test
