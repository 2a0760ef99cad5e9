#include <gtest/gtest.h>

#include "control/burner_commands.h"
#include "core/controller_state.h"

namespace vesk {
namespace {

struct Rig {
    explicit Rig(Variant v = Variant::Orvena) : s(v) { s.localTime = {2026, 3, 0, 1, 10, 0, 0, 0}; }
    int cmd(int code) {
        s.controlFlags &= ~kFlagStateEntry;
        return commandBurner(s, code);
    }
    bool entry() const { return s.controlFlags & kFlagStateEntry; }
    ControllerState s;
};

TEST(CommandBurner, StartAndStopFromScreens) {
    Rig r;
    r.s.warnings = 0x001;
    EXPECT_EQ(r.cmd(kCmdStartIgnition), 1);
    EXPECT_EQ(r.s.burnerState, kIgnition);
    EXPECT_TRUE(r.entry());
    EXPECT_EQ(r.s.warnings & 0x001, 0u) << "a start clears the went-out warning";
    EXPECT_EQ(r.cmd(kCmdStartIgnition), 0) << "already igniting";
    EXPECT_FALSE(r.entry());
    EXPECT_EQ(r.cmd(kCmdStop), 1);
    EXPECT_EQ(r.s.burnerState, kStop);
    EXPECT_EQ(r.s.usr.ANTI_JAM_DAY, 1886) << "stop records today's day number";
    EXPECT_EQ(r.cmd(kCmdStop), 0);
    EXPECT_EQ(r.cmd(kCmdAuto), 0) << "AUTO only from manual ignition";
    EXPECT_EQ(r.cmd(kCmdManualIgnition), 1);
    EXPECT_EQ(r.cmd(kCmdManualIgnition), 0);
    EXPECT_EQ(r.cmd(kCmdAuto), 1);
    EXPECT_EQ(r.s.burnerState, kBlowup);
}

TEST(CommandBurner, RemoteStartDependsOnFuelAndHeater) {
    Rig r;
    r.s.usr.FUEL = 3;
    r.s.usr.EN_AUTOHEATER = 1;
    EXPECT_EQ(r.cmd(kCmdRemoteStart), 1);
    EXPECT_EQ(r.s.burnerState, kBurning) << "FUEL 3 goes straight to burning";
    EXPECT_EQ(r.cmd(kCmdRemoteStart), 1) << "already running: success without change";
    EXPECT_FALSE(r.entry());
    r.s.usr.ANTI_JAM_DAY = 0;
    EXPECT_EQ(r.cmd(kCmdRemoteStop), 1);
    EXPECT_EQ(r.s.burnerState, kStop);
    EXPECT_EQ(r.s.usr.ANTI_JAM_DAY, 1886) << "every stop records today";
    EXPECT_EQ(r.cmd(kCmdRemoteStop), 1) << "already stopped counts as done";
    for (int fuel : {2, 5}) {
        r.s.burnerState = kStop;
        r.s.usr.FUEL = fuel;
        r.s.usr.EN_AUTOHEATER = 1;
        EXPECT_EQ(r.cmd(kCmdRemoteStart), 1);
        EXPECT_EQ(r.s.burnerState, kIgnition);
        r.s.burnerState = kStop;
        r.s.usr.EN_AUTOHEATER = 0;
        r.cmd(kCmdRemoteStart);
        EXPECT_EQ(r.s.burnerState, kBurning);
    }
    r.s.burnerState = kManualIgnition;
    EXPECT_EQ(r.cmd(kCmdRemoteStart), 0);
    EXPECT_EQ(r.cmd(kCmdRemoteStop), 0);
    r.s.burnerState = kStop;
    r.s.usr.BURN_MODE = 1;
    EXPECT_EQ(r.cmd(kCmdRemoteStart), 0) << "remote start only in automatic mode";
    EXPECT_EQ(r.s.burnerState, kStop);
}

TEST(CommandBurner, FuelLoadingSavesAndRestoresWithoutEntryFlag) {
    Rig r;
    EXPECT_EQ(r.cmd(kCmdFuelLoadBegin), 0) << "not from stop";
    r.s.burnerState = kPause;
    EXPECT_EQ(r.cmd(kCmdFuelLoadBegin), 1);
    EXPECT_EQ(r.s.burnerState, kFuelLoading);
    EXPECT_FALSE(r.entry());
    EXPECT_EQ(r.cmd(kCmdFuelLoadBegin), 0) << "not twice";
    EXPECT_EQ(r.cmd(kCmdFuelLoadEnd), 1);
    EXPECT_EQ(r.s.burnerState, kPause);
    EXPECT_FALSE(r.entry());
    EXPECT_EQ(r.cmd(kCmdFuelLoadEnd), 0);
}

TEST(CommandBurner, ModeChangeAndReverseTest) {
    Rig r;
    r.s.burnerState = kBurning;
    r.s.usr.BURN_MODE = 2;
    r.s.warnings = 0x001;
    EXPECT_EQ(r.cmd(kCmdModeChanged), 1);
    EXPECT_EQ(r.s.burnerState, kBurning);
    EXPECT_EQ(r.s.warnings, 0u);
    r.s.usr.BURN_MODE = 1;
    EXPECT_EQ(r.cmd(kCmdModeChanged), 1);
    EXPECT_EQ(r.s.burnerState, kStop);
    r.s.usr.BURN_MODE = 7;
    r.s.warnings = 0x001;
    EXPECT_EQ(r.cmd(kCmdModeChanged), 0);
    EXPECT_EQ(r.s.warnings, 0u);
    EXPECT_EQ(r.cmd(kCmdReverseTest), 1);
    EXPECT_EQ(r.s.burnerState, kAugerReverseTest);
    EXPECT_EQ(r.cmd(kCmdReverseTest), 0);
    EXPECT_EQ(r.cmd(99), 0);
}

}  // namespace
}  // namespace vesk
