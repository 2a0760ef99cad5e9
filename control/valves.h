// Mixing-valve motor commands as the valve step leaves them in outputFlags.
#pragma once
#include <cstdint>

namespace vesk {

struct ControllerState;

// Two bits per valve in outputFlags: valve 1 at bits 3..4, valve 2 at 5..6.
enum class ValveMotor : uint8_t { Stop = 0, Open = 1, Close = 2 };

ValveMotor valveMotor(const ControllerState& s, int valve);

}  // namespace vesk
