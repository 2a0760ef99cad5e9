// The module's messages and the panel's replies, without the line.
#include <gtest/gtest.h>

#include "expansion_rig.h"
#include "net/login_guard.h"
#include "net/status_record.h"
#include "settings/settings_file.h"

namespace vesk::test {
namespace {

TEST(ModuleQueries, FaultsTemperaturesSetpoints) {
    ExpansionRig rig;
    ControllerState& s = rig.p.s;
    s.faults = 0x020 | 0x001;
    s.warnings = 0x00F;
    EXPECT_EQ(rig.ask({1}), (Bytes{110, 14}));
    EXPECT_FALSE(rig.activity());

    s.sensors = {21, -7, 0x3FFF, 0, 0x4001, 0, 0, 0, 0, 0, 0, 0};
    s.boardVersionCopy = 0x2215;  // tenths, except the flue gas
    s.sensors[kSensorWater] = 655;
    s.sensors[kSensorAir] = 0x4000;
    s.sensors[kSensorOutdoor] = -75;
    s.sensors[kSensorGas] = 180;
    EXPECT_EQ(rig.ask({3}), (Bytes{65, 0, 0xBC, 0x7F, 0xF9, 0xFF, 180, 0}));
    EXPECT_TRUE(rig.activity());

    s.usr.POW_UST = 80;
    s.usr.TWAT_UST = 72;
    s.usr.TAIR_UST = 22;
    EXPECT_EQ(rig.ask({4}), (Bytes{80, 72, 22}));
    EXPECT_TRUE(rig.activity());
    EXPECT_EQ(s.expansionEvent, 1);
}

TEST(ModuleQueries, SmsControlAndState) {
    ExpansionRig rig;
    ControllerState& s = rig.p.s;
    EXPECT_EQ(rig.ask({6}), Bytes{101});
    EXPECT_FALSE(rig.activity());
    s.smsControlEnable = 1;
    EXPECT_EQ(rig.ask({6}), Bytes{100});
    EXPECT_TRUE(rig.activity());

    s.burnerState = kBurning;
    rig.p.fuel.remainingPercent = 37;
    EXPECT_EQ(rig.ask({7}), (Bytes{101, 37}));
    EXPECT_TRUE(rig.activity());
    rig.p.fuel.remainingPercent = -1;
    s.faults = 0x008;
    EXPECT_EQ(rig.ask({7}), (Bytes{107, 255}));
}

TEST(ModuleQueries, StateWithoutFuelCountersReportsAnUnknownBunker) {
    ExpansionRig rig{Variant::Kestralo};
    ExpansionServices e = rig.services();
    e.dispatch.readFuel = nullptr;
    ExpansionMessages kestralo(e);
    EXPECT_EQ(kestralo.handle({7}), (Bytes{102, 255}));
}

TEST(ModuleSignal, LevelsAndTheBoundaryValues) {
    ExpansionRig rig;
    ControllerState& s = rig.p.s;
    EXPECT_EQ(s.expansionSignal, 255);
    EXPECT_EQ(rig.ask({8, 85}), Bytes{100});
    EXPECT_EQ(s.expansionSignal, 255);
    EXPECT_EQ(rig.ask({8, 90}), Bytes{100});
    EXPECT_EQ(s.expansionSignal, 3);
    const int refreshes = rig.p.refresh.count;
    EXPECT_EQ(rig.ask({8, 85}), Bytes{100});
    EXPECT_EQ(s.expansionSignal, 3);
    EXPECT_EQ(rig.p.refresh.count, refreshes);  // nothing changed to show
    EXPECT_EQ(rig.ask({8}), Bytes{100});        // no value: the level stays
    EXPECT_EQ(s.expansionSignal, 3);
    EXPECT_EQ(rig.ask({8, 255}), Bytes{100});
    EXPECT_EQ(s.expansionSignal, 255);
    EXPECT_FALSE(rig.activity());
}

TEST(ModuleMessages, UnknownCodesAreNotHandled) {
    ExpansionRig rig;
    for (uint8_t code : {0, 2, 9, 99, 105, 255}) EXPECT_FALSE(rig.ask({code})) << int(code);
    EXPECT_FALSE(rig.ask({}));
    EXPECT_EQ(rig.p.s.expansionNetCapable, 0);
}

// Set request (code 5).

TEST(ModuleSet, EachItemIsAcceptedOnItsOwn) {
    ExpansionRig rig;
    UserParams& u = rig.p.s.usr;
    EXPECT_EQ(rig.ask({5, 0x08, 36}), Bytes{0});
    EXPECT_FALSE(rig.activity());  // nothing taken, nothing to signal
    EXPECT_FALSE(rig.p.userSaved());
    // Power 49 refused, water 85 (the upper limit) taken, air 5 taken.
    EXPECT_EQ(rig.ask({5, 0x0E, 49, 85, 5}), Bytes{0x0C});
    EXPECT_EQ(u.TWAT_UST, 85);
    EXPECT_EQ(u.TAIR_UST, 5);
    EXPECT_NE(u.POW_UST, 49);
    EXPECT_TRUE(rig.activity());
    EXPECT_NE(readText(rig.p.userFile()).find("TAIR_UST=5\n"), std::string::npos);
    EXPECT_EQ(rig.ask({5, 0x06, 100, 59}), Bytes{0x02});
    EXPECT_EQ(u.POW_UST, 100);
    EXPECT_EQ(u.TWAT_UST, 85);
}

TEST(ModuleSet, StartAndStopGoThroughTheBurnerEntry) {
    ExpansionRig rig;
    EXPECT_EQ(rig.ask({5, 0x01, 101}), Bytes{0x01});
    EXPECT_EQ(rig.ask({5, 0x01, 100}), Bytes{0x01});
    EXPECT_EQ(rig.ask({5, 0x01, 1}), Bytes{0});
    EXPECT_EQ(rig.p.burnerCodes, (std::vector<int>{5, 6}));
    // Start and stop alone save no settings.
    EXPECT_FALSE(rig.p.userSaved());

    ExpansionServices e = rig.services();
    e.dispatch.commandBurner = [](int) { return 0; };
    ExpansionMessages refusing(e);
    EXPECT_EQ(refusing.handle({5, 0x01, 101}), Bytes{0});
}

TEST(ModuleSet, ThermostatSwitchSavesOnlyOnAChange) {
    ExpansionRig rig;
    Schedule& sch = rig.p.schedule.schedule;
    EXPECT_EQ(rig.ask({5, 0x10, 7}), Bytes{0});
    EXPECT_EQ(rig.ask({5, 0x10, 0}), Bytes{0x10});  // already off
    EXPECT_FALSE(rig.p.scheduleSaved());
    EXPECT_EQ(rig.ask({5, 0x10, 20}), Bytes{0x10});
    EXPECT_EQ(sch.enabled, 1);
    EXPECT_TRUE(rig.p.scheduleSaved());
    EXPECT_FALSE(rig.p.userSaved());
    rig.p.clearFiles();
    EXPECT_EQ(rig.ask({5, 0x10, 20}), Bytes{0x10});
    EXPECT_FALSE(rig.p.scheduleSaved());
    EXPECT_EQ(rig.ask({5, 0x18, 22, 0}), Bytes{0x18});
    EXPECT_EQ(sch.enabled, 0);
    EXPECT_TRUE(rig.p.scheduleSaved());
}

TEST(ModuleSet, ItemsMissingFromAShortRequestAreNotTaken) {
    ExpansionRig rig;
    UserParams& u = rig.p.s.usr;
    u.TAIR_UST = 20;
    EXPECT_EQ(rig.ask({5}), Bytes{0});
    EXPECT_EQ(rig.ask({5, 0x1A, 70}), Bytes{0x02});  // air and thermostat bytes never came
    EXPECT_EQ(u.POW_UST, 70);
    EXPECT_EQ(u.TAIR_UST, 20);
    EXPECT_EQ(rig.p.schedule.schedule.enabled, 0);
}

// Network messages (codes 100..104).

TEST(ModuleNet, IdentityAndNetworkCapability) {
    ExpansionRig rig;
    EXPECT_EQ(rig.ask({100}), (Bytes{0, 0, 6, 0, 0x40, 0xE2, 0x01, 0x00}));  // SERIAL 123456
    EXPECT_EQ(rig.p.s.expansionNetCapable, 1);
}

TEST(ModuleNet, EventCounterFollowsTheStatusValue) {
    ExpansionRig rig;
    ControllerState& s = rig.p.s;
    auto events = [&] { return *rig.ask({101}); };
    Bytes r = events();
    ASSERT_EQ(r.size(), 10u);
    EXPECT_EQ(r, (Bytes{0, 0, 0, 0, 0, 0, 0, 0, 15, 30}));  // rig clock 12:30:15

    s.faults = 0x002;
    s.warnings = 0x100;  // bunker not filled: bit 9 of word B
    r = events();
    EXPECT_EQ(getU16(r.data()), 1);
    EXPECT_EQ(getU32(r.data() + 4), notificationStatus(s));
    EXPECT_EQ(getU16(r.data() + 4), 0x0002);
    EXPECT_EQ(getU16(r.data() + 6), 0x0200);
    EXPECT_EQ(getU16(events().data()), 1);  // unchanged
    s.controlFlags |= kFlagBunkerFillFailed;  // the record's bit 9, not the module's
    EXPECT_EQ(getU16(events().data()), 1);
    s.faults = 0;
    s.warnings = 0;
    EXPECT_EQ(getU16(events().data()), 2);

    // The counter is eight bits wide.
    for (int i = 0; i < 254; ++i) {
        s.faults ^= 0x001;
        events();
    }
    EXPECT_EQ(rig.messages.eventCounter(), 0);
    EXPECT_EQ(getU16(events().data()), 0);
}

TEST(ModuleNet, LoginCheckResults) {
    ExpansionRig rig;
    auto login = [&](uint16_t first, uint16_t second, uint32_t id, uint32_t pwd) {
        Bytes m{102};
        appendU16(m, first);
        appendU16(m, second);
        appendU32(m, id);
        appendU32(m, pwd);
        return getU16(rig.ask(m)->data());
    };
    EXPECT_EQ(login(0, 6, kSerial, kPassword), 0);
    EXPECT_EQ(login(0, 6, kSerial + 1, kPassword), 1);
    EXPECT_EQ(login(0, 6, kSerial, kPassword + 1), 1);
    EXPECT_EQ(login(0, 5, kSerial, kPassword), 1);
    EXPECT_EQ(login(1, 6, kSerial, kPassword), 2);
    EXPECT_EQ(rig.ask({102, 0, 0, 6, 0}), (Bytes{1, 0}));  // too short to check
}

// The module's login checks draw on the same damping as the network's; the
// module cannot wait, so while others have emptied the bucket it is refused
// without a check, whatever the password.
TEST(ModuleNet, LoginChecksShareTheNetworksDamping) {
    ExpansionRig rig;
    LoginGuard guard;
    ExpansionServices e = rig.services();
    e.dispatch.loginGuard = &guard;
    ExpansionMessages messages(e);
    auto login = [&](uint16_t first, uint32_t pwd) {
        Bytes m{102};
        appendU16(m, first);
        appendU16(m, 6);
        appendU32(m, kSerial);
        appendU32(m, pwd);
        return getU16(messages.handle(m)->data());
    };
    for (uint32_t i = 0; i < LoginGuard::kBurst; ++i) guard.record(0x0A000001 + i, false, rig.p.clock.nowMs());
    EXPECT_EQ(login(0, kPassword), 1);
    EXPECT_EQ(login(1, kPassword), 2);  // not a password check: answered as designed
    rig.p.clock.advance(LoginGuard::kRefillMs);
    EXPECT_EQ(login(0, kPassword + 1), 1);
    EXPECT_EQ(guard.tokens(rig.p.clock.nowMs()), 0);
    rig.p.clock.advance(LoginGuard::kRefillMs);
    EXPECT_EQ(login(0, kPassword), 0);
}

TEST(ModuleNet, RelayRunsTheVariantsCommandsWithoutLogin) {
    for (Variant v : {Variant::Orvena, Variant::Kestralo}) {
        ExpansionRig rig{v};
        const auto status = rig.ask({103, 1, 0});
        ASSERT_TRUE(status);
        EXPECT_EQ(getU16(status->data()), 0);
        EXPECT_EQ(status->size(), 2 + (isKestralo(v) ? kStatusRecordSizeKestralo : kStatusRecordSizeOrvena));

        // Only the low byte selects: 0x0104 is SetAirSetpoint; longer data is fine.
        EXPECT_EQ(rig.ask({103, 4, 1, 23, 0, 99}), (Bytes{0, 0}));
        EXPECT_EQ(rig.p.s.usr.TAIR_UST, 23);
        EXPECT_TRUE(rig.p.userSaved());
        EXPECT_EQ(rig.ask({103, 128, 0}), (Bytes{2, 0}));  // no protocol version here
        EXPECT_EQ(rig.ask({103, 24, 0}), (Bytes{2, 0}));
    }
}

TEST(ModuleNet, RelayRefusesDataShorterThanTheCommandReads) {
    ExpansionRig rig;
    UserParams& u = rig.p.s.usr;
    const UserParams before = u;
    EXPECT_EQ(rig.ask({103, 4, 0, 23}), (Bytes{1, 0}));         // SetAirSetpoint needs 2
    EXPECT_EQ(rig.ask({103, 12, 0, 0, 1, 1}), (Bytes{1, 0}));   // SetValveCircuit needs 18
    EXPECT_EQ(rig.ask({103, 9, 0, 1, 1}), (Bytes{1, 0}));       // SetSmsOptions needs 3
    EXPECT_EQ(rig.ask({103, 4}), (Bytes{1, 0}));                // not even a whole code
    EXPECT_EQ(rig.ask({103}), (Bytes{1, 0}));
    EXPECT_TRUE(sameUserSettings(u, before));
    EXPECT_FALSE(rig.p.userSaved());

    EXPECT_EQ(rig.ask({103, 9, 0, 1, 1, 50}), (Bytes{0, 0}));
    EXPECT_EQ(rig.p.s.smsControlEnable, 1);
}

TEST(ModuleNet, NetworkReportAndAccessBits) {
    ExpansionRig rig;
    ControllerState& s = rig.p.s;
    const Bytes report{104, 7, 1, 192, 168, 4, 20, 9, 3, 1};
    s.usr.LAN_EN_LOC = 1;
    s.usr.LAN_EN_REM = 1;
    EXPECT_EQ(rig.ask(report), (Bytes{0, 0, 3}));
    EXPECT_EQ(s.expansionReport.type, 7);
    EXPECT_EQ(s.expansionReport.address, 0xC0A80414u);
    EXPECT_EQ(s.expansionReport.extra, 9);
    EXPECT_EQ(s.expansionReport.localConnections, 3);
    EXPECT_EQ(s.expansionReport.internetUp, 1);

    // With the panel's own adapter up the report is dropped and the remote
    // access is the panel's own business.
    rig.adapterUp = true;
    EXPECT_EQ(rig.ask(report), (Bytes{0, 0, 2}));
    EXPECT_EQ(s.expansionReport, ExpansionNetReport{});

    rig.adapterUp = false;
    s.usr.LAN_EN_LOC = 0;
    EXPECT_EQ(rig.ask({104, 1, 0, 10}), (Bytes{0, 0, 1}));  // short: not stored
    EXPECT_EQ(s.expansionReport, ExpansionNetReport{});
}

}  // namespace
}  // namespace vesk::test
