// The thermostat programs as the remote protocol carries them: byte 0 = 1,
// the enable flag, four programs of up to 8 five-byte periods, then the
// program of each weekday.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "settings/schedule.h"

namespace vesk {

// Period flags byte.
enum : uint8_t { kPeriodUseAir = 0x1, kPeriodUseWater = 0x2, kPeriodPause = 0x4 };

std::vector<uint8_t> encodeThermostatBlock(const Schedule& s);
// The block as it stands, periods past midnight included (for clients);
// false when it is cut short or a program has more than 8 periods.
bool decodeThermostatBlock(const uint8_t* data, size_t n, Schedule& out);

struct ThermostatRequest {
    bool disableOnly = false;  // byte 1 was 0: switch the thermostat off, keep the programs
    Schedule schedule;         // otherwise the new record, enabled
};

enum class ThermostatCheck {
    Full,           // hours, order, targets and day values as well
    StructureOnly,  // only that the programs and day bytes are all there
};

// False when the request is refused. The accepted record is in the form the
// programs file keeps: a period that runs past midnight is stored as its
// two halves, targets a period does not use are kept within the limits the
// file accepts, and a period with neither target gets the water target (so
// the panel works after a restart as before it). In the full check,
// overlapping periods, or a midnight split that leaves no room for its
// second half, are refused.
bool parseThermostatBlock(const uint8_t* data, size_t n, int32_t waterMin, int32_t waterMax, ThermostatCheck check,
                          ThermostatRequest& out);

}  // namespace vesk
