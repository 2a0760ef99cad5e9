// The steps of the control cycle, one function each, called once a second
// with stateLock held. Each keeps its own sub-state in ControllerState.
#pragma once

namespace vesk {

struct ControlContext;
struct ControllerState;

// Start-up: regulator records and the auger pulse timer at rest.
void initRegulators(ControllerState& s);
void initAugerPulse(ControllerState& s);

// Thermostat schedule
void evaluateScheduleStep(ControlContext& c);
// Pumps and hot water
void antiLegionellaStep(ControlContext& c);
void pumpStep(ControlContext& c);
void dhwOptimisationStep(ControlContext& c);
// Run by the blow-up and burning states when a buffer tank is fitted; may
// move the burner to blow-up or into its maintenance sub-mode.
void bufferTankLoadingStep(ControlContext& c);
// Mixing valves (0 = valve 1, 1 = valve 2)
void valveStep(ControlContext& c, int valve);
// Fuel path
void emergencyStartStep(ControlContext& c);
void bunkerFillingStep(ControlContext& c);
void ashRemoverStep(ControlContext& c);
void fuelLevelRecordStep(ControlContext& c);
// Regulation
void waterTrendStep(ControlContext& c);
// Faults and warnings
void evaluateWarnings(ControlContext& c);
void evaluateFaults(ControlContext& c);
// Burner
void automaticStep(ControlContext& c);
void semiAutomaticStep(ControlContext& c);
void stopAugerPulse(ControlContext& c);

}  // namespace vesk
