// Every screen a menu entry opens, by name, and the one place that makes
// them. Editors of the editor pattern come from the editor tables
// (editor/editors.h). Screens with their own layouts are made by
// makeOwnLayoutScreen() in own_layout_screens.cpp: adding such a screen is
// one case there. Until a screen exists (null) its entry does nothing.
#pragma once
#include "ui/screens/screen_context.h"

namespace vesk {

class AppFrame;
class Widget;

enum class ScreenId {
    // Editors of the editor pattern.
    BoilerPower,
    WaterSetpoint,
    RoomSetpoint,
    ConsumptionCorrection,
    CombustionCorrection,
    BurnerMode,
    FireKeeping,
    FanKeepAlive,
    ExhaustFan,
    ExhaustKeepAlive,
    SmsControl,
    AshRemoval,
    TouchSound,
    Backlight,
    PumpsIdle,
    HeatingPumps,
    RecirculationPump,
    WaterLimits,
    DhwSettings,
    ThermostatResponse,
    HeatingPumpDuty,
    PrimaryLoopPump,
    AugerSensorOff,
    GasSensorOff,
    ThermoSwitchOff,
    AntiFreeze,
    PumpAntiJam,
    AugerAntiJam,
    AntiLegionella,
    ExtraSensors,
    SensorSubstitution,
    FaultTesting,
    // Screens with their own layouts.
    WeatherCompensation,  // argument: the valve, 0 for the boiler
    Thermostat,
    Valve1,
    Valve2,
    ValveOther,  // "ПРОЧЕЕ" of a valve; argument: the valve
    DateTime,
    SensorCorrection,  // argument: the sensor's place in the "КОРРЕКЦИЯ ДАТЧИКОВ" list
    SettingsCopy,
    NetworkSettings,
    QrCode,
    BunkerFilling,
    FuelReset,
    SemiAutomatic,  // replaces the user menu when a semi-automatic start is asked for
};

// Makes the screen, or null when it does not exist (yet). The caller
// pushes it; the screen pops and deletes itself when it closes.
Widget* makeScreen(AppFrame& frame, ScreenContext& ctx, ScreenId id, int argument = 0);
// Makes and pushes it; false when there is no such screen.
bool openScreen(AppFrame& frame, ScreenContext& ctx, ScreenId id, int argument = 0);

// The screens with their own layouts (own_layout_screens.cpp).
Widget* makeOwnLayoutScreen(AppFrame& frame, ScreenContext& ctx, ScreenId id, int argument);

}  // namespace vesk
