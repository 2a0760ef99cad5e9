// Chooses the EEPROM backend from the device setting.
#include "platform/eeprom.h"

#include "platform/file_eeprom.h"
#include "platform/i2c_eeprom.h"

namespace vesk {

std::unique_ptr<Eeprom> openEeprom(const std::string& spec) {
    if (spec.empty()) return nullptr;
    if (spec.rfind("/dev/i2c-", 0) == 0) return I2cEeprom::open(spec);
    return FileEeprom::open(spec);
}

}  // namespace vesk
