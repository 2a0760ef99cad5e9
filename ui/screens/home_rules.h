// The decisions of the home screen as plain functions of a snapshot: what
// the texts say, how full the power bar is, which animations run. While
// the board is not heard (linkOk 0) the control cycle stands still: the
// screens say so and show nothing as running.
#pragma once
#include <cstdint>
#include <string>

#include "ui/screens/state_snapshot.h"
#include "ui/toolkit/color.h"

namespace vesk {

// Temperature panel value: "%d°C" of the low 16 bits taken as signed
// (tenths on firmware 0x2215), "--°C" for a failed reading.
std::string panelTemperatureText(int reading, uint16_t boardVersion);

// "НЕТ СВЯЗИ" while the board is not heard, else "ОШИБКА!", "ДРОВА",
// "РОЗЖИГ", "ГОРЕНИЕ", "РАЗДУВ.", "ПАУЗА", "ОСТАНОВ".
std::string burnerModeText(const StateSnapshot& v);
constexpr const char* kNoLinkText = "НЕТ СВЯЗИ";

// Power bar percentage, and how many of its 47 columns come from the full
// picture for it.
int powerBarPercent(const StateSnapshot& v);
constexpr int kPowerBarWidth = 47;
int powerBarFullColumns(int percent);

// Flue-gas readout colour: black up to 25 °C, red deepening to RGB(200,0,0)
// at 159 °C; black for a failed reading.
Color flueGasColor(int gas);

bool augerAnimates(const StateSnapshot& v);
bool fanAnimates(const StateSnapshot& v);

// Fire and smoke: each is shown, hidden or left as it is.
enum class Show { Keep, On, Off };
struct FlameChoice {
    Show fire = Show::Off;
    Show smoke = Show::Off;
};
FlameChoice flameChoice(const StateSnapshot& v);

// The bunker label blinks (ORVENA: bunker empty; KESTRALO: bunker open).
bool bunkerAlarm(const StateSnapshot& v);

// Pump icons: 0 not used, 1 ready, 2 running.
int heatingPumpState(const StateSnapshot& v);
int dhwPumpState(const StateSnapshot& v);
int recirculationPumpState(const StateSnapshot& v);
// Valve in use: mode 1 or 2.
bool valveInUse(int mode);
// Boards on which valve 2 is driven by the panel.
bool valve2Board(uint16_t boardVersion);

// Signal indicator picture for a level (0..5, 255 no reading).
int signalPicture(int level);

// "ИНФО" tab alert: 2 faults, 1 warnings, 0 none or the info page is shown.
int infoAlertLevel(uint32_t faults, uint32_t warnings, bool infoPageShown);

// KESTRALO data page lines.
std::string heatModeText(int heatMode);
std::string burnModeLine(const StateSnapshot& v);

}  // namespace vesk
