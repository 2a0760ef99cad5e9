// The serial EEPROM on the I2C bus (device 0xA0): byte reads and writes.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace vesk {

class Eeprom {
public:
    virtual ~Eeprom() = default;
    virtual bool read(uint16_t offset, uint8_t* buf, size_t n) = 0;
    virtual bool write(uint16_t offset, const uint8_t* buf, size_t n) = 0;
};

// Opens what VESK_I2C0 names: "/dev/i2c-N" for a real 24Cxx chip at 0xA0,
// else a 4 KiB image file created (0xFF-filled) when missing. Null when the
// device cannot be opened: persistence is then off.
std::unique_ptr<Eeprom> openEeprom(const std::string& spec);

// In-memory EEPROM for tests; can be told to fail.
class MemoryEeprom : public Eeprom {
public:
    explicit MemoryEeprom(size_t size = 4096) : data(size, 0xFF) {}
    bool read(uint16_t offset, uint8_t* buf, size_t n) override;
    bool write(uint16_t offset, const uint8_t* buf, size_t n) override;
    std::vector<uint8_t> data;
    bool fail = false;
};

}  // namespace vesk
