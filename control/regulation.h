// Power regulation: PID regulators, the burner power demand, the water
// target, and the conversion of a power into blower, exhaust-fan and auger
// commands. Power is carried in 1/256 % (100 % = 25600).
#pragma once
#include <initializer_list>

#include "core/combustion_records.h"

namespace vesk {

struct ControllerState;
struct ControlContext;

constexpr int kPowerScale = 256;

// The fuel position in force, kept inside the per-fuel arrays.
int fuelIndex(const ControllerState& s);

// One PID step with error `e`, limits `lowPct`..`highPct`; `trend` may be
// null. The integral is only proposed (iTentative) until selection.
int pidStep(Regulator& r, const ServiceParams& gains, int e, const WaterTrend* trend, int lowPct, int highPct);
// Output pinned at the upper limit without a step; the integral stays.
void saturate(Regulator& r, int highPct);
// The regulator with the smallest output wins, earlier ones on ties; only
// the winner commits its integral. Returns the winner's output.
int selectRegulator(std::initializer_list<Regulator*> inOrder);

// Once per cycle on waterQ.
void updateWaterTrend(WaterTrend& t, int waterQ);

// Boiler water target in force, whole degrees. Keeps the weather target
// for display.
int waterTarget(ControllerState& s);

struct BurningDemand {
    int power = 0;           // 1/256 %
    bool airActive = false;  // the room-air regulator took part
};
// Automatic burning: flue gas, room air and water regulators.
BurningDemand burningDemand(ControllerState& s, int target);
// Semi-automatic burning: the blower value in %, already checked against
// its cut-offs; stored for display and set on the blower.
int semiAutomaticBlower(ControlContext& c, int target);

// Blower % for a burner power in % (not below POWER_MIN).
int fanForPower(const ControllerState& s, int powerPct);
// Sets `fanPower` to `a` % (0 below the blower minimum) and the exhaust fan
// by EXFAN_MODE.
void setBlower(ControllerState& s, int a);

struct AugerTiming {
    int onTenths = 0;
    int offTenths = 0;
};
// ON and OFF tenths of the auger for a power (1/256 %), exact fractions.
AugerTiming augerTiming(const ControllerState& s, int power);
// Runs the auger pulse timer endlessly at that power.
void driveAuger(ControlContext& c, int power);
// Auger power while the maintenance sub-mode keeps the fire (1/256 %).
int maintenancePower(const ControllerState& s);

}  // namespace vesk
