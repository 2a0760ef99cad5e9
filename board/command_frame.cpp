// Command payloads for the three board generations.
#include "board/command_frame.h"

#include <algorithm>

namespace vesk {

namespace {

uint8_t power(int percent) { return static_cast<uint8_t>(std::clamp(percent, 0, 100)); }

void put16(std::vector<uint8_t>& p, size_t at, uint16_t v) {
    p[at] = static_cast<uint8_t>(v & 0xFF);
    p[at + 1] = static_cast<uint8_t>(v >> 8);
}

// The emergency start overrides the auger only while the auger-tube sensor
// it depends on reads something.
int emergencyOverride(const ControllerState& s) {
    if (s.svc.EMSTART_ENABLE != 1 || !isValidTemp(s.sensors[kSensorValve2])) return 0;
    return s.emergencyMode == 1 || s.emergencyMode == 2 ? s.emergencyMode : 0;
}

std::vector<uint8_t> layout22(const ControllerState& s, bool stopPulse, int emergency) {
    std::vector<uint8_t> p(22, 0);
    const bool reverse = (s.controlFlags & (kFlagAugerReverse | kFlagAugerReverseEnd)) != 0;
    uint8_t auger = s.augerOn ? kAugerRun : (stopPulse ? kAugerExplicitStop : kAugerStop);
    if (reverse) auger = kAugerRun;
    if (emergency == 1) auger = kAugerRun;
    if (emergency == 2) auger = kAugerStop;
    p[0] = auger;

    int speed = s.svc.WORM_SPEED;
    if (reverse && speed >= 0 && speed <= 2) speed = 6 - speed;
    p[1] = static_cast<uint8_t>(speed);

    const bool userTimes = s.usr.REVERSE_TIME_ENABLE == 1;
    p[2] = static_cast<uint8_t>(userTimes ? s.usr.REVERSE_TIME_FORWARD : s.svc.WORM_FORW_TIME);
    p[3] = static_cast<uint8_t>(userTimes ? s.usr.REVERSE_TIME_REVERSE : s.svc.WORM_REV_TIME);
    p[4] = static_cast<uint8_t>(userTimes ? s.usr.REVERSE_TIME_PAUSE : s.svc.WORM_PAUSE_TIME);
    p[5] = 3;
    p[6] = static_cast<uint8_t>(s.svc.WORM_OVC_CUR);
    p[7] = static_cast<uint8_t>(s.svc.WORM_OVC_TOUT);

    uint16_t bits = 0;
    if (s.pumpCh) bits |= 0x0001;
    if (s.pumpLoop) bits |= 0x0004;
    if (s.pumpDhw) bits |= 0x0008;
    if (s.outputFlags & kOutValve1Open) bits |= 0x0010;
    if (s.outputFlags & kOutValve1Close) bits |= 0x0020;
    if (s.controlFlags & kFlagIgniter) bits |= 0x1000;
    if (s.outputFlags & kOutAshRemover) bits |= 0x2000;
    put16(p, 13, bits);

    p[15] = emergency ? 0 : power(s.fanPower);
    p[16] = s.pumpCh ? 100 : 0;
    p[17] = emergency ? 0 : power(s.exhaustFanPower);
    return p;
}

std::vector<uint8_t> layout8(const ControllerState& s, int emergency) {
    std::vector<uint8_t> p(8, 0);
    bool auger = s.augerOn != 0;
    if (emergency) auger = emergency == 1;
    uint16_t bits = 0x0002;
    if (s.pumpCh) bits |= 0x0001;
    if (s.pumpLoop) bits |= 0x0004;
    if (s.pumpDhw) bits |= 0x0008;
    if (s.outputFlags & kOutValve1Open) bits |= 0x0010;
    if (s.outputFlags & kOutValve1Close) bits |= 0x0020;
    if (auger) bits |= 0x0100;
    if (s.controlFlags & kFlagIgniter) bits |= 0x1000;
    put16(p, 0, bits);
    p[2] = emergency ? 0 : power(s.fanPower);
    p[3] = s.pumpCh ? 100 : 0;
    // This generation keeps its exhaust fan through an emergency start.
    p[4] = power(s.exhaustFanPower);
    p[6] = static_cast<uint8_t>(s.svc.WORM_OVC_CUR);
    p[7] = static_cast<uint8_t>(s.svc.WORM_OVC_TOUT);
    return p;
}

std::vector<uint8_t> layout7(const ControllerState& s, int emergency) {
    std::vector<uint8_t> p(7, 0);
    bool auger = s.augerOn != 0;
    if (emergency) auger = emergency == 1;
    // Valve, filler and ash-remover bits sit where outputFlags has them.
    uint16_t bits = s.outputFlags & (kOutValve1Open | kOutValve1Close | kOutValve2Open | kOutValve2Close |
                                     kOutBunkerFiller | kOutAshRemover);
    if (s.pumpCh) bits |= 0x0001;
    if (s.pumpDhw) bits |= 0x0002;
    if (s.pumpLoop) bits |= 0x0004;
    if (auger) bits |= 0x0080;
    if (s.controlFlags & kFlagIgniter) bits |= 0x0800;
    put16(p, 0, bits);
    p[2] = emergency ? 0 : power(s.fanPower);
    p[3] = emergency ? 0 : power(s.exhaustFanPower);
    p[4] = static_cast<uint8_t>(s.svc.WORM_SPEED);
    p[5] = static_cast<uint8_t>(s.svc.WORM_OVC_CUR);
    p[6] = static_cast<uint8_t>(s.svc.WORM_OVC_TOUT);
    return p;
}

}  // namespace

size_t commandPayloadSize(uint16_t boardVersion) {
    if (boardVersion == kFirmware2214 || boardVersion == kFirmware2215) return 22;
    if (boardVersion == kFirmware2200) return 8;
    return 7;
}

std::vector<uint8_t> buildCommandPayload(ControllerState& s) {
    const uint16_t version = s.boardVersion;
    // The stop pulse is meant for one frame only; older boards have no
    // explicit stop, so it is consumed there too rather than left to fire
    // later on a board that changed firmware.
    const bool stopPulse = s.augerStopPulse != 0;
    if (stopPulse) s.augerStopPulse = 0;
    const int emergency = emergencyOverride(s);
    switch (commandPayloadSize(version)) {
    case 22: return layout22(s, stopPulse, emergency);
    case 8: return layout8(s, emergency);
    default: return layout7(s, emergency);
    }
}

}  // namespace vesk
