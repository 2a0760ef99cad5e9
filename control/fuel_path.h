// What the fuel-path protections offer besides their cycle steps.
#pragma once

namespace vesk {

struct ControllerState;

// The auger-tube protection acts only with both its switches on.
bool emergencyStartEnabled(const ControllerState& s);
// Ends an emergency start that its switches no longer allow: the auger
// override and fault 0x200 must not outlive the protection.
void releaseEmergencyStart(ControllerState& s);

}  // namespace vesk
