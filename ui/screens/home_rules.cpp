// Home screen rules.
#include "ui/screens/home_rules.h"

#include <algorithm>
#include <cstdio>

namespace vesk {

std::string panelTemperatureText(int reading, uint16_t boardVersion) {
    if (reading > 0x3FFF) return "--°C";
    int t = static_cast<int16_t>(reading & 0xFFFF);
    if (boardVersion == 0x2215) t /= 10;
    char buf[24];
    std::snprintf(buf, sizeof buf, "%d°C", t);
    return buf;
}

std::string burnerModeText(const StateSnapshot& v) {
    // The fault word is as old as the last frame: the lost link comes first.
    if (v.linkOk == 0) return kNoLinkText;
    if (v.faults != 0) return "ОШИБКА!";
    const int mode = v.usr().BURN_MODE;
    if (mode == 2) return "ДРОВА";
    if (mode == 1) {
        if (v.burnerState == kBurning) return "ГОРЕНИЕ";
        if (v.burnerState == kIgnition) return "РОЗЖИГ";
        return "ОСТАНОВ";
    }
    switch (v.burnerState) {
    case kIgnition: return "РОЗЖИГ";
    case kBurning: return "ГОРЕНИЕ";
    case kBlowup: return "РАЗДУВ.";
    case kPause: return "ПАУЗА";
    default: return "ОСТАНОВ";
    }
}

int powerBarPercent(const StateSnapshot& v) {
    if (v.linkOk == 0) return 0;
    switch (v.usr().BURN_MODE) {
    case 0:
        if (v.burnerState == kBurning) return (v.keepMode || v.faults) ? 0 : v.burnerPower;
        if (v.burnerState == kBlowup) return v.faults ? 0 : 50;
        return 0;
    case 1:
        return v.burnerState == kBurning ? v.burnerPower : 0;
    default:
        return 0;
    }
}

int powerBarFullColumns(int percent) {
    if (percent <= 0) return 0;
    if (percent >= 100) return kPowerBarWidth;
    return percent * 45 / 100 + 1;
}

Color flueGasColor(int gas) {
    if (gas > 0x3FFF) return rgb(0, 0, 0);
    const int red = std::clamp((gas - 25) * 3 / 2, 0, 200);
    return rgb(static_cast<uint8_t>(red), 0, 0);
}

bool augerAnimates(const StateSnapshot& v) {
    if (v.linkOk == 0) return false;
    return v.augerOn == 1 || (v.emergencyMode == 1 && isValidTemp(v.sensors[kSensorValve2]));
}

bool fanAnimates(const StateSnapshot& v) { return v.linkOk != 0 && v.fanPower != 0 && v.emergencyMode == 0; }

FlameChoice flameChoice(const StateSnapshot& v) {
    if (v.faults != 0 || v.linkOk == 0) return {Show::Off, Show::Off};
    const int st = v.burnerState;
    const int mode = v.usr().BURN_MODE;
    if (st == kManualIgnition) {
        const int gas = v.sensors[kSensorGas];
        const bool lit = isValidTemp(gas) && gas >= v.svc().GAS_BURNUP;
        return {lit ? Show::On : Show::Off, Show::Keep};
    }
    if (st >= kBurning && st <= kPause) {
        const bool smoulders = ((v.keepMode || st == kPause) && st != kBlowup && mode != 1) ||
                               (mode == 1 && v.burnerPower == 0);
        return smoulders ? FlameChoice{Show::Off, Show::On} : FlameChoice{Show::On, Show::Off};
    }
    return {Show::Off, Show::Off};
}

bool bunkerAlarm(const StateSnapshot& v) {
    if (isKestralo(v.variant)) return (v.boardInputs & kInBunkerFull) && v.usr().BUNK_SENSOR_ENABLE != 0;
    return (v.boardInputs & kInBunkerEmpty) && v.usr().USE_EMPTY_SENS != 0;
}

int heatingPumpState(const StateSnapshot& v) { return v.pumpCh && v.linkOk ? 2 : 1; }

int dhwPumpState(const StateSnapshot& v) {
    if (v.pumpDhw && v.linkOk) return 2;
    return v.usr().HEAT_MODE != 0 ? 1 : 0;
}

int recirculationPumpState(const StateSnapshot& v) {
    if (v.pumpLoop && v.linkOk) return 2;
    return (v.usr().USE_HYDROSEP || v.usr().USE_RECIRC) ? 1 : 0;
}

bool valveInUse(int mode) { return mode == 1 || mode == 2; }

bool valve2Board(uint16_t boardVersion) { return boardVersion == 0x1000 || boardVersion == 0x1100; }

int signalPicture(int level) { return level >= 1 && level <= 5 ? 299 + level : 299; }

int infoAlertLevel(uint32_t faults, uint32_t warnings, bool infoPageShown) {
    if (infoPageShown) return 0;
    if (faults != 0) return 2;
    if (warnings != 0) return 1;
    return 0;
}

std::string heatModeText(int heatMode) {
    switch (heatMode) {
    case 0: return "РЕЖИМ ОБОГРЕВА: ОТОПЛЕНИЕ";
    case 1: return "РЕЖИМ ОБОГРЕВА: ПРИОРИТЕТ ГВС";
    case 2: return "РЕЖИМ ОБОГРЕВА: ПАРАЛЛЕЛЬНЫЕ НАСОСЫ";
    case 3: return "РЕЖИМ ОБОГРЕВА: ГВС";
    default: return {};
    }
}

std::string burnModeLine(const StateSnapshot& v) {
    const int mode = v.usr().BURN_MODE;
    if (mode == 1) return "РЕЖИМ ГОРЕНИЯ: ПОЛУАВТОМАТ";
    if (mode == 2) return "РЕЖИМ ГОРЕНИЯ: РУЧНОЙ";
    if (mode != 0) return {};
    // The small coal boilers burn six fuels; the others four.
    static const char* const kSix[] = {"ТИП ТОПЛИВА: УГОЛЬ Б.О", "ТИП ТОПЛИВА: БСМШ",    "ТИП ТОПЛИВА: УГОЛЬ Д.О",
                                       "ТИП ТОПЛИВА: ДСМШ",     "ТИП ТОПЛИВА: ПЕЛЛЕТЫ", "ТИП ТОПЛИВА: ПЕЛЛЕТЫ ЛП"};
    static const char* const kFour[] = {"ТИП ТОПЛИВА: УГОЛЬ Б.О", "ТИП ТОПЛИВА: УГОЛЬ Д.О", "ТИП ТОПЛИВА: ПЕЛЛЕТЫ",
                                        "ТИП ТОПЛИВА: ПЕЛЛЕТЫ ЛП"};
    const int fuel = v.usr().FUEL;
    if (v.svc().BOILER_TYPE == 1 && v.svc().POWER < 85) return fuel >= 0 && fuel < 6 ? kSix[fuel] : "";
    return fuel >= 0 && fuel < 4 ? kFour[fuel] : "";
}

}  // namespace vesk
