#include "control/control_cycle.h"

#include <tuple>

#include "control/control_steps.h"
#include "core/controller_state.h"
#include "core/refresh_sink.h"
#include "platform/clock.h"

namespace vesk {

namespace {
// Firmwares whose boards drive the second valve themselves.
bool boardDrivesValve2(uint16_t v) { return v == 0x2200 || v == 0x2214 || v == 0x2215; }

// What a command frame carries of the cycle's decisions.
auto commandOutputs(const ControllerState& s) {
    return std::tuple{s.augerOn.load(), s.fanPower,   s.exhaustFanPower,
                      s.pumpCh,         s.pumpDhw,    s.pumpLoop,
                      s.outputFlags,    s.emergencyMode,
                      s.controlFlags & (kFlagIgniter | kFlagAugerReverse | kFlagAugerReverseEnd)};
}
}  // namespace

ControlCycle::ControlCycle(ControlContext c) : outside_(c), c_(c), alarm_(c.sound) {
    c_.sendNow = [this] { wakeWanted_ = true; };
}

void ControlCycle::run() {
    ControllerState& s = c_.s;
    const bool kestralo = isKestralo(s.variant);
    const auto before = commandOutputs(s);
    wakeWanted_ = false;

    s.localTime = c_.clock.localTime();
    evaluateScheduleStep(c_);
    antiLegionellaStep(c_);
    pumpStep(c_);
    valveStep(c_, 0);
    // With the auger-tube protection installed, reading 9 is the tube, not
    // valve 2's water, whether the protection is switched on or not.
    if (s.svc.EMSTART_ENABLE == 1) {
        if (s.usr.WORM_TEMP_SENSOR_ENABLE == 1) emergencyStartStep(c_);
    } else if (!boardDrivesValve2(s.boardVersion)) {
        valveStep(c_, 1);
    }
    dhwOptimisationStep(c_);
    if (kestralo) {
        ashRemoverStep(c_);
    } else if (s.boardVersion != 0x2200) {
        bunkerFillingStep(c_);
        ashRemoverStep(c_);
    }
    waterTrendStep(c_);
    if (!kestralo && s.usr.USE_FULL_SENS == 1 && (s.boardInputs & kInBunkerFull)) fuelLevelRecordStep(c_);

    evaluateWarnings(c_);
    evaluateFaults(c_);
    alarm_.evaluate(s);

    if (s.faults & ~kFaultsNotSuspending) {
        // The state stays; its sequence starts afresh once the fault clears.
        s.controlFlags |= kFlagStateEntry;
        stopAugerPulse(c_);
        // No heat source stays on while suspended, not even one the operator
        // switched on by hand; the sequences switch the igniter on again.
        s.controlFlags &= ~kFlagIgniter;
        s.fanPower = 0;
        s.exhaustFanPower = 0;
        c_.refresh.postRefresh();
    } else if (s.usr.BURN_MODE == 1) {
        semiAutomaticStep(c_);
    } else if (s.usr.BURN_MODE == 2) {
        // Firewood: the fire is tended by hand; blower and auger stay off.
        s.fanPower = 0;
        s.exhaustFanPower = 0;
        stopAugerPulse(c_);
    } else {
        automaticStep(c_);
    }

    if (kestralo) {
        if (s.usr.THERMOSTAT_RESPONSE == 1 && (s.boardInputs & kInRoomThermostat)) s.pumpCh = 0;
        s.reportedBurnerState = s.burnerState;
    }
    if (wakeWanted_ && outside_.sendNow && commandOutputs(s) != before) outside_.sendNow();
}

}  // namespace vesk
