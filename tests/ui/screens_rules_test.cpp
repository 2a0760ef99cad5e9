// The home screen's rules where the pixel tests do not reach every case:
// mode texts, temperatures, the power bar's percentage, fire and smoke in
// every mode, network addresses, signal levels and the KESTRALO data lines.
#include <gtest/gtest.h>

#include "ui/screens/home_rules.h"
#include "ui/screens/network_indicators.h"

namespace vesk {
namespace {

StateSnapshot snap(int burnMode, int state, uint32_t faults = 0) {
    StateSnapshot v;
    v.linkOk = 1;
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

// Without frames from the board the cycle stands still: whatever the last
// state said, nothing is shown as burning or running.
TEST(HomeRules, LostLinkOutranksEveryStateAndFault) {
    for (int mode = 0; mode < 3; ++mode)
        for (int st = 0; st < 8; ++st)
            for (uint32_t faults : {0u, 0x004u}) {
                StateSnapshot v = snap(mode, st, faults);
                v.linkOk = 0;
                v.burnerPower = 70;
                v.fanPower = 60;
                v.augerOn = 1;
                v.pumpCh = v.pumpDhw = v.pumpLoop = 1;
                v.settings.usr.HEAT_MODE = 1;
                EXPECT_EQ(burnerModeText(v), "НЕТ СВЯЗИ");
                EXPECT_EQ(powerBarPercent(v), 0);
                EXPECT_FALSE(augerAnimates(v));
                EXPECT_FALSE(fanAnimates(v));
                const FlameChoice f = flameChoice(v);
                EXPECT_EQ(f.fire, Show::Off);
                EXPECT_EQ(f.smoke, Show::Off);
                EXPECT_EQ(heatingPumpState(v), 1);
                EXPECT_EQ(dhwPumpState(v), 1);
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

    EXPECT_EQ(powerBarFullColumns(140), 47);
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

TEST(HomeRules, NetworkAddressesAndSignalLevels) {
    EXPECT_EQ(networkIcon({true, true, 0, true}), kNetIconOffline);
    EXPECT_EQ(networkIcon({true, true, 0xA9FEFFFF, true}), kNetIconOffline);  // 169.254.255.255
    EXPECT_EQ(networkIcon({true, true, 0xA9FF0001, false}), kNetIconLocal);   // 169.255.0.1
    EXPECT_EQ(networkIcon({true, true, 0xA8FE0001, true}), kNetIconRemote);   // 168.254.0.1
    EXPECT_EQ(networkIcon(NoNetwork().network()), kNetIconOffline);
    EXPECT_EQ(signalPicture(0), 299);
    EXPECT_EQ(signalPicture(5), 304);
    EXPECT_EQ(signalPicture(6), 299);
    EXPECT_EQ(signalPicture(255), 299);
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
