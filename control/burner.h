// Pieces of the burner state machine shared by its files: transitions, the
// burn-up threshold and the sequences of the automatic states.
#pragma once
#include <cstdint>

namespace vesk {

struct ControllerState;
struct ControlContext;

constexpr uint32_t kWarnWentOut = 0x001;

// GAS_BURNUP (SA_GAS_BURNUP when semi-automatic), raised to water + 10.
int burnupThreshold(const ControllerState& s, bool semiAutomatic);
// New burner state with the entry flag (and `flags`), and a refresh.
void enterState(ControlContext& c, int state, uint32_t flags = 0);
// True once per state entry: clears the entry flag.
bool takeEntry(ControllerState& s);
// Stop actions: auger stopped, igniter off, blower 0, entry flag kept set.
void stopActions(ControlContext& c);
// ANTI_JAM_DAY := today.
void markStandstillDay(ControllerState& s);
int augerPulseRunning(ControlContext& c);
void startAugerPulse(ControlContext& c, int onTenths, int offTenths, int count);

enum class Outcome { Running, Done, Failed };
// Ignition: Done when the flue gas reached the burn-up threshold, Failed
// when the attempts are used up.
Outcome ignitionSequence(ControlContext& c);
// Blow-up: Done when hot enough, Failed when the fire did not take.
Outcome blowupSequence(ControlContext& c);

enum class BurningOutcome { Running, FlameLost, PauseWanted, WentOutStopped, Left };
// Burning with its maintenance sub-mode. WentOutStopped: the no-sensor
// fire-out check already stopped the burner; Left: another step moved it.
BurningOutcome burningSequence(ControlContext& c);
// Pause: true when burning should resume.
bool pauseTest(ControlContext& c);

}  // namespace vesk
