// An EEPROM image in a file: every write replaces the whole file, so a power
// cut keeps either the old image or the new one.
#pragma once
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/eeprom.h"

namespace vesk {

class FileEeprom : public Eeprom {
public:
    static constexpr size_t kSize = 4096;

    // Loads `path`, or creates it 0xFF-filled when missing. Null when the
    // file can be neither read nor created.
    static std::unique_ptr<FileEeprom> open(const std::string& path);

    bool read(uint16_t offset, uint8_t* buf, size_t n) override;
    // False (and the image unchanged) when the range is outside the image
    // or the file cannot be replaced.
    bool write(uint16_t offset, const uint8_t* buf, size_t n) override;

private:
    FileEeprom(std::string path, std::vector<uint8_t> image);

    std::string path_;
    std::mutex m_;
    std::vector<uint8_t> image_;
};

}  // namespace vesk
