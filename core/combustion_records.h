// Records of the combustion control: regulators, water trend, keep-alive
// puffs. Kept in ControllerState; owned by the combustion steps.
#pragma once
#include <cstdint>

#include "settings/params.h"

namespace vesk {

constexpr int kNoTrend = 0x7FFF;

// One PID regulator. Power values are in 1/256 %.
struct Regulator {
    // The KP, KI, KD settings it reads (members of the service family).
    int32_t ServiceParams::*kp = nullptr;
    int32_t ServiceParams::*ki = nullptr;
    int32_t ServiceParams::*kd = nullptr;
    int pScale = 0;
    int iDiv = 1;
    int dScale = 0;
    int pTerm = 0;
    int iCommitted = 0;
    int dTerm = 0;
    int iTentative = 0;
    int output = 0;
    uint8_t iCounter = 0;
    uint8_t iPeriod = 1;
};

// Seconds the boiler water took for its last half-degree step.
struct WaterTrend {
    int valid = 0;
    int reference = 0;   // quarter degrees
    int count = 0;       // cycles
    int deviations = 0;  // consecutive cycles off the reference
    int trend = kNoTrend;  // signed, positive while rising
    int cap = 100;
};

// Periodic puff of the blower or the exhaust fan while the fire is kept.
struct KeepAlivePuff {
    int latch = 0;    // 1 in the pause phase
    int counter = 0;  // cycles into the run phase
};

struct CombustionRecords {
    Regulator water;
    Regulator saWater;
    Regulator gas;
    Regulator air;
    WaterTrend trend;
    KeepAlivePuff fanPuff;
    KeepAlivePuff exhaustPuff;
    // Weather-compensated water target for display; 255 when none.
    int weatherTarget = 255;
    // Minute of the day of the last fire-out check without a flue-gas
    // sensor; -1 until burning starts.
    int fadeCheckMinute = -1;
    // KESTRALO thermostat response 0: room-thermostat input as last seen
    // and the degrees TWAT_UST was lowered by, still to be given back.
    int roomInputSeen = 0;
    int twatShift = 0;
};

}  // namespace vesk
