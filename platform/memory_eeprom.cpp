// In-memory EEPROM for tests.
#include "platform/eeprom.h"

#include <cstring>

namespace vesk {

bool MemoryEeprom::read(uint16_t offset, uint8_t* buf, size_t n) {
    if (fail || offset > data.size() || n > data.size() - offset) return false;
    if (n != 0) std::memcpy(buf, data.data() + offset, n);
    return true;
}

bool MemoryEeprom::write(uint16_t offset, const uint8_t* buf, size_t n) {
    if (fail || offset > data.size() || n > data.size() - offset) return false;
    if (n != 0) std::memcpy(data.data() + offset, buf, n);
    return true;
}

}  // namespace vesk
