// What a remote client reads of the boiler: the status words built from the
// fault and warning words, the GetStatus record of each variant, and the
// pushed status notification.
#pragma once
#include <cstdint>
#include <vector>

#include "platform/clock.h"

namespace vesk {

struct ControllerState;

constexpr size_t kStatusRecordSizeOrvena = 165;
constexpr size_t kStatusRecordSizeKestralo = 123;

// The fuel counters in kilograms, as the fuel accounting reports them.
struct FuelReadout {
    uint32_t last24hKg = 0;
    uint32_t lastWeekKg = 0;
    uint32_t lastMonthKg = 0;
    uint32_t ownKg = 0;
    uint32_t totalKg = 0;
    int remainingPercent = -1;  // -1: not known
};

uint16_t statusWordA(uint32_t faults);
// Bit 9 (bunker filling failed) comes from controlFlags in the record and
// from the warning word in notifications.
enum class WordBUse { Record, Notification };
uint16_t statusWordB(const ControllerState& s, WordBUse use);
// Word A in the low half, the notification's word B in the high half: the
// value whose change is pushed to clients.
uint32_t notificationStatus(const ControllerState& s);

// The variant's GetStatus record. The caller holds stateLock; the
// thermostat's enable flag and the fuel counters are read beforehand under
// their own locks.
std::vector<uint8_t> buildStatusRecord(const ControllerState& s, int thermostatEnabled, const FuelReadout& fuel);

// Group 1, kind 3: status value and the local time.
std::vector<uint8_t> makeStatusNotification(uint32_t status, const LocalTime& t);

}  // namespace vesk
