// 24Cxx access: random reads with a repeated start, page-sized writes
// followed by acknowledge polling until the chip's write cycle ends.
#include "platform/i2c_eeprom.h"

#include <fcntl.h>
#include <linux/i2c-dev.h>
#include <linux/i2c.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>

namespace vesk {

namespace {
// The chip finishes a page write within 5 ms; give it twice that, polled
// every millisecond of real time (the chip knows no panel time).
constexpr int kPollAttempts = 10;
constexpr size_t kReadChunk = 32;

bool transfer(int fd, i2c_msg* msgs, unsigned count) {
    i2c_rdwr_ioctl_data data{msgs, count};
    return ::ioctl(fd, I2C_RDWR, &data) == static_cast<int>(count);
}

bool inRange(uint16_t offset, size_t n) {
    return offset <= I2cEeprom::kSize && n <= I2cEeprom::kSize - offset;
}
}  // namespace

std::unique_ptr<I2cEeprom> I2cEeprom::open(const std::string& device) {
    int fd = ::open(device.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0) return nullptr;
    if (::ioctl(fd, I2C_SLAVE, static_cast<unsigned long>(kDeviceAddress)) < 0) {
        ::close(fd);
        return nullptr;
    }
    return std::unique_ptr<I2cEeprom>(new I2cEeprom(fd));
}

I2cEeprom::~I2cEeprom() {
    ::close(fd_);
}

bool I2cEeprom::read(uint16_t offset, uint8_t* buf, size_t n) {
    if (!inRange(offset, n)) return false;
    std::lock_guard<std::mutex> g(m_);
    while (n > 0) {
        const size_t chunk = std::min(n, kReadChunk);
        uint8_t addr[2] = {static_cast<uint8_t>(offset >> 8), static_cast<uint8_t>(offset)};
        i2c_msg msgs[2] = {
            {kDeviceAddress, 0, 2, addr},
            {kDeviceAddress, I2C_M_RD, static_cast<uint16_t>(chunk), buf},
        };
        if (!transfer(fd_, msgs, 2)) return false;
        offset = static_cast<uint16_t>(offset + chunk);
        buf += chunk;
        n -= chunk;
    }
    return true;
}

bool I2cEeprom::write(uint16_t offset, const uint8_t* buf, size_t n) {
    if (!inRange(offset, n)) return false;
    std::lock_guard<std::mutex> g(m_);
    while (n > 0) {
        // A write wraps inside its page on the chip: never cross a boundary.
        const size_t room = kPageSize - offset % kPageSize;
        const size_t chunk = std::min(n, room);
        if (!writePage(offset, buf, chunk)) return false;
        offset = static_cast<uint16_t>(offset + chunk);
        buf += chunk;
        n -= chunk;
    }
    return true;
}

bool I2cEeprom::writePage(uint16_t offset, const uint8_t* buf, size_t n) {
    uint8_t frame[2 + kPageSize];
    frame[0] = static_cast<uint8_t>(offset >> 8);
    frame[1] = static_cast<uint8_t>(offset);
    std::memcpy(frame + 2, buf, n);
    i2c_msg msg{kDeviceAddress, 0, static_cast<uint16_t>(n + 2), frame};
    if (!transfer(fd_, &msg, 1)) return false;
    return waitWriteCycle();
}

bool I2cEeprom::waitWriteCycle() {
    // The chip does not acknowledge its address until the cycle is over.
    for (int i = 0; i < kPollAttempts; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        uint8_t addr[2] = {0, 0};
        i2c_msg probe{kDeviceAddress, 0, 2, addr};
        if (transfer(fd_, &probe, 1)) return true;
    }
    return false;
}

}  // namespace vesk
