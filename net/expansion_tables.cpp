// Tables of the expansion module's short codes.
#include "net/expansion_tables.h"

#include <array>

#include "control/faults.h"
#include "core/controller_state.h"

namespace vesk {

namespace {

struct FaultCode {
    uint32_t bit;
    int code;
};

constexpr std::array kFaultCodes{
    FaultCode{kFaultEmergencyThermostat, 109}, FaultCode{kFaultAugerJam, 110}, FaultCode{kFaultOverheat, 105},
    FaultCode{kFaultWaterSensor, 106},         FaultCode{kFaultGasSensor, 107}, FaultCode{kFaultFuse, 108},
    FaultCode{kFaultChSensor, 112},            FaultCode{kFaultAirSensor, 113},
};

constexpr int kNoFault = 2;

}  // namespace

int moduleFaultCode(uint32_t faults) {
    for (const FaultCode& f : kFaultCodes)
        if (faults & f.bit) return f.code;
    return kNoFault;
}

int moduleStateCode(uint32_t faults, uint32_t warnings, int burnMode, int burnerState) {
    const int fault = moduleFaultCode(faults);
    if (fault != kNoFault) return fault;
    if (warnings & kWarnWentOut) return 103;
    if (burnMode == 2) return 104;
    if (burnerState >= kIgnition && burnerState <= kPause) return 101;
    return 102;
}

int signalLevel(int value, int previous) {
    if (value == kNoSignal) return kNoSignal;
    if (value <= 75) return 5;
    if (value < 85) return 4;
    if (value > 85 && value < 95) return 3;
    if (value > 95 && value < 105) return 2;
    if (value > 105 && value <= 112) return 1;
    if (value > 112) return 0;
    return previous;
}

int16_t moduleTemperature(int reading) { return isValidTemp(reading) ? static_cast<int16_t>(reading) : 0x7FBC; }

}  // namespace vesk
