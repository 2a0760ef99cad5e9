// A 24Cxx serial EEPROM (4 KiB or larger, two address bytes) through Linux
// i2c-dev.
#pragma once
#include <memory>
#include <mutex>
#include <string>

#include "platform/eeprom.h"

namespace vesk {

class I2cEeprom : public Eeprom {
public:
    static constexpr size_t kSize = 4096;
    static constexpr uint16_t kDeviceAddress = 0x50;  // 0xA0 on the wire
    static constexpr size_t kPageSize = 32;

    // Null when the bus cannot be opened or the device address not set.
    static std::unique_ptr<I2cEeprom> open(const std::string& device);
    ~I2cEeprom() override;
    I2cEeprom(const I2cEeprom&) = delete;
    I2cEeprom& operator=(const I2cEeprom&) = delete;

    bool read(uint16_t offset, uint8_t* buf, size_t n) override;
    bool write(uint16_t offset, const uint8_t* buf, size_t n) override;

private:
    explicit I2cEeprom(int fd) : fd_(fd) {}
    bool writePage(uint16_t offset, const uint8_t* buf, size_t n);
    bool waitWriteCycle();

    int fd_;
    std::mutex m_;
};

}  // namespace vesk
