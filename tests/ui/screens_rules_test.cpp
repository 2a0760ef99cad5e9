// The home screen's rules at the boundaries the design names: mode texts,
// temperatures, the power bar, the flue-gas colour, fire and smoke, pumps,
// network and signal pictures, and the KESTRALO data lines.
#include <gtest/gtest.h>

#include "ui/screens/home_rules.h"
#include "ui/screens/network_indicators.h"

namespace vesk {
namespace {

StateSnapshot snap(int burnMode, int state, uint32_t faults = 0) {
    StateSnapshot v;
    v.settings.usr.BURN_MODE = burnMode;
    v.burnerState = state;
    v.faults = faults;
    return v;
}

TEST(HomeRules, ModeTextByBurningModeStateAndFaults) {
    const char* automatic[] = {"ОСТАНОВ", "ОСТАНОВ", "РОЗЖИГ", "ГОРЕНИЕ", "РАЗДУВ.", "ПАУЗА", "ОСТАНОВ", "ОСТАНОВ"};
    const char* semi[] = {"ОСТАНОВ", "ОСТАНОВ", "РОЗЖИГ", "ГОРЕНИЕ", "ОСТАНОВ", "ОСТАНОВ", "ОСТАНОВ", "ОСТАНОВ"};
    for (int st = 0; st < 8; ++st) {
        EXPECT_EQ(burnerModeText(snap(0, st)), automatic[st]) << st;
        EXPECT_EQ(burnerModeText(snap(1, st)), semi[st]) << st;
        EXPECT_EQ(burnerModeText(snap(2, st)), "ДРОВА") << st;
        for (int mode = 0; mode < 3; ++mode) EXPECT_EQ(burnerModeText(snap(mode, st, 0x100)), "ОШИБКА!");
    }
}

TEST(HomeRules, PanelTemperatures) {
    EXPECT_EQ(panelTemperatureText(0x4001, 0x2214), "--°C");
    EXPECT_EQ(panelTemperatureText(0x4000, 0x2214), "--°C");
    EXPECT_EQ(panelTemperatureText(0x3FFF, 0x2214), "16383°C");
    EXPECT_EQ(panelTemperatureText(215, 0x2215), "21°C");
    EXPECT_EQ(panelTemperatureText(215, 0x2214), "215°C");
    EXPECT_EQ(panelTemperatureText(-12, 0x2214), "-12°C");
    EXPECT_EQ(panelTemperatureText(-125, 0x2215), "-12°C");
}

TEST(HomeRules, PowerBarPercentAndColumns) {
    StateSnapshot burning = snap(0, kBurning);
    burning.burnerPower = 73;
    EXPECT_EQ(powerBarPercent(burning), 73);
    burning.keepMode = 1;  // maintenance shows an empty bar
    EXPECT_EQ(powerBarPercent(burning), 0);
    EXPECT_EQ(powerBarPercent(snap(0, kBlowup)), 50);
    EXPECT_EQ(powerBarPercent(snap(0, kBlowup, 0x080)), 0);
    EXPECT_EQ(powerBarPercent(snap(0, kIgnition)), 0);
    StateSnapshot semi = snap(1, kBurning);
    semi.burnerPower = 40;
    semi.keepMode = 1;
    EXPECT_EQ(powerBarPercent(semi), 40);
    semi.burnerState = kIgnition;
    EXPECT_EQ(powerBarPercent(semi), 0);
    StateSnapshot wood = snap(2, kBurning);
    wood.burnerPower = 90;
    EXPECT_EQ(powerBarPercent(wood), 0);

    EXPECT_EQ(powerBarFullColumns(0), 0);
    EXPECT_EQ(powerBarFullColumns(1), 1);
    EXPECT_EQ(powerBarFullColumns(50), 23);
    EXPECT_EQ(powerBarFullColumns(99), 45);
    EXPECT_EQ(powerBarFullColumns(100), 47);
    EXPECT_EQ(powerBarFullColumns(140), 47);
}

TEST(HomeRules, FlueGasColourRunsFromBlackTo200Red) {
    EXPECT_EQ(flueGasColor(25), rgb(0, 0, 0));
    EXPECT_EQ(flueGasColor(-5), rgb(0, 0, 0));
    EXPECT_EQ(flueGasColor(27), rgb(3, 0, 0));
    EXPECT_EQ(flueGasColor(158), rgb(199, 0, 0));
    EXPECT_EQ(flueGasColor(159), rgb(200, 0, 0));
    EXPECT_EQ(flueGasColor(500), rgb(200, 0, 0));
    EXPECT_EQ(flueGasColor(0x4000), rgb(0, 0, 0));
}

TEST(HomeRules, FireAndSmokeByState) {
    auto choice = [](StateSnapshot v) {
        const FlameChoice f = flameChoice(v);
        return std::make_pair(f.fire, f.smoke);
    };
    using P = std::pair<Show, Show>;
    StateSnapshot v = snap(0, kBurning);
    EXPECT_EQ(choice(v), P(Show::On, Show::Off));
    v.keepMode = 1;
    EXPECT_EQ(choice(v), P(Show::Off, Show::On));
    v.burnerState = kBlowup;  // blow-up always burns
    EXPECT_EQ(choice(v), P(Show::On, Show::Off));
    EXPECT_EQ(choice(snap(0, kPause)), P(Show::Off, Show::On));
    EXPECT_EQ(choice(snap(0, kPause, 0x004)), P(Show::Off, Show::Off));
    EXPECT_EQ(choice(snap(0, kIgnition)), P(Show::Off, Show::Off));
    // Semi-automatic: smoke only while the power is 0, the sub-mode aside.
    StateSnapshot semi = snap(1, kPause);
    semi.burnerPower = 30;
    EXPECT_EQ(choice(semi), P(Show::On, Show::Off));
    semi.burnerPower = 0;
    EXPECT_EQ(choice(semi), P(Show::Off, Show::On));
    // Manual ignition: fire once the flue gas reaches GAS_BURNUP; smoke kept.
    StateSnapshot manual = snap(0, kManualIgnition);
    manual.settings.svc.GAS_BURNUP = 60;
    manual.sensors[kSensorGas] = 59;
    EXPECT_EQ(choice(manual), P(Show::Off, Show::Keep));
    manual.sensors[kSensorGas] = 60;
    EXPECT_EQ(choice(manual), P(Show::On, Show::Keep));
    manual.sensors[kSensorGas] = 0x4000;
    EXPECT_EQ(choice(manual), P(Show::Off, Show::Keep));
}

TEST(HomeRules, AugerAndFanAnimation) {
    StateSnapshot v;
    EXPECT_FALSE(augerAnimates(v));
    v.augerOn = 1;
    EXPECT_TRUE(augerAnimates(v));
    v.augerOn = 0;
    v.emergencyMode = 1;
    v.sensors[kSensorValve2] = 70;
    EXPECT_TRUE(augerAnimates(v)) << "emergency feed with a valid tube reading";
    v.sensors[kSensorValve2] = 0x4000;
    EXPECT_FALSE(augerAnimates(v));
    v.emergencyMode = 2;
    v.sensors[kSensorValve2] = 70;
    EXPECT_FALSE(augerAnimates(v));

    StateSnapshot f;
    f.fanPower = 30;
    EXPECT_TRUE(fanAnimates(f));
    f.emergencyMode = 1;
    EXPECT_FALSE(fanAnimates(f));
}

TEST(HomeRules, BunkerAlarmUsesEachVariantsInputAndSetting) {
    StateSnapshot o;
    o.settings.usr.USE_EMPTY_SENS = 1;
    o.boardInputs = kInBunkerEmpty;
    EXPECT_TRUE(bunkerAlarm(o));
    o.settings.usr.USE_EMPTY_SENS = 0;
    EXPECT_FALSE(bunkerAlarm(o));
    o.settings.usr.USE_EMPTY_SENS = 1;
    o.boardInputs = kInBunkerFull;
    EXPECT_FALSE(bunkerAlarm(o));

    StateSnapshot k;
    k.variant = Variant::Kestralo;
    k.settings.usr.BUNK_SENSOR_ENABLE = 1;
    k.boardInputs = kInBunkerFull;
    EXPECT_TRUE(bunkerAlarm(k));
    k.boardInputs = kInBunkerEmpty;
    EXPECT_FALSE(bunkerAlarm(k));
}

TEST(HomeRules, PumpIconStates) {
    StateSnapshot v;
    EXPECT_EQ(heatingPumpState(v), 1);
    EXPECT_EQ(dhwPumpState(v), 0);
    EXPECT_EQ(recirculationPumpState(v), 0);
    v.settings.usr.HEAT_MODE = 2;
    v.settings.usr.USE_RECIRC = 1;
    EXPECT_EQ(dhwPumpState(v), 1);
    EXPECT_EQ(recirculationPumpState(v), 1);
    v.settings.usr.USE_RECIRC = 0;
    v.settings.usr.USE_HYDROSEP = 1;
    EXPECT_EQ(recirculationPumpState(v), 1);
    v.pumpCh = v.pumpDhw = v.pumpLoop = 1;
    EXPECT_EQ(heatingPumpState(v), 2);
    EXPECT_EQ(dhwPumpState(v), 2);
    EXPECT_EQ(recirculationPumpState(v), 2);
    EXPECT_FALSE(valveInUse(0));
    EXPECT_TRUE(valveInUse(1));
    EXPECT_TRUE(valveInUse(2));
    EXPECT_FALSE(valveInUse(3));
}

TEST(HomeRules, NetworkIconAndSignalPicture) {
    const uint32_t lan = 0xC0A80105;  // 192.168.1.5
    EXPECT_EQ(networkIcon({false, true, lan, true}), kNetIconNone);
    EXPECT_EQ(networkIcon({true, false, lan, false}), kNetIconOffline);
    EXPECT_EQ(networkIcon({true, true, 0, true}), kNetIconOffline);
    EXPECT_EQ(networkIcon({true, true, 0xA9FE0001, true}), kNetIconOffline);  // 169.254.0.1
    EXPECT_EQ(networkIcon({true, true, 0xA9FF0001, false}), kNetIconLocal);   // 169.255.0.1
    EXPECT_EQ(networkIcon({true, true, lan, false}), kNetIconLocal);
    EXPECT_EQ(networkIcon({true, true, lan, true}), kNetIconRemote);
    EXPECT_EQ(networkIcon(NoNetwork().network()), kNetIconOffline);

    EXPECT_EQ(signalPicture(0), 299);
    EXPECT_EQ(signalPicture(1), 300);
    EXPECT_EQ(signalPicture(5), 304);
    EXPECT_EQ(signalPicture(6), 299);
    EXPECT_EQ(signalPicture(255), 299);
}

TEST(HomeRules, InfoTabAlert) {
    EXPECT_EQ(infoAlertLevel(0x1, 0x1, false), 2);
    EXPECT_EQ(infoAlertLevel(0, 0x1, false), 1);
    EXPECT_EQ(infoAlertLevel(0, 0, false), 0);
    EXPECT_EQ(infoAlertLevel(0x1, 0x1, true), 0);
}

TEST(HomeRules, KestraloDataLines) {
    EXPECT_EQ(heatModeText(0), "РЕЖИМ ОБОГРЕВА: ОТОПЛЕНИЕ");
    EXPECT_EQ(heatModeText(3), "РЕЖИМ ОБОГРЕВА: ГВС");
    EXPECT_EQ(heatModeText(4), "");

    StateSnapshot v;
    v.variant = Variant::Kestralo;
    v.settings.usr.BURN_MODE = 1;
    EXPECT_EQ(burnModeLine(v), "РЕЖИМ ГОРЕНИЯ: ПОЛУАВТОМАТ");
    v.settings.usr.BURN_MODE = 2;
    EXPECT_EQ(burnModeLine(v), "РЕЖИМ ГОРЕНИЯ: РУЧНОЙ");
    v.settings.usr.BURN_MODE = 0;
    v.settings.usr.FUEL = 1;
    v.settings.svc.BOILER_TYPE = 1;
    v.settings.svc.POWER = 84;  // the small models list six fuels
    EXPECT_EQ(burnModeLine(v), "ТИП ТОПЛИВА: БСМШ");
    v.settings.usr.FUEL = 5;
    EXPECT_EQ(burnModeLine(v), "ТИП ТОПЛИВА: ПЕЛЛЕТЫ ЛП");
    v.settings.svc.POWER = 85;
    EXPECT_EQ(burnModeLine(v), "");
    v.settings.usr.FUEL = 1;
    EXPECT_EQ(burnModeLine(v), "ТИП ТОПЛИВА: УГОЛЬ Д.О");
    v.settings.svc.BOILER_TYPE = 0;
    v.settings.svc.POWER = 50;
    v.settings.usr.FUEL = 3;
    EXPECT_EQ(burnModeLine(v), "ТИП ТОПЛИВА: ПЕЛЛЕТЫ ЛП");
}

}  // namespace
}  // namespace vesk
