// Export of both settings files to the SD card as scrambled copies, and
// import back.
#pragma once
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>

#include "core/variant.h"
#include "settings/params.h"

namespace vesk {

// Linear congruential key stream; each byte is the low 8 bits of the new
// state. Lives as long as the configuration screen, so export then import
// without reopening the screen continues it.
class KeyStream {
public:
    KeyStream() : KeyStream(75, 74, 65537, 2021) {}
    KeyStream(uint32_t multiplier, uint32_t increment, uint32_t modulus, uint32_t seed);
    uint8_t next();
    uint32_t state() const { return state_; }

private:
    uint32_t multiplier_, increment_, modulus_, state_;
};

// CRC-16/XMODEM: polynomial 0x1021, MSB first, initial 0, no final XOR.
uint16_t crc16Xmodem(std::string_view data, uint16_t crc = 0);

// SD copy layout: content XOR key stream, then CRC low and high byte, each
// XOR-ed with the next key byte.
std::string scrambleForSd(std::string_view plain, KeyStream& keys);
// False for fewer than three bytes or a check mismatch.
bool unscrambleFromSd(std::string_view data, KeyStream& keys, std::string& plain);

enum class SdResult {
    Ok,
    SilentStop,  // a local file to export is missing: no message
    SdMissing,
    SaveError,
    LoadError,
};
enum class SdOperation { Export, Import };

struct SdMessage {
    std::string_view title;  // empty: nothing is shown
    std::string_view text;
};
SdMessage sdMessage(SdOperation op, SdResult r);

// user.cfg then service.cfg of `cfgDir` to `sdDir`, one key stream across
// both. Directories are given with a trailing '/' (or "" for bare names).
SdResult exportToSd(const std::string& cfgDir, const std::string& sdDir, KeyStream& keys);

// Reads and checks both SD copies (user first, then service, one key
// stream) before it replaces either local file, so a bad copy leaves the
// settings folder as it was. Holds `settingsFileLock` while replacing.
SdResult importFromSd(const std::string& cfgDir, const std::string& sdDir, KeyStream& keys,
                      std::mutex& settingsFileLock);

// The reload after a successful import, for a caller that holds stateLock:
// loads both files, clears the network access keys and saves user.cfg.
// The caller then applies the network address and backlight. False when
// user.cfg could not be saved.
bool applyImportedSettings(const std::string& cfgDir, Settings& s, Variant v, int32_t antiJamDay,
                           std::mutex& settingsFileLock);

}  // namespace vesk
