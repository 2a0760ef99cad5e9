// Where the fuel counters live in the EEPROM: every value three times in a
// row, read by majority, written in transfers that stay inside one page.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>

namespace vesk {

class Eeprom;

namespace fuel_layout {
// Byte 0 holds the burner state and is never touched here.
constexpr uint16_t kHourIndex = 1;
constexpr uint16_t kDayIndex = 4;
constexpr uint16_t kHourlySlots = 7;   // 24 slots of 3 x 4 bytes
constexpr uint16_t kDailySlots = 295;  // 30 slots of 3 x 4 bytes
constexpr uint16_t kOwn = 655;
constexpr uint16_t kTotal = 667;
constexpr uint16_t kBunker = 679;
constexpr uint16_t kEnd = 691;
constexpr uint16_t kSlotBytes = 12;
constexpr size_t kPage = 64;

constexpr uint16_t hourlySlot(int h) { return static_cast<uint16_t>(kHourlySlots + kSlotBytes * h); }
constexpr uint16_t dailySlot(int d) { return static_cast<uint16_t>(kDailySlots + kSlotBytes * d); }
}  // namespace fuel_layout

// Writes `n` bytes at `offset` in transfers that never cross a page
// boundary. False when any transfer fails or there is no device.
bool writeInPages(Eeprom* e, uint16_t offset, const uint8_t* buf, size_t n);

// Majority reads: the value on which two of the three copies agree;
// nothing when they all differ or the device cannot be read.
std::optional<uint8_t> readTriple8(Eeprom* e, uint16_t offset);
std::optional<uint32_t> readTriple32(Eeprom* e, uint16_t offset);

// The three copies of one value (little-endian).
bool writeTriple8(Eeprom* e, uint16_t offset, uint8_t v);
bool writeTriple32(Eeprom* e, uint16_t offset, uint32_t v);

}  // namespace vesk
