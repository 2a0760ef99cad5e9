// The short codes the expansion module passes on by SMS: fault code, state
// code, signal bars and temperatures.
#pragma once
#include <cstdint>

namespace vesk {

// The first fault that the module knows, in its order of gravity; 2 for none.
int moduleFaultCode(uint32_t faults);

// The fault code when there is one; else 103 boiler went out, 104 manual
// burning mode, 101 burning (ignition, burning, blow-up, pause), 102 idle.
int moduleStateCode(uint32_t faults, uint32_t warnings, int burnMode, int burnerState);

constexpr int kNoSignal = 255;
// Bars 0..5 (or 255) for a reported signal value; the values on the
// boundaries between two bars (85, 95, 105) keep `previous`.
int signalLevel(int value, int previous);

// A reading as the module takes it: a missing one becomes 0x7FBC.
int16_t moduleTemperature(int reading);

}  // namespace vesk
