// The status words a client receives (in the status record and in pushed
// notifications) turned back into the panel's faults and warnings, with
// stable ids for automation systems and the texts the panel shows.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "core/variant.h"

namespace vesk::client {

struct AlarmKind {
    const char* id;    // stable, for topics and entity ids
    const char* name;  // short English name
    uint32_t code;     // the bit of the panel's faults or warnings word; 0: none
};

struct ActiveAlarm {
    std::string id;
    uint32_t code = 0;
    std::string text;  // the panel's own text, else the English name
};

// Every fault word A can carry, in bit order of the word.
const std::vector<AlarmKind>& faultKinds();

// Word B bit 9 means "bunker filling failed" in the record of both variants
// and in ORVENA's notifications, but the wrong mains phasing in KESTRALO's.
enum class WordSource { Record, Notification };

std::vector<ActiveAlarm> activeFaults(uint16_t wordA);
std::vector<ActiveAlarm> activeWarnings(Variant v, uint16_t wordB, WordSource source);

// Readable names of the set bits of status words A and B.
std::vector<std::string> faultNames(uint16_t wordA);
std::vector<std::string> warningNames(uint16_t wordB);

// A pushed status notification (group 1, kind 3).
struct Notification {
    uint16_t wordA = 0;
    uint16_t wordB = 0;
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;  // the panel's local time
};
// False when `message` is not a whole notification.
bool decodeNotification(const std::vector<uint8_t>& message, Notification& out);

}  // namespace vesk::client
